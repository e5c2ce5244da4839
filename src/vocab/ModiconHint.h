#pragma once
// A one-time hint for users who type a Modicon number (40001) while addressing registers by
// plain number. It is considered only once per run: the first time the number of an input or
// holding register is entered, whatever that number is.
#include <cstdint>
#include <optional>
#include <string>

namespace korvex {

class ModiconHint {
public:
    // The message text when the hint is due now, else nothing.
    std::optional<std::string> check(int64_t number, int32_t registerType);
    bool considered() const { return considered_; }

    static const char* text();

private:
    bool considered_ = false;
};

} // namespace korvex
