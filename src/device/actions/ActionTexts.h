#pragma once
// Questions and messages of the device actions, byte for byte as the message boxes show them.
#include <string_view>

namespace korvex::device::action {

inline constexpr std::string_view kReplaceNVs =
    "This action will replace current NV list.\nDo you wish to continue?";
inline constexpr std::string_view kReplaceObjects =
    "This action will replace current object list.\nDo you wish to continue?";
inline constexpr std::string_view kSendNVsFirst = "Object's network variables need to be sent first.";
inline constexpr std::string_view kEraseDevice =
    "Are you sure you want to erase all configuration in device?";
inline constexpr std::string_view kWaitingForErase = "Waiting... (takes up to 45 seconds).\n";
inline constexpr std::string_view kInvalidTcp = "Invalid TCP/IP settings.";
inline constexpr std::string_view kMasterWithoutSlaves =
    "You have indicated that this device will be a Modbus master,\nbut you have no TCP slave devices "
    "defined.\nSend anyway?";
inline constexpr std::string_view kCommissionedDomain =
    "Once node is commissioned,\nyou must make domain changes via your LNS tool.\nFailure to do so will "
    "result in a broken network.";
inline constexpr std::string_view kCommissionedProgramId =
    "Once node is commissioned,\nyou cannot change program ID.";
inline constexpr std::string_view kProgramIdRestarted = "LonWorks has been restarted with new Program ID.";

} // namespace korvex::device::action
