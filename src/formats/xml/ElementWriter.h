#pragma once
// Writers of the configuration elements, byte for byte as the gateway and the object map file
// expect them; every element ends with "/>\r\n". The device link sends the same strings.
//
// Every value is written in a form the element reader accepts, so whatever map the tool builds
// loads again: names and the location never carry '"' or '>' (each becomes '_'), and values
// the reader would refuse are brought into its ranges (see the functions below).
#include "model/ObjectMap.h"

#include <string>
#include <string_view>

namespace korvex {

// Object n (1..400); an empty object gives the clearing form "<obj n="%d" clear="1"/>".
std::string writeObjectElement(const ObjectMap& map, int n);

// NV row r (0-based). Empty for a row without a function-block number (1..120), for a field row
// and for a row of size 0. With `withName` the name is the one the reader will store for it
// (see nameForFile); the device link asks for no names.
std::string writeNVElement(const ObjectMap& map, int r, bool withName, std::string_view name = {});

// The port element. A baud rate of 0 is first set to 19200 in the live settings.
std::string writePortElement(ObjectMap& map);
std::string writeTcpSettingsElement(const ObjectMap& map);
// Device map entry d (1..20).
std::string writeTcpDeviceElement(const ObjectMap& map, int d);
std::string writeNodeElement(const ObjectMap& map);

// Text as it may stand between the double quotes of a value: '"' and '>' become '_'.
std::string quotableText(std::string_view text);

// A send time as "d,h:m:s" with the leading zero parts left out ("15", "1:30", "2,0:0:0").
// Parts of 60 or more are first carried into the next part, since the reader refuses them.
std::string sendTimeText(const SendTime& time);

// An FP default value: fewer decimals the longer its integer part, "%.3e" beyond 7 digits.
std::string fpDefaultText(float value);

// The default value of an object as text, in its data type's form.
std::string defaultValueText(const DataObject& object);

} // namespace korvex
