#pragma once
// Shared by the passes of the map checker: where findings are collected, and the texts that
// name objects, registers and NVs in the messages. Internal to model/.
#include "model/check/MapChecker.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::check {

// The highest Modbus slave address; 248..255 are reserved.
inline constexpr int kLastSlaveAddress = 247;

class Findings {
public:
    explicit Findings(std::vector<Problem>& out) : out_(out) {}
    // With the rule's usual severity.
    void add(Rule rule, PlaceKind place, int row, std::string message);
    void add(Rule rule, Severity severity, PlaceKind place, int row, std::string message);

private:
    std::vector<Problem>& out_;
};

// printf-style text of any length.
std::string textf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// "object 7", "objects 7 and 9", "objects 7, 9 and 12"; past six numbers "... and 4 others".
std::string objectsText(std::span<const int> objects);
// "holding register 100 of slave 1", "coil 5 of slave 2".
std::string registerText(int32_t type, unsigned number, unsigned slave);
// "NVI 5" or "NVO 5".
std::string nvText(bool input, int fbNumber);

// A text as the map file keeps it: the characters '"' and '>' become '_'.
std::string savedText(std::string_view text);
// A TCP device entry as saving normalises it.
TcpDeviceMap normalisedEntry(const TcpDeviceMap& entry);

bool gatewayIsMaster(const ObjectMap& map);
// An object whose register side names a register: flag 0x1 is also set by an NV assignment,
// so the flag alone does not tell.
bool hasModbusRegister(const DataObject& object);
bool writesRegister(const DataObject& object);

// The passes, each adding what it finds.
void checkRegisterUse(const ObjectMap& map, int deviceModel, Findings& findings);
void checkRegisterFields(const ObjectMap& map, Findings& findings);
void checkObjects(const ObjectMap& map, Findings& findings);
void checkNVs(const ObjectMap& map, Findings& findings);
void checkSettings(const ObjectMap& map, int deviceModel, Findings& findings);

} // namespace korvex::check
