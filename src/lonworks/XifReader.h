#pragma once
// Reads the network variables of another device's XIF file (LonMark text layout) into the NV
// import table: per NV its name, index, array elements, direction and type. Lines it cannot use
// are skipped; there are no syntax errors, only files that yield no NV.
#include "lonworks/NvImport.h"

#include <istream>
#include <string>

namespace korvex {

class XifReader {
public:
    static constexpr std::size_t kMaxLine = 998;

    // Clears the table, fills it and returns the number of NVs parsed (0 means failure).
    int read(std::istream& in, ImportTable& table);

private:
    enum class State { Idle, AfterVar, AfterAttribute };

    // The entries the current NV block fills: first index and element count. A block whose VAR
    // line could not be read, or that lies beyond the table, fills nothing.
    struct Block {
        int index = 0;
        int elements = 0;
    };

    void readVarLine(const std::string& line, ImportTable& table);
    void readAttributeLine(const std::string& line, ImportTable& table) const;
    void readTypeLine(long typeIndex, ImportTable& table);

    Block block_;
    int parsed_ = 0;
    long expected_ = 0;
};

} // namespace korvex
