#pragma once
// Reads the network variables of another device's XIF file (LonMark text layout) into the NV
// import table: per NV its name, index, array elements, direction and type. Lines it cannot use
// are skipped; there are no syntax errors, only files that yield no NV.
#include "formats/xif/NvImport.h"

#include <istream>
#include <string>
#include <vector>

namespace korvex {

class XifReader {
public:
    static constexpr std::size_t kMaxLine = 998;

    // Clears the table, fills it and returns the number of NVs parsed (0 means failure).
    int read(std::istream& in, ImportTable& table);

    // One line for each NV of the last file whose standard type the catalogue does not hold:
    // kept as a user-defined type laid out as the file says, or without a usable layout.
    const std::vector<std::string>& notes() const { return notes_; }

private:
    enum class State { Idle, AfterVar, AfterAttribute, TypeMembers };

    // The entries the current NV block fills: first index and element count. A block whose VAR
    // line could not be read, or that lies beyond the table, fills nothing.
    struct Block {
        int index = 0;
        int elements = 0;
    };

    void readVarLine(const std::string& line, ImportTable& table);
    void readAttributeLine(const std::string& line, ImportTable& table) const;
    // True when member lines of a type the catalogue lacks follow.
    bool readTypeLine(const std::string& line, ImportTable& table);
    void readMemberLine(const std::string& line);
    // The layout of the type being read goes to the block's entries, with a note for each.
    void finishLayout(ImportTable& table);

    Block block_;
    int parsed_ = 0;
    long expected_ = 0;
    XifTypeLayout layout_;
    long layoutType_ = 0;
    bool layoutOpen_ = false;
    std::vector<std::string> notes_;
};

} // namespace korvex
