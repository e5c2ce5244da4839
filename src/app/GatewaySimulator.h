#pragma once
// The simulated gateway the program hands to the window when the user picks "Simulated gateway".
// The window's library knows only SimulatedLine; this is where the two meet. Window thread only.
#include "sim/SimulatedGateway.h"
#include "ui/window/SimulatedLine.h"

#include <functional>
#include <memory>
#include <string>

namespace korvex::app {

class GatewaySimulator : public ui::window::SimulatedLine {
public:
    std::string slavePath() const override { return gateway_.slavePath(); }
    void stop() override { gateway_.stop(); }
    sim::SimulatedGateway& gateway() { return gateway_; }

private:
    sim::SimulatedGateway gateway_;
};

// Makes a started gateway each time it is called; started is told of each (tests shorten its
// timings there).
inline ui::window::SimulatorFactory
gatewaySimulators(std::function<void(sim::SimulatedGateway&)> started = {}) {
    return [started]() -> std::unique_ptr<ui::window::SimulatedLine> {
        auto line = std::make_unique<GatewaySimulator>();
        if (!line->gateway().start()) return nullptr;
        if (started) started(line->gateway());
        return line;
    };
}

} // namespace korvex::app
