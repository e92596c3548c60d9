#include "app/MediaDirectory.h"

#include <fstream>

namespace {
const char* const markerPath = "media/this is media.txt";
const size_t maxMarkerBytes = 256;
const size_t maxIdentityLength = 64;  // a replay keeps the generator's identity, and takes no longer one
}  // namespace

std::string findMediaDirectory() {
    const int attempts = 4;
    std::string prefix = "./";
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (std::ifstream(prefix + markerPath)) return prefix;
        prefix += "../";
    }
    return prefix;
}

MediaMarker MediaMarker::read(const std::string& prefix) {
    std::ifstream marker(prefix + markerPath);
    char text[maxMarkerBytes] = {};
    marker.read(text, sizeof text);
    return fromText(std::string(text, static_cast<size_t>(marker.gcount())));
}

MediaMarker MediaMarker::fromText(const std::string& text) {
    MediaMarker marker;
    const std::string lead = "Vorbel Race media, circuit ", generatorLead = "\ngenerator ";
    if (text.compare(0, lead.size(), lead) != 0) return marker;
    int circuit = 0;
    size_t end = lead.size();
    for (; end < text.size() && text[end] >= '0' && text[end] <= '9'; ++end) {
        if (end - lead.size() == 5) return marker;  // more digits than any circuit number has
        circuit = circuit * 10 + (text[end] - '0');
    }
    if (end == lead.size() || (end < text.size() && text[end] != '\n')) return marker;
    marker.circuit = circuit;
    if (text.compare(end, generatorLead.size(), generatorLead) != 0) return marker;
    const size_t start = end + generatorLead.size();
    size_t stop = start;
    while (stop < text.size() && text[stop] > ' ' && text[stop] < 127) ++stop;
    const bool whole = stop == text.size() || text[stop] == '\n';
    if (stop > start && stop - start <= maxIdentityLength && whole) marker.generator = text.substr(start, stop - start);
    return marker;
}
