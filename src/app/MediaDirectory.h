#pragma once

#include <string>

// Relative prefix of the folder holding "media/this is media.txt": "./" followed by up to four "../".
std::string findMediaDirectory();

// What a media marker says of the media beside it: "Vorbel Race media, circuit N" on its first line,
// "generator ID" on its second (the build of the generator that wrote them).
struct MediaMarker {
    int circuit = -1;       // -1: it names none
    std::string generator = "unknown";

    // The marker under `prefix`; nothing named when there is none.
    static MediaMarker read(const std::string& prefix);
    static MediaMarker fromText(const std::string& text);
};
