#pragma once
// Small builders for test maps: registers as an import would add them, NVs through addNV, and
// objects with a register or an NV side set by hand.
#include "model/FixedText.h"
#include "model/ObjectMap.h"
#include "model/lists/ListEditing.h"
#include "vocab/RegisterCodes.h"

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

namespace korvex::testing {

// Catalogue numbers of the SNVTs the list tests build with.
inline constexpr int kCount = 8;      // SNVT_count, one row
inline constexpr int kSwitch = 95;    // two fields
inline constexpr int kElapsedTm = 87; // five fields

inline std::unique_ptr<ObjectMap> newMap() {
    return std::make_unique<ObjectMap>();
}

// A register row at the end of the list, read periodically unless `write` is set.
inline RegisterDef& addRegisterRow(ObjectMap& map, int32_t format, uint16_t number, bool write = false,
                                   std::string_view name = {}) {
    RegisterDef& reg = map.registers[map.registerCount++];
    reg = RegisterDef{};
    reg.defined = 1;
    reg.readPeriodic = write ? 0 : 1;
    reg.writePeriodic = write ? 1 : 0;
    reg.type = RegisterType::Holding;
    reg.format = format;
    reg.regNumber = number;
    reg.slave = 1;
    reg.poll = 1;
    reg.scale = 1.0f;
    setText(reg.name, name);
    return reg;
}

// An NV appended through addNV; returns its header row (0-based).
inline int addStandardNV(ObjectMap& map, int snvt, bool input = false, int fb = 0,
                         std::string_view name = "nv") {
    NVAddRequest request;
    request.snvt = snvt;
    request.isInput = input;
    request.fbNumber = fb;
    request.name = name;
    const int row = map.nvCount;
    EXPECT_EQ(addNV(map, row, request), kOk) << "snvt " << snvt;
    return row;
}

inline int addUserNV(ObjectMap& map, uint8_t baseType, bool input = false, int fb = 0,
                     std::string_view name = "user", uint8_t scope = 3) {
    NVAddRequest request;
    request.userType = UserNVType{4, baseType, 1, 0, 0, scope, {0x9F, 0xFF, 1, 2, 3, 4, 5, 6}};
    request.isInput = input;
    request.fbNumber = fb;
    request.name = name;
    const int row = map.nvCount;
    EXPECT_EQ(addNV(map, row, request), kOk);
    return row;
}

// Fills the NV list with `count` defined one-row outputs without links (fast, for limit tests).
inline void fillPlainNVRows(ObjectMap& map, int count) {
    for (int i = 0; i < count; ++i) {
        NetVar& row = map.nvs[map.nvCount++];
        row = NetVar{};
        row.defined = 1;
        row.snvt = 8;
        row.baseType = 6;
        row.size = 2;
    }
}

inline void fillPlainRegisterRows(ObjectMap& map, int count) {
    for (int i = 0; i < count; ++i) addRegisterRow(map, RegisterFormat::U16, static_cast<uint16_t>(i + 1));
}

} // namespace korvex::testing
