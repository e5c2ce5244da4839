#pragma once
// Reads a text file line by line with a bound on the line length, for the text formats (register
// CSV files, XIF files). A longer line comes back in pieces of the bound, each taken as a line of
// its own. The line end (LF, or CR LF) is not part of the line.
#include <cstddef>
#include <istream>
#include <string>

namespace korvex {

class LineReader {
public:
    LineReader(std::istream& in, std::size_t maxLine) : in_(in), maxLine_(maxLine) {}

    // False at the end of the file. `line` then is empty.
    bool next(std::string& line);
    // 1-based number of the line last returned.
    int lineNumber() const { return lineNumber_; }

private:
    std::istream& in_;
    std::size_t maxLine_;
    int lineNumber_ = 0;
    bool carry_ = false; // the character that did not fit into the previous piece
    char carried_ = 0;
};

} // namespace korvex
