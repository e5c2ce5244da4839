#pragma once
// One-line notes for what a load or an import could take in only in part, in the words the
// status boxes and the command line show. Plain functions of the records; no state.
#include "model/ObjectMap.h"

#include <string>

namespace korvex {

// "nvoTemp (output 5)": the NV's name with its direction and function-block number, when set.
std::string nvNoteName(const NetVar& header);

// A structured NV of which only `kept` of its `fields` field rows fitted in the NV list.
std::string nvFieldsLeftOutNote(const NetVar& header, int kept, int fields);

// Object n, whose field row of a user-defined structure found no room in the NV list.
std::string objectFieldRowNote(int n, const DataObject& object);

} // namespace korvex
