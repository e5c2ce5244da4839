#pragma once
// The device tests run twice: once as the link runs by default (replies end at the gateway's
// prompt once it has shown one) and once with KORVEX_TEST_SILENCE set, where every reply ends
// by line silence. Every link a test builds takes the mode of the run.
#include "device/link/SerialLink.h"

#include <cstdlib>
#include <string>

namespace korvex::device::test {

inline bool silenceRun() {
    const char* value = std::getenv("KORVEX_TEST_SILENCE");
    return value && *value && std::string(value) != "0";
}

inline void useRunLinkMode(SerialLink& link) {
    link.setSilenceOnly(silenceRun());
}

} // namespace korvex::device::test
