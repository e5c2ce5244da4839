#include "device/link/SerialPortDriver.h"

#include <thread>

namespace korvex::device {

namespace {

class StdPumpThread : public PumpThread {
public:
    explicit StdPumpThread(std::function<void()> body) : thread_(std::move(body)) {}
    ~StdPumpThread() override { join(); }
    void join() override {
        if (thread_.joinable()) thread_.join();
    }

private:
    std::thread thread_;
};

} // namespace

std::unique_ptr<PumpThread> SerialPortDriver::startThread(std::function<void()> body) {
    return std::make_unique<StdPumpThread>(std::move(body));
}

} // namespace korvex::device
