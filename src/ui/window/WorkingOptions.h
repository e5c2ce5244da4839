#pragma once
// The Connect page's working options: how the grids show registers and what a device action may
// change. They live for one run and are never stored. Window thread only.

namespace korvex::ui::window {

struct WorkingOptions {
    bool commissioned = false; // "I am updating a node already commissioned."
    bool modicon = false;      // "Use Modicon notation for Modbus registers."
    bool gatewaySlave = false; // "Configure gateway as Modbus slave."
};

} // namespace korvex::ui::window
