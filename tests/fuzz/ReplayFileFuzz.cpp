// Replay files, and the media marker that names a replay's circuit: what reads back must write and
// read again to the same replay.
#include <cstdint>
#include <string>

#include "FuzzMedia.h"
#include "app/MediaDirectory.h"
#include "replay/Replay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes = FuzzMedia::text(data, size);
    const MediaMarker marker = MediaMarker::fromText(bytes);
    if (marker.circuit < -1 || marker.circuit > 99999 || marker.generator.empty() || marker.generator.size() > 64) {
        __builtin_trap();
    }
    std::string error;
    const std::optional<Replay> replay = Replay::fromBytes(bytes, error);
    if (!replay) {
        if (error.empty()) __builtin_trap();  // refused without a reason
        return 0;
    }
    const std::optional<Replay> again = Replay::fromBytes(replay->toBytes(), error);
    if (!again || again->controls != replay->controls || again->checks != replay->checks ||
        again->settings.seed != replay->settings.seed || again->build != replay->build || again->media != replay->media) {
        __builtin_trap();
    }
    return 0;
}
