#pragma once
// The Qt driver for a link whose time runs at another speed than the wall clock. At ten times
// the speed a quiet poll waits 10 ms and the link's clock runs ten times as fast, so every budget
// takes a tenth of its length; in slow motion (a tenth) a quiet poll waits a second, so the
// gateway's own pauses, and whatever a loaded machine adds to them, stay far below it.
#include "device/link/SerialLink.h"
#include "device/qt/QtSerialPortDriver.h"

#include <algorithm>
#include <chrono>

namespace korvex::device::test {

// Link time = wall time * num / den.
struct LinkSpeed {
    int num = 1;
    int den = 1;
};

class ScaledDriver : public SerialPortDriver {
public:
    explicit ScaledDriver(LinkSpeed speed) : speed_(speed) {}

    // The link's clock at this speed.
    SerialLink::Clock clock() const {
        return [speed = speed_] {
            using namespace std::chrono;
            const auto wall = duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
            return wall * speed.num / speed.den;
        };
    }

    bool open(const std::string& path) override { return inner_.open(path); }
    bool isOpen() override { return inner_.isOpen(); }
    void close() override { inner_.close(); }
    int flushInput() override { return inner_.flushInput(); }
    bool write(const char* data, std::size_t length) override { return inner_.write(data, length); }
    int read(char* dest, std::size_t capacity, int waitMs) override {
        return inner_.read(dest, capacity, std::max(1, waitMs * speed_.den / speed_.num));
    }
    std::unique_ptr<PumpThread> startThread(std::function<void()> body) override {
        return inner_.startThread(std::move(body));
    }

private:
    LinkSpeed speed_;
    QtSerialPortDriver inner_;
};

} // namespace korvex::device::test
