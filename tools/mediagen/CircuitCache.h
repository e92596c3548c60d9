#pragma once

#include <functional>
#include <string>

// Circuits generated once and kept in the user's cache, one folder per circuit, safe for any number
// of starts at once: a circuit is generated into a work folder beside its media folder and renamed
// into place whole, so that a game only ever finds a complete circuit written by this build. A
// generator killed midway leaves only its work folder, which no game takes for media and the next
// generation of that circuit removes.
class CircuitCache {
public:
    // $XDG_CACHE_HOME/vorbel-race/circuits, or ~/.cache/vorbel-race/circuits when that is unset,
    // empty or relative.
    static std::string defaultRoot();
    // The folder under `root` that holds a circuit's media folder and the game's working folder.
    static std::string folderFor(const std::string& root, int circuit);
    // True when the media folder holds the circuit as this build of the generator writes it.
    static bool isCurrent(const std::string& mediaFolder, int circuit);
    // Makes the media folder current: at once when it is, else by generating the circuit (the
    // progress callback hears the share done) and putting it in place of what was there. When other
    // processes generate the same circuit at the same time, the first to finish wins and the others
    // use its folder. False after one line on standard error when the circuit cannot be made.
    static bool ensure(const std::string& mediaFolder, int circuit,
                       const std::function<void(double fraction)>& progress = {});
};
