#pragma once
// The layout an XIF file gives in its own type lines, for a standard type the catalogue does not
// hold: after the type index, "* n" names n member lines "kind bit length signed ...", in the
// forms the gateway's own XIF export writes (kind 0 and 1 one byte, 2 two bytes, 3 a bitfield at
// a bit with a length in bits, 4 a run of `length` bytes). Plain data; no state beyond one type.
#include "model/ObjectMap.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace korvex {

// One member as a field row of the NV list would hold it.
struct ImportField {
    uint8_t baseType = 0;
    uint8_t size = 0; // bytes; bits for a bitfield
    uint8_t byteOffset = 0;
    uint8_t bitOffset = 0;
    bool operator==(const ImportField&) const = default;
};

class XifTypeLayout {
public:
    static constexpr int kMaxMembers = 255;

    // The rest of the type line after its type index: "* n". False when it names no count.
    bool start(std::string_view rest);
    // The four leading numbers of a member line.
    void addMember(long kind, long bit, long length, long isSigned);
    // More member lines are expected.
    bool wantsMore() const { return seen_ < count_ && !bad_; }
    // Every member read and understood, and the value fits an NV (1..31 bytes).
    bool usable() const;

    int size() const; // bytes of the whole value
    int memberCount() const { return count_; }
    uint8_t baseType() const; // the member's own for one member, STRUCT for several
    // The members as field rows; none for a single member, nor for more than a structure's rows.
    int fieldCount() const;
    const std::array<ImportField, kMaxFields>& fields() const { return fields_; }

private:
    int count_ = 0;
    int seen_ = 0;
    bool bad_ = false;
    int byte_ = 0;          // next free byte
    int bitEnd_ = -1;       // end of the bits taken in the open bitfield byte; -1 none open
    uint8_t firstType_ = 0; // base type of the first member
    std::array<ImportField, kMaxFields> fields_{};
};

} // namespace korvex
