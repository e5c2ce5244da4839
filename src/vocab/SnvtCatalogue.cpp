// The catalogue rows. Each row carries its own index, so a misplaced row fails to compile.
#include "vocab/SnvtCatalogue.h"

namespace korvex {
namespace {

struct Row {
    const char* name;
    uint16_t index;
    NvCategory category;
    uint8_t size;
    uint8_t defaultSize;
    int16_t scaleA;
    int16_t scaleB;
    int16_t scaleC;
};

// Row 0 is never returned as a type; it is the "not found" record (all zero).
constexpr std::array<Row, SnvtCount + 1> kRows{{
    {"", 0, NvtCatNul, 0, 0, 0, 0, 0},
    {"SNVT_amp", 1, NvtCatSignedLong, 2, 2, 1, -1, 0},
    {"SNVT_amp_mil", 2, NvtCatSignedLong, 2, 2, 1, -1, 0},
    {"SNVT_angle", 3, NvtCatUnsignedLong, 2, 2, 1, -3, 0},
    {"SNVT_angle_vel", 4, NvtCatSignedLong, 2, 2, 1, -1, 0},
    {"SNVT_btu_kilo", 5, NvtCatUnsignedLong, 2, 2, 1, 0, 0},
    {"SNVT_btu_mega", 6, NvtCatUnsignedLong, 2, 2, 1, 0, 0},
    {"SNVT_char_ascii", 7, NvtCatUnsignedChar, 1, 1, 1, 0, 0},
    {"SNVT_count", 8, NvtCatUnsignedLong, 2, 2, 1, 0, 0},
    {"SNVT_count_inc", 9, NvtCatSignedLong, 2, 2, 1, 0, 0},
    {"SNVT_date_cal", 10, NvtCatStruct, 4, 0, 0, 0, 0},
    {"SNVT_date_day", 11, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_date_time", 12, NvtCatStruct, 3, 0, 0, 0, 0},
    {"SNVT_elec_kwh", 13, NvtCatUnsignedLong, 2, 2, 1, 0, 0},
    {"SNVT_elec_whr", 14, NvtCatUnsignedLong, 2, 2, 1, -1, 0},
    {"SNVT_flow", 15, NvtCatUnsignedLong, 2, 2, 1, 0, 0},
    {"SNVT_flow_mil", 16, NvtCatUnsignedLong, 2, 2, 1, 0, 0},
    {"SNVT_length", 17, NvtCatUnsignedLong, 2, 2, 1, -1, 0},
    {"SNVT_length_kilo", 18, NvtCatUnsignedLong, 2, 2, 1, -1, 0},
    {"SNVT_length_micr", 19, NvtCatUnsignedLong, 2, 2, 1, -1, 0},
    {"SNVT_length_mil", 20, NvtCatUnsignedLong, 2, 2, 1, -1, 0},
    {"SNVT_lev_cont", 21, NvtCatUnsignedShort, 1, 1, 5, -1, 0},
    {"SNVT_lev_disc", 22, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_mass", 23, NvtCatUnsignedLong, 2, 2, 1, -1, 0},
    {"SNVT_mass_kilo", 24, NvtCatUnsignedLong, 2, 2, 1, -1, 0},
    {"SNVT_mass_mega", 25, NvtCatUnsignedLong, 2, 2, 1, -1, 0},
    {"SNVT_mass_mil", 26, NvtCatUnsignedLong, 2, 2, 1, -1, 0},
    {"SNVT_power", 27, NvtCatUnsignedLong, 2, 2, 1, -1, 0},
    {"SNVT_power_kilo", 28, NvtCatUnsignedLong, 2, 2, 1, -1, 0},
    {"SNVT_ppm", 29, NvtCatUnsignedLong, 2, 2, 1, 0, 0},
    {"SNVT_press", 30, NvtCatSignedLong, 2, 2, 1, -1, 0},
    {"SNVT_res", 31, NvtCatUnsignedLong, 2, 2, 1, -1, 0},
    {"SNVT_res_kilo", 32, NvtCatUnsignedLong, 2, 2, 1, -1, 0},
    {"SNVT_sound_db", 33, NvtCatUnsignedLong, 2, 2, 1, -2, 0},
    {"SNVT_speed", 34, NvtCatUnsignedLong, 2, 2, 1, -1, 0},
    {"SNVT_speed_mil", 35, NvtCatUnsignedLong, 2, 2, 1, -3, 0},
    {"SNVT_str_ascii", 36, NvtCatStruct, 31, 31, 0, 0, 0},
    {"SNVT_str_int", 37, NvtCatStruct, 31, 31, 0, 0, 0},
    {"SNVT_telecom", 38, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_temp", 39, NvtCatSignedLong, 2, 2, 1, -1, -2740},
    {"SNVT_time_passed", 40, NvtCatStruct, 4, 4, 0, 0, 0},
    {"SNVT_vol", 41, NvtCatUnsignedLong, 2, 2, 1, -1, 0},
    {"SNVT_vol_kilo", 42, NvtCatUnsignedLong, 2, 2, 1, -1, 0},
    {"SNVT_vol_mil", 43, NvtCatUnsignedLong, 2, 2, 1, -1, 0},
    {"SNVT_volt", 44, NvtCatSignedLong, 2, 2, 1, -1, 0},
    {"SNVT_volt_dbmv", 45, NvtCatSignedLong, 2, 2, 1, -1, 0},
    {"SNVT_volt_kilo", 46, NvtCatSignedLong, 2, 2, 1, -1, 0},
    {"SNVT_volt_mil", 47, NvtCatSignedLong, 2, 2, 1, -1, 0},
    {"SNVT_amp_f", 48, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_angle_f", 49, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_angle_vel_f", 50, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_count_f", 51, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_count_inc_f", 52, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_flow_f", 53, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_length_f", 54, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_lev_cont_f", 55, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_mass_f", 56, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_power_f", 57, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_ppm_f", 58, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_press_f", 59, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_res_f", 60, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_sound_db_f", 61, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_speed_f", 62, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_temp_f", 63, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_time_f", 64, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_vol_f", 65, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_volt_f", 66, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_btu_f", 67, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_elec_whr_f", 68, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_config_src", 69, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_color", 70, NvtCatStruct, 6, 6, 0, 0, 0},
    {"SNVT_grammage", 71, NvtCatUnsignedLong, 2, 2, 1, -1, 0},
    {"SNVT_grammage_f", 72, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_file_req", 73, NvtCatStruct, 12, 12, 0, 0, 0},
    {"SNVT_file_status", 74, NvtCatStruct, 27, 27, 0, 0, 0},
    {"SNVT_freq_f", 75, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_freq_hz", 76, NvtCatUnsignedLong, 2, 2, 1, -1, 0},
    {"SNVT_freq_kilohz", 77, NvtCatUnsignedLong, 2, 2, 1, -1, 0},
    {"SNVT_freq_milhz", 78, NvtCatUnsignedLong, 2, 2, 1, -4, 0},
    {"SNVT_lux", 79, NvtCatUnsignedLong, 2, 2, 1, 0, 0},
    {"SNVT_ISO_7811", 80, NvtCatStruct, 17, 0, 0, 0, 0},
    {"SNVT_lev_percent", 81, NvtCatSignedLong, 2, 2, 5, -3, 0},
    {"SNVT_multiplier", 82, NvtCatUnsignedLong, 2, 2, 5, -4, 0},
    {"SNVT_state", 83, NvtCatStruct, 2, 2, 0, 0, 0},
    {"SNVT_time_stamp", 84, NvtCatStruct, 7, 7, 0, 0, 0},
    {"SNVT_zerospan", 85, NvtCatStruct, 4, 4, 0, 0, 0},
    {"SNVT_magcard", 86, NvtCatStruct, 20, 20, 1, 0, 0},
    {"SNVT_elapsed_tm", 87, NvtCatStruct, 7, 7, 0, 0, 0},
    {"SNVT_alarm", 88, NvtCatStruct, 29, 29, 0, 0, 0},
    {"SNVT_currency", 89, NvtCatStruct, 6, 6, 0, 0, 0},
    {"SNVT_file_pos", 90, NvtCatStruct, 6, 6, 0, 0, 0},
    {"SNVT_muldiv", 91, NvtCatStruct, 4, 4, 0, 0, 0},
    {"SNVT_obj_request", 92, NvtCatStruct, 3, 3, 0, 0, 0},
    {"SNVT_obj_status", 93, NvtCatStruct, 6, 6, 0, 0, 0},
    {"SNVT_preset", 94, NvtCatStruct, 14, 14, 0, 0, 0},
    {"SNVT_switch", 95, NvtCatStruct, 2, 2, 0, 0, 0},
    {"SNVT_trans_table", 96, NvtCatStruct, 30, 30, 0, 0, 0},
    {"SNVT_override", 97, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_pwr_fact", 98, NvtCatSignedLong, 2, 2, 5, -5, 0},
    {"SNVT_pwr_fact_f", 99, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_density", 100, NvtCatUnsignedLong, 2, 2, 5, -1, 0},
    {"SNVT_density_f", 101, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_rpm", 102, NvtCatUnsignedLong, 2, 2, 1, 0, 0},
    {"SNVT_hvac_emerg", 103, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_angle_deg", 104, NvtCatSignedLong, 2, 2, 2, -2, 0},
    {"SNVT_temp_p", 105, NvtCatSignedLong, 2, 2, 1, -2, 0},
    {"SNVT_temp_setpt", 106, NvtCatStruct, 12, 12, 0, 0, 0},
    {"SNVT_time_sec", 107, NvtCatSignedLong, 2, 2, 1, -1, 0},
    {"SNVT_hvac_mode", 108, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_occupancy", 109, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_area", 110, NvtCatUnsignedLong, 2, 2, 2, -4, 0},
    {"SNVT_hvac_overid", 111, NvtCatStruct, 5, 5, 0, 0, 0},
    {"SNVT_hvac_status", 112, NvtCatStruct, 12, 12, 0, 0, 0},
    {"SNVT_press_p", 113, NvtCatSignedLong, 2, 2, 1, 0, 0},
    {"SNVT_address", 114, NvtCatUnsignedLong, 2, 2, 1, 0, 0},
    {"SNVT_scene", 115, NvtCatStruct, 2, 2, 0, 0, 0},
    {"SNVT_scene_cfg", 116, NvtCatStruct, 10, 10, 0, 0, 0},
    {"SNVT_setting", 117, NvtCatStruct, 4, 4, 0, 0, 0},
    {"SNVT_evap_state", 118, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_therm_mode", 119, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_defr_mode", 120, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_defr_term", 121, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_defr_state", 122, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_time_min", 123, NvtCatSignedLong, 2, 2, 1, 0, 0},
    {"SNVT_time_hour", 124, NvtCatSignedLong, 2, 2, 1, 0, 0},
    {"SNVT_ph", 125, NvtCatSignedLong, 2, 2, 1, -3, 0},
    {"SNVT_ph_f", 126, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_chlr_status", 127, NvtCatStruct, 3, 3, 0, 0, 0},
    {"SNVT_tod_event", 128, NvtCatStruct, 4, 4, 0, 0, 0},
    {"SNVT_smo_obscur", 129, NvtCatUnsignedLong, 2, 2, 1, -3, 0},
    {"SNVT_fire_test", 130, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_temp_ror", 131, NvtCatSignedLong, 2, 2, 5, -1, 0},
    {"SNVT_fire_init", 132, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_fire_indcte", 133, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_time_zone", 134, NvtCatStruct, 15, 15, 0, 0, 0},
    {"SNVT_earth_pos", 135, NvtCatStruct, 11, 11, 0, 0, 0},
    {"SNVT_reg_val", 136, NvtCatStruct, 6, 6, 0, 0, 0},
    {"SNVT_reg_val_ts", 137, NvtCatStruct, 13, 13, 0, 0, 0},
    {"SNVT_volt_ac", 138, NvtCatUnsignedLong, 2, 2, 1, 0, 0},
    {"SNVT_amp_ac", 139, NvtCatUnsignedLong, 2, 2, 1, 0, 0},
    {"SNVT_undefined", 140, NvtCatStruct, 1, 0, 0, 0, 0},
    {"SNVT_undefined", 141, NvtCatStruct, 1, 0, 0, 0, 0},
    {"SNVT_undefined", 142, NvtCatStruct, 1, 0, 0, 0, 0},
    {"SNVT_turbidity", 143, NvtCatUnsignedLong, 2, 2, 1, -3, 0},
    {"SNVT_turbidity_f", 144, NvtCatFloat, 4, 4, 0, 0, 0},
    {"SNVT_hvac_type", 145, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_elec_kwh_l", 146, NvtCatSignedQuad, 4, 4, 1, -1, 0},
    {"SNVT_temp_diff_p", 147, NvtCatSignedLong, 2, 2, 1, -2, 0},
    {"SNVT_ctrl_req", 148, NvtCatStruct, 5, 5, 0, 0, 0},
    {"SNVT_ctrl_resp", 149, NvtCatStruct, 7, 7, 0, 0, 0},
    {"SNVT_ptz", 150, NvtCatStruct, 4, 6, 0, 0, 0},
    {"SNVT_privacyzone", 151, NvtCatStruct, 4, 4, 0, 0, 0},
    {"SNVT_pos_ctrl", 152, NvtCatStruct, 13, 13, 0, 0, 0},
    {"SNVT_enthalpy", 153, NvtCatSignedLong, 2, 2, 1, -2, 0},
    {"SNVT_gfci_status", 154, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_motor_state", 155, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_pumpset_mn", 156, NvtCatStruct, 8, 8, 0, 0, 0},
    {"SNVT_ex_control", 157, NvtCatStruct, 10, 10, 0, 0, 0},
    {"SNVT_pumpset_sn", 158, NvtCatStruct, 23, 23, 0, 0, 0},
    {"SNVT_pump_sensor", 159, NvtCatStruct, 19, 19, 0, 0, 0},
    {"SNVT_abs_humid", 160, NvtCatUnsignedLong, 2, 2, 1, -2, 0},
    {"SNVT_flow_p", 161, NvtCatUnsignedLong, 2, 2, 1, -2, 0},
    {"SNVT_dev_c_mode", 162, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_valve_mode", 163, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_alarm2", 164, NvtCatStruct, 31, 31, 0, 0, 0},
    {"SNVT_state_64", 165, NvtCatStruct, 8, 8, 0, 0, 0},
    {"SNVT_nv_type", 166, NvtCatStruct, 19, 19, 0, 0, 0},
    {"SNVT_undefined", 167, NvtCatStruct, 1, 0, 0, 0, 0},
    {"SNVT_ent_opmode", 168, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_ent_state", 169, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_ent_status", 170, NvtCatStruct, 5, 5, 0, 0, 0},
    {"SNVT_flow_dir", 171, NvtCatEnum, 1, 1, 1, 0, 0},
    {"SNVT_hvac_satsts", 172, NvtCatStruct, 5, 2, 0, 0, 0},
    {"SNVT_dev_status", 173, NvtCatStruct, 4, 4, 0, 0, 0},
    {"SNVT_dev_fault", 174, NvtCatStruct, 4, 4, 0, 0, 0},
    {"SNVT_dev_maint", 175, NvtCatStruct, 4, 4, 0, 0, 0},
    {"SNVT_date_event", 176, NvtCatStruct, 26, 26, 0, 0, 0},
    {"SNVT_sched_val", 177, NvtCatUnsignedShort, 1, 1, 1, 0, 0},
}};

constexpr bool rowsAreNumbered() {
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        if (kRows[i].index != i) return false;
    }
    return true;
}
static_assert(rowsAreNumbered());

constexpr bool namesFit() {
    for (const Row& row : kRows) {
        if (std::string_view(row.name).size() > 17) return false;
    }
    return true;
}
static_assert(namesFit());

constexpr std::array<SnvtEntry, SnvtCount + 1> makeEntries() {
    std::array<SnvtEntry, SnvtCount + 1> entries{};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        entries[i] = SnvtEntry{kRows[i].name, kRows[i].index, kRows[i].category, kRows[i].size};
    }
    return entries;
}
constexpr std::array<SnvtEntry, SnvtCount + 1> kEntries = makeEntries();

constexpr std::array<const char*, SnvtCount> makeTypeNames() {
    std::array<const char*, SnvtCount> names{};
    for (int i = 0; i < SnvtCount; ++i) names[i] = kRows[i + 1].name;
    return names;
}
constexpr std::array<const char*, SnvtCount> kTypeNames = makeTypeNames();

bool inCatalogue(int index) {
    return index >= 1 && index <= SnvtCount;
}

} // namespace

const char* snvt_name(int index) {
    if (index == 0) return "UNVT/Raw NV";
    if (!inCatalogue(index)) return "SNVT_undefined";
    return kRows[index].name;
}

NvCategory snvt_category(int index) {
    return inCatalogue(index) ? kRows[index].category : NvtCatNul;
}

uint8_t snvt_size(int index) {
    return inCatalogue(index) ? kRows[index].size : 0;
}

int snvt_find(int index) {
    for (int row = 1; row <= SnvtCount; ++row) {
        if (kRows[row].index == index) return row;
    }
    return 0;
}

SnvtScaling snvt_scaling(int index) {
    const Row& row = kRows[snvt_find(index)];
    return SnvtScaling{row.defaultSize, row.scaleA, row.scaleB, row.scaleC};
}

const SnvtEntry& snvt_entry(int index) {
    return kEntries[inCatalogue(index) ? index : 0];
}

const std::array<const char*, SnvtCount>& snvtTypeNames() {
    return kTypeNames;
}

} // namespace korvex
