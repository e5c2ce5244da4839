#pragma once
// The simulated gateway as the window sees it: a line with a pseudo-terminal behind it. The
// program injects the factory that makes one (the window does not build the simulator itself),
// so the window's library does not depend on the simulator's. Window thread only.
#include <functional>
#include <memory>
#include <string>

namespace korvex::ui::window {

class SimulatedLine {
public:
    virtual ~SimulatedLine() = default;
    // The pseudo-terminal the link opens.
    virtual std::string slavePath() const = 0;
    // Stops the gateway; the window calls it once it stopped its own threads.
    virtual void stop() = 0;
};

// Starts a simulated gateway; null when it cannot start. An empty factory offers none.
using SimulatorFactory = std::function<std::unique_ptr<SimulatedLine>()>;

} // namespace korvex::ui::window
