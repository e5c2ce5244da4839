// PtyLine where the system has no pseudo-terminals: the simulated gateway cannot start, and says so.
#include "sim/PtyLine.h"

namespace korvex::sim {

namespace {

constexpr char kUnavailable[] =
    "the simulated gateway needs pseudo-terminals, which this system does not have";

} // namespace

bool PtyLine::open(std::string* error) {
    if (error) *error = kUnavailable;
    return false;
}

void PtyLine::close() {}

int PtyLine::read(char*, std::size_t, int) {
    return -1;
}

long PtyLine::write(std::string_view) {
    return -1;
}

bool linkLine(const std::string&, const std::string& link, std::string* error) {
    if (error) *error = "cannot link " + link + ": " + kUnavailable;
    return false;
}

void unlinkLine(const std::string&) {}

} // namespace korvex::sim
