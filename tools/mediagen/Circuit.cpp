#include "Circuit.h"

#include "CircuitCheck.h"
#include "CircuitDraft.h"
#include "ClassicCircuit.h"

namespace {

// Drafts of one number tried before giving up; every number up to largestNumber passes well within it.
const int mostDrafts = 1000;

}  // namespace

std::optional<int> Circuit::parseNumber(const std::string& text) {
    const size_t mostDigits = std::to_string(largestNumber).size();
    if (text.empty() || text.size() > mostDigits || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const int number = std::stoi(text);
    if (number > largestNumber) return std::nullopt;
    return number;
}

std::optional<Circuit> Circuit::make(int number) {
    if (number < 0 || number > largestNumber) return std::nullopt;
    if (number == 0) {
        Circuit classic = ClassicCircuit::build();
        if (CircuitCheck::problem(classic).empty()) return classic;
        return std::nullopt;
    }
    for (int attempt = 0; attempt < mostDrafts; ++attempt) {
        std::optional<Circuit> draft = CircuitDraft(number, attempt).build();
        if (draft && CircuitCheck::problem(*draft).empty()) return draft;
    }
    return std::nullopt;
}
