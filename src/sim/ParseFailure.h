#pragma once
// The one way the simulator's parsers (element lines, fault switches, alterations) give up: the
// reason goes to the caller's error text when it asked for one. Plain functions, any thread.
#include <string>
#include <string_view>

namespace korvex::sim {

inline bool fail(std::string* error, std::string_view reason) {
    if (error) error->assign(reason);
    return false;
}

} // namespace korvex::sim
