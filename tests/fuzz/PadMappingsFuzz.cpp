// Gamepad mappings: whatever the text holds, what goes on to GLFW is whole lines within its bounds,
// which read the same once more.
#include <cstdint>

#include "FuzzMedia.h"
#include "input/PadMappings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PadMappings mappings;
    mappings.add(FuzzMedia::text(data, size));
    const std::string& kept = mappings.text();
    if (mappings.count() > PadMappings::maxMappings || (!kept.empty() && kept.back() != '\n')) __builtin_trap();
    for (size_t start = 0; start < kept.size(); start = kept.find('\n', start) + 1) {
        if (kept.find('\n', start) - start > PadMappings::maxLineBytes) __builtin_trap();
    }
    PadMappings again;
    if (again.add(kept) != 0 || again.text() != kept) __builtin_trap();
    return 0;
}
