// The endings of every command area and their words, in one table.
#include "device/reporting/ReportTexts.h"

#include "model/FixedText.h"
#include "vocab/TextFormat.h"

namespace korvex::device::report {
namespace {

// What a text takes from the area's record, in the order of its "{}".
enum class Fields : std::uint8_t { None, Number, Code, Text, NumberAndCode, NumberAndText };
// The NV direction a row is for.
enum class Nv : std::uint8_t { Any, Input, Output };

constexpr int fieldCount(Fields fields) {
    switch (fields) {
    case Fields::None:
        return 0;
    case Fields::Number:
    case Fields::Code:
    case Fields::Text:
        return 1;
    default:
        return 2;
    }
}

// Stands for every result of an area that has no row of its own (an ending is never Ok).
constexpr DeviceResult kAnyOther = DeviceResult::Ok;

struct ResultRow {
    consteval ResultRow(Area a, DeviceResult r, std::string_view f, Fields fs = Fields::None, Nv n = Nv::Any)
        : area(a), result(r), nv(n), format(f), fields(fs) {
        if (countPlaceholders(format) != fieldCount(fields)) formatPlaceholdersDoNotMatchTheArguments();
    }
    Area area;
    DeviceResult result;
    Nv nv;
    std::string_view format;
    Fields fields;
};

using R = DeviceResult;
using F = Fields;

constexpr ResultRow kResultRows[] = {
    // NV definitions (NV List and Master List boxes).
    {Area::NetVars, R::Timeout, kDeviceTimedOut},
    {Area::NetVars, R::BadReply, "NVI {} Error {}.\n", F::NumberAndCode, Nv::Input},
    {Area::NetVars, R::BadReply, "NVO {} Error {}.\n", F::NumberAndCode, Nv::Output},
    {Area::NetVars, R::ErrorText, "NVI {} {}.\n", F::NumberAndText, Nv::Input},
    {Area::NetVars, R::ErrorText, "NVO {} {}.\n", F::NumberAndText, Nv::Output},
    {Area::NetVars, kAnyOther, kUnspecifiedError},
    // Data objects and erasing the configuration (Master List box).
    {Area::Objects, R::Timeout, kDeviceTimedOut},
    {Area::Objects, R::BadReply, "Obj {} Error {}.\n", F::NumberAndCode},
    {Area::Objects, R::ErrorText, "Obj {} {}.\n", F::NumberAndText},
    {Area::Objects, kAnyOther, kUnspecifiedError},
    {Area::Erase, R::Timeout, kDeviceTimedOut},
    {Area::Erase, R::ErrorText, "{}.\n", F::Text},
    {Area::Erase, kAnyOther, kUnspecifiedError},
    // Live values (View Data box).
    {Area::Values, R::Timeout, kDeviceTimedOut},
    {Area::Values, R::NotDefined, "Object {} not defined in device.\n", F::Number},
    {Area::Values, R::BadReply, "Unable to parse result.\n"},
    {Area::Values, R::WriteRefused, "Error writing object.\n"},
    {Area::Values, kAnyOther, kUnspecifiedError},
    // Modbus port settings and error counters (Modbus Port box).
    {Area::Port, R::Timeout, kDeviceTimedOut},
    {Area::Port, R::BadReply, "Parse error: {}.\n", F::Code},
    {Area::Port, R::ErrorText, "{}\n", F::Text},
    {Area::Port, kAnyOther, kUnspecifiedError},
    // Node management (LonWorks box).
    {Area::Domains, R::Timeout, kNodeTimeout},
    {Area::Domains, R::BadReply, kUnableToParseReply},
    {Area::Domains, R::ErrorText, "Error trying to set domain\n"},
    {Area::Domains, kAnyOther, kUnknownError},
    {Area::NodeIds, R::Timeout, kNodeTimeout},
    {Area::NodeIds, R::BadReply, kUnableToParseReply},
    {Area::NodeIds, kAnyOther, kUnknownError},
    {Area::Node, R::Timeout, kNodeTimeout},
    {Area::Node, R::BadReply, kUnableToParseReply},
    {Area::Node, R::ErrorText, "{}\n", F::Text},
    {Area::Node, kAnyOther, kUnknownError},
    // Reading back for a compare or a verify (the box of the page that started it).
    {Area::ReadBack, R::Timeout, kDeviceTimedOut},
    {Area::ReadBack, R::BadReply, "{}\n", F::Text},
    {Area::ReadBack, kAnyOther, kUnspecifiedError},
};

// A stopped transfer's words, by transfer: how far it got, then what that leaves.
struct StopRow {
    consteval StopRow(TransferKind k, std::string_view f, std::string_view t) : kind(k), format(f), tail(t) {
        if (countPlaceholders(format) != 2) formatPlaceholdersDoNotMatchTheArguments();
    }
    TransferKind kind;
    std::string_view format; // done, total
    std::string_view tail;
};

constexpr StopRow kStopRows[] = {
    {TransferKind::GetNetVars, kStoppedNVs, kStoppedNVsKept},
    {TransferKind::SendNetVars, kStoppedNVs, kStoppedEnd},
    {TransferKind::GetObjects, kStoppedObjects, kStoppedObjectsKept},
    {TransferKind::SendObjects, kStoppedObjects, kStoppedEnd},
    {TransferKind::ReadValues, kStoppedValues, kStoppedEnd},
    {TransferKind::WriteValues, kStoppedValues, kStoppedEnd},
    {TransferKind::Compare, kStoppedCompare, kStoppedNothingCompared},
    {TransferKind::VerifyNetVars, kStoppedVerifyNVs, kStoppedNVsUnmarked},
    {TransferKind::VerifyObjects, kStoppedVerifyObjects, kStoppedObjectsUnmarked},
    {TransferKind::VerifyPort, kStoppedVerifyPort, kStoppedPortUnconfirmed},
};

std::string stoppedText(const AreaResult& details) {
    for (const StopRow& row : kStopRows) {
        if (row.kind != details.stopped) continue;
        const std::string_view tail = details.unverified ? kStoppedUnverified : row.tail;
        return formatArgs(row.format, {FormatArg(details.done), FormatArg(details.total)}) +
               std::string(tail);
    }
    return std::string(kUnspecifiedError);
}

bool rowFits(const ResultRow& row, Area area, DeviceResult result, bool input) {
    return row.area == area && row.result == result && (row.nv == Nv::Any || (row.nv == Nv::Input) == input);
}

const ResultRow& rowFor(Area area, DeviceResult result, bool input) {
    const ResultRow* anyOther = &kResultRows[0];
    for (const ResultRow& row : kResultRows) {
        if (rowFits(row, area, result, input)) return row;
        if (row.area == area && row.result == kAnyOther) anyOther = &row;
    }
    return *anyOther;
}

} // namespace

std::string resultText(Area area, DeviceResult result, const AreaResult& details) {
    if (result == DeviceResult::Stopped) return stoppedText(details);
    const ResultRow& row = rowFor(area, result, details.input);
    const FormatArg number(details.number);
    const FormatArg code(details.parseCode);
    const FormatArg text(textOf(details.errorText));
    switch (row.fields) {
    case Fields::None:
        return std::string(row.format);
    case Fields::Number:
        return formatArgs(row.format, {number});
    case Fields::Code:
        return formatArgs(row.format, {code});
    case Fields::Text:
        return formatArgs(row.format, {text});
    case Fields::NumberAndCode:
        return formatArgs(row.format, {number, code});
    case Fields::NumberAndText:
        return formatArgs(row.format, {number, text});
    }
    return std::string(row.format);
}

std::string_view exceptionName(unsigned code) {
    switch (code) {
    case 1:
        return " (Illegal function)";
    case 2:
        return " (Illegal data address)";
    case 3:
        return " (Illegal data value)";
    case 4:
        return " (Slave device failure)";
    case 6:
        return " (Slave device busy)";
    default:
        return {};
    }
}

} // namespace korvex::device::report
