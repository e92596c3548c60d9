// Settings files: the text reader; whatever it takes is written back and read again unchanged.
#include <cstdint>
#include <string>

#include "FuzzMedia.h"
#include "frontend/SettingsText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string problem;
    const std::optional<PlayerSettings> settings = SettingsText::read(FuzzMedia::text(data, size), problem);
    if (!settings) return 0;
    const std::optional<PlayerSettings> again = SettingsText::read(SettingsText::write(*settings), problem);
    if (!again || *again != *settings) __builtin_trap();
    return 0;
}
