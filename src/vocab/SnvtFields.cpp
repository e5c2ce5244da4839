// Field tables of the structured standard types that have one. The sizes are kept as the type
// definitions give them (e.g. size 1 for some unsigned_long fields); they are data, not derived
// from the category.
#include "vocab/SnvtCatalogue.h"

namespace korvex {
namespace {

constexpr SnvtField fld(const char* name, NvCategory category, int32_t sizeOrBit, int32_t a = 0,
                        int32_t b = 0, int32_t c = 0) {
    return SnvtField{category, sizeOrBit, a, b, c, 0, name};
}
constexpr SnvtField bit(const char* name, int32_t bitNumber) {
    return fld(name, NvtCatBitfield, bitNumber, 1, 0, 0);
}

constexpr auto UC = NvtCatUnsignedChar;
constexpr auto SS = NvtCatSignedShort;
constexpr auto US = NvtCatUnsignedShort;
constexpr auto SL = NvtCatSignedLong;
constexpr auto UL = NvtCatUnsignedLong;
constexpr auto EN = NvtCatEnum;
constexpr auto FL = NvtCatFloat;
constexpr auto SQ = NvtCatSignedQuad;

constexpr std::array<SnvtField, 4> kTimePassed{fld("hours", US, 1), fld("minutes", US, 1),
                                               fld("seconds", US, 1), fld("milliseconds", US, 1)};

constexpr std::array<SnvtField, 16> kState{
    bit("bit 0", 0),   bit("bit 1", 1),   bit("bit 2", 2),   bit("bit 3", 3),
    bit("bit 4", 4),   bit("bit 5", 5),   bit("bit 6", 6),   bit("bit 7", 7),
    bit("bit 8", 8),   bit("bit 9", 9),   bit("bit 10", 10), bit("bit 11", 11),
    bit("bit 12", 12), bit("bit 13", 13), bit("bit 14", 14), bit("bit 15", 15)};

constexpr std::array<SnvtField, 6> kTimeStamp{fld("year", UL, 1), fld("month", US, 1),  fld("day", US, 1),
                                              fld("hour", US, 1), fld("minute", US, 1), fld("second", US, 1)};

constexpr std::array<SnvtField, 5> kElapsedTm{fld("day", UL, 1), fld("hour", US, 1), fld("minute", US, 1),
                                              fld("second", US, 1), fld("millisecond", UL, 1)};

constexpr std::array<SnvtField, 14> kAlarm{
    fld("location", UC, 6, 1, 0, 0),    fld("object_id", UL, 2, 1, 0, 0),     fld("alarm_type", EN, 1),
    fld("priority_level", EN, 1),       fld("index_to_SNVT", UL, 2, 1, 0, 0), fld("value", US, 4, 1, 0, 0),
    fld("year", UL, 2, 1, 0, 0),        fld("month", US, 1, 1, 0, 0),         fld("day", US, 1, 1, 0, 0),
    fld("hour", US, 1, 1, 0, 0),        fld("minute", US, 1, 1, 0, 0),        fld("second", US, 1, 1, 0, 0),
    fld("millisecond", UL, 2, 1, 0, 0), fld("alarm_limit", US, 4, 1, 0, 0)};

constexpr std::array<SnvtField, 2> kSwitch{fld("value", US, 1), fld("state", SS, 1)};

constexpr std::array<SnvtField, 6> kTempSetpt{
    fld("occupied_cool", SL, 2, 1, -2, 0),   fld("standby_cool", SL, 2, 1, -2, 0),
    fld("unoccupied_cool", SL, 2, 1, -2, 0), fld("occupied_heat", SL, 2, 1, -2, 0),
    fld("standby_heat", SL, 2, 1, -2, 0),    fld("unoccupied_heat", SL, 2, 1, -2, 0)};

constexpr std::array<SnvtField, 3> kHvacOverid{fld("hvac_overid", EN, 1), fld("percent", SL, 2, 5, -3, 0),
                                               fld("flow", UL, 2, 1, 0, 0)};

constexpr std::array<SnvtField, 7> kHvacStatus{fld("hvac", EN, 1),
                                               fld("heat_output_primary", SL, 2, 5, -3, 0),
                                               fld("heat_output_secondary", SL, 2, 5, -3, 0),
                                               fld("cool_output", SL, 2, 5, -3, 0),
                                               fld("econ_output", SL, 2, 5, -3, 0),
                                               fld("fan_output", SL, 2, 5, -3, 0),
                                               fld("in_alarm", US, 1, 1, 0, 0)};

constexpr std::array<SnvtField, 8> kChlrStatus{fld("chiller", EN, 1), fld("hvac", EN, 1),  bit("in_alarm", 0),
                                               bit("run_enabled", 1), bit("local", 2),     bit("limited", 3),
                                               bit("chw_flow", 4),    bit("condw_flow", 5)};

constexpr std::array<SnvtField, 3> kCtrlReq{
    fld("receiver_id", UL, 2, 1, 0, 0), fld("sender_id", UL, 2, 1, 0, 0), fld("sender_prio", US, 1, 1, 0, 0)};

constexpr std::array<SnvtField, 4> kCtrlResp{
    fld("control_resp", EN, 1), fld("sender.range.lower", UL, 2, 1, 0, 0),
    fld("sender.range.upper", UL, 2, 1, 0, 0), fld("controller_id", UL, 2, 1, 0, 0)};

constexpr std::array<SnvtField, 8> kPumpsetMn{fld("main_pump", EN, 1),
                                              fld("booster_pump", EN, 1),
                                              fld("priority_level", EN, 1),
                                              fld("proess_ready", EN, 1),
                                              fld("emergency_stop_activated", EN, 1),
                                              fld("main_pump_drive_enabled", EN, 1),
                                              fld("booster_pump_drive_enabled", EN, 1),
                                              fld("maintenance_required", EN, 1)};

constexpr std::array<SnvtField, 14> kPumpsetSn{fld("total_dilution_flow", UL, 2, 1, 0, 0),
                                               fld("exhaust_temperature", SL, 2, 1, -1, -2740),
                                               fld("exhaust_pressure", SL, 2, 1, -1, 0),
                                               fld("shaft_seal_purge_pressure", SL, 2, 1, -1, 0),
                                               fld("inlet_vacuum", FL, 4),
                                               fld("supply_voltage", SL, 2, 1, -1, 0),
                                               fld("coolant_flow", UL, 2, 1, 0, 0),
                                               fld("coolant_flow_low", EN, 1),
                                               fld("dilution_active", EN, 1),
                                               fld("ballast_dilution_active", EN, 1),
                                               fld("inlet_purge_dilution_active", EN, 1),
                                               fld("exhaust_dilution_active", EN, 1),
                                               fld("dilution_flow_out_of_range", EN, 1),
                                               fld("power_supply_on", EN, 1)};

constexpr std::array<SnvtField, 13> kPumpSensor{fld("rotational_speed", UL, 2, 1, -1, 0),
                                                fld("body_temperature", SL, 2, 1, -1, -2740),
                                                fld("motor_external_temperature", SL, 2, 1, -1, -2740),
                                                fld("motor_internal_temperature", SL, 2, 1, -1, -2740),
                                                fld("motor_overloaded", EN, 1),
                                                fld("oil_level_low", EN, 1),
                                                fld("phase_imbalance_detected", EN, 1),
                                                fld("current_usage", SL, 2, 1, -1, 0),
                                                fld("power_usage", UL, 2, 1, -1, 0),
                                                fld("temperature_control", EN, 1),
                                                fld("electromagnetic_brake_active", EN, 1),
                                                fld("friction_brake_active", EN, 1),
                                                fld("gas_brake_active", EN, 1)};

constexpr std::array<SnvtField, 6> kAlarm2{fld("alarm_type", EN, 1),
                                           fld("priority_level", EN, 1),
                                           fld("alarm_time", SQ, 4, 1, 0, 0),
                                           fld("milliseconds", SL, 2, 1, 0, 0),
                                           fld("sequence_number", US, 1, 1, 0, 0),
                                           fld("description", UC, 22, 1, 0, 0)};

constexpr std::array<SnvtField, 7> kHvacSatsts{bit("pri_heat", 0),
                                               bit("sec_heat", 1),
                                               bit("pri_cool", 2),
                                               bit("sec_cool", 3),
                                               bit("pri_duct_starved", 4),
                                               bit("sec_duct_starved", 5),
                                               fld("mfr defined", US, 1, 1, 0, 0)};

struct FieldTable {
    int index;
    std::span<const SnvtField> rows;
};

constexpr std::array<FieldTable, SnvtFieldTables> kTables{{
    {40, kTimePassed},
    {83, kState},
    {84, kTimeStamp},
    {87, kElapsedTm},
    {88, kAlarm},
    {95, kSwitch},
    {106, kTempSetpt},
    {111, kHvacOverid},
    {112, kHvacStatus},
    {127, kChlrStatus},
    {148, kCtrlReq},
    {149, kCtrlResp},
    {156, kPumpsetMn},
    {158, kPumpsetSn},
    {159, kPumpSensor},
    {164, kAlarm2},
    {172, kHvacSatsts},
}};

} // namespace

std::span<const SnvtField> snvt_fields(int index) {
    for (const FieldTable& table : kTables) {
        if (table.index == index) return table.rows;
    }
    return {};
}

int snvt_field_count(int index) {
    const std::span<const SnvtField> rows = snvt_fields(index);
    if (rows.empty()) return 1;
    int count = 0;
    while (count < SnvtMaxFields && count < static_cast<int>(rows.size()) &&
           rows[count].category != NvtCatNul) {
        ++count;
    }
    return count;
}

} // namespace korvex
