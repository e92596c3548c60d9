// Record books: what reads back must write and read again to the same records.
#include <cstdint>
#include <string>

#include "FuzzMedia.h"
#include "records/RecordBook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string error;
    const std::optional<RecordBook> book = RecordBook::fromText(FuzzMedia::text(data, size), error);
    if (!book) {
        if (error.empty()) __builtin_trap();  // refused without a reason
        return 0;
    }
    const std::string text = book->toText();
    const std::optional<RecordBook> again = RecordBook::fromText(text, error);
    if (!again || again->toText() != text) __builtin_trap();
    return 0;
}
