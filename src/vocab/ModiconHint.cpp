#include "vocab/ModiconHint.h"

#include "vocab/RegisterCodes.h"

namespace korvex {

const char* ModiconHint::text() {
    return "You appear to be entering a Modicon number.\n"
           "You have not selected the Modicon option on the Connect page.\n"
           "If your documentation says 40001, it usually means Holding Register 1.\n"
           "If your documentation says 30001, it usually means Input Register 1.\n"
           "If you really do have more than 40,000 registers in your Modbus device,\n"
           "holding register 1 will be documented as register '440001' in Modicon notation.\n"
           "(This message will not be repeated for the rest of this session.)";
}

std::optional<std::string> ModiconHint::check(int64_t number, int32_t registerType) {
    if (considered_) return std::nullopt;
    int64_t low = 0;
    if (registerType == RegisterType::Input)
        low = 30001;
    else if (registerType == RegisterType::Holding)
        low = 40001;
    else
        return std::nullopt;
    considered_ = true;
    if (number < low || number > low + 9998) return std::nullopt;
    return std::string(text());
}

} // namespace korvex
