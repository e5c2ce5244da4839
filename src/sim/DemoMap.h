#pragma once
// Object maps for trying the tool against the simulated gateway and for measuring transfers:
// structured, user-type and plain NVs numbered in the order a fetch reads them back (inputs,
// then outputs, each from 1), data objects assigned to them with holding registers, and the
// port, TCP and device-map settings of the model with Modbus TCP.
#include "model/ObjectMap.h"

#include <vector>

namespace korvex::sim {

struct DemoMapShape {
    std::vector<int> structuredInputs; // standard type indices of structured NVs, in order
    std::vector<int> structuredOutputs;
    int userInputs = 0; // then this many NVs of a user-defined type
    int userOutputs = 0;
    int inputs = 0; // NVs per direction in all: plain ones fill up to these
    int outputs = 0;
    int tcpEntries = 3;
};

// Builds the map into an empty one; returns the number of data objects in use (each plain or
// user NV takes one, each field of a structured NV one), or -1 when the NVs do not fit.
int buildDemoMap(ObjectMap& map, const DemoMapShape& shape);

// 8 inputs and 36 outputs (structured, user-type and plain) on exactly 400 objects.
DemoMapShape roundTripShape();
// 120 inputs and 120 outputs on exactly 400 objects.
DemoMapShape fullNetVarShape();

} // namespace korvex::sim
