#pragma once
// The production serial driver over Qt SerialPort. The port object is created on, and only ever
// touched by, the pump thread; its blocking calls need no Qt application object or event loop.
#include "device/link/SerialPortDriver.h"

#include <memory>

class QSerialPort;

namespace korvex::device {

class QtSerialPortDriver : public SerialPortDriver {
public:
    QtSerialPortDriver();
    ~QtSerialPortDriver() override;

    bool open(const std::string& devicePath) override;
    OpenError openError() const override { return openError_; }
    bool isOpen() override;
    void close() override;
    int flushInput() override;
    bool write(const char* data, std::size_t length) override;
    int read(char* dest, std::size_t capacity, int waitMs) override;
    std::unique_ptr<PumpThread> startThread(std::function<void()> body) override;

private:
    QSerialPort& port();
    bool lineHungUp();

    std::unique_ptr<QSerialPort> port_;
    OpenError openError_ = OpenError::None; // pump thread only, as every call
};

} // namespace korvex::device
