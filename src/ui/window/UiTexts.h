#pragma once
// The window's own texts: title, caption, tab texts and the messages the frame and the Connect and
// Master List pages show. Tests compare against these same strings.
#include <array>

namespace korvex::ui::window::text {

inline constexpr char kTitle[] = "LonWorks-Modbus Gateway Node Configuration Tool v2.14";
inline constexpr char kCaption[] = "Korvex Configuration";

inline constexpr std::array<const char*, 9> kTabTexts{" Connect ",   " Reg Import ",  " Reg List ",
                                                      " NV Import ", " NV List ",     " Master List ",
                                                      " View Data ", " Modbus Port ", " LonWorks "};

inline constexpr char kDiscardAndClose[] =
    "Changes have not been saved. Discard and close?\nClick Cancel to keep working.";
inline constexpr char kOverwrite[] = "File already exists.\nClick OK to erase it, or Cancel.";

inline constexpr char kFileLoaded[] = "File loaded.";
inline constexpr char kFileSaved[] = "File saved.";
inline constexpr char kNeedXml[] = "Need a .xml file.";
// Opening a map without the dialog (recent maps, a file dropped on the window).
inline constexpr char kDiscardAndOpen[] =
    "Changes have not been saved. Discard them and open %1?\nClick Cancel to keep working.";
// The toolbar's New and Open give up unsaved work only when the user says so.
inline constexpr char kDiscardForBlankMap[] =
    "Changes have not been saved. Discard them and start a blank map?\nClick Cancel to keep working.";
inline constexpr char kNoRecentMaps[] = "No recent maps";
inline constexpr char kRecentMapGone[] = "%1 is no longer there; it is taken off the recent maps.";
inline constexpr char kMapFilters[] = "XML object map (*.xml);;All files (*.*)";

inline constexpr char kReplaceObjects[] =
    "This action will replace current object list.\nDo you wish to continue?";
inline constexpr char kEraseDevice[] = "Are you sure you want to erase all configuration in device?";
inline constexpr char kSendNVsFirst[] = "Object's network variables need to be sent first.";
inline constexpr char kWaitingForErase[] = "Waiting... (takes up to 45 seconds).\n";

// Asked before NVs or objects are sent while the map checker finds errors in the map.
inline constexpr char kSendWithErrors[] = "The map has %1 errors. Send anyway?";
inline constexpr char kSendWithOneError[] = "The map has 1 error. Send anyway?";
inline constexpr char kSendCancelledForErrors[] = "Send cancelled: the map has errors.";

inline constexpr char kSimulatedGateway[] = "Simulated gateway";

// Connect's check of the line, the line after "USB COM port open.": the gateway's usage numbers
// (highest object in use, input NVs, output NVs, TCP map entries in use), or that none answered.
inline constexpr char kGatewayAnswered[] =
    "Gateway answered: highest object %1, %2 input NVs, %3 output NVs, %4 TCP map entries.";
inline constexpr char kNoGatewayAnswered[] = "No gateway answered on this port.";

// The Connect option that keeps the silence rule, and the line after the check (or after the
// option changed with a port open) that says how the link ends the gateway's replies.
inline constexpr char kWaitForSilence[] = "Wait for line silence after every reply";
inline constexpr char kRepliesEndAtPrompt[] = "Replies end at the gateway's prompt \":->\".";
inline constexpr char kRepliesEndBySilence[] =
    "Replies end after 100 ms of line silence (no prompt from the gateway yet).";
inline constexpr char kRepliesEndBySilenceChosen[] = "Replies end after 100 ms of line silence, as chosen.";

// The Connect option that reads back what each send wrote and compares it.
inline constexpr char kVerifyAfterSending[] = "Verify after sending";

// The differences window of "Compare map with device" and its saved report (text, CR LF).
inline constexpr char kDifferencesTitle[] = "Compare map with device";
inline constexpr char kReportFilters[] = "Text report (*.txt);;All files (*.*)";
inline constexpr char kReportNotSaved[] = "Failed to create file.";
// The compare's progress bar: items read, items still to read.
inline constexpr char kReadProgress[] = "Reading the gateway: %1 done, %2 left";

} // namespace korvex::ui::window::text
