// Material scripts: the token reader, with the textures it names looked up.
#include <cstdint>
#include <sstream>

#include "FuzzMedia.h"
#include "assets/MaterialLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzMedia::started().nextRun();

    // A library of the run's own, so that its materials do not pile up.
    MaterialLibrary library("");
    std::istringstream script(FuzzMedia::text(data, size));
    library.readScript(script);
    library.getMaterial("Track");
    return 0;
}
