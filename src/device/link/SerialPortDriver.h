#pragma once
// The few serial-port calls the link needs, so the transport can run over Qt SerialPort in the
// program and over a scripted fake in tests. Every call is made on the port pump thread, which the
// driver itself starts (some port libraries need their own kind of thread).
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace korvex::device {

// A started thread that can be waited for.
class PumpThread {
public:
    virtual ~PumpThread() = default;
    virtual void join() = 0;
};

// Why a port did not open. Busy: another program holds it; Permission: the user may not open
// the device file.
enum class OpenError { None, NotFound, Permission, Busy, Other };

class SerialPortDriver {
public:
    virtual ~SerialPortDriver() = default;

    // Opens the device path (already resolved from the user's port name) and sets the line to
    // 115200 baud, 8 data bits, no parity, 1 stop bit, no handshake. A port open under another
    // path is closed first.
    [[nodiscard]] virtual bool open(const std::string& devicePath) = 0;
    // Why the last open failed (None after one that succeeded). Drivers that cannot tell say Other.
    virtual OpenError openError() const { return OpenError::Other; }
    // True while the port is open and usable (a hung-up line counts as closed).
    virtual bool isOpen() = 0;
    virtual void close() = 0;
    // Drops input that arrived but was not read yet; returns how many bytes it dropped (0 when
    // the driver cannot tell).
    virtual int flushInput() = 0;
    // Writes all bytes; false when the port failed (unplugged, hung up).
    virtual bool write(const char* data, std::size_t length) = 0;
    // Waits up to waitMs for input and returns as soon as some has arrived: the byte count
    // stored (at most capacity), 0 when the line stayed quiet, -1 when the port failed.
    virtual int read(char* dest, std::size_t capacity, int waitMs) = 0;

    // Starts the thread that will make every call above. The default is a plain std::thread.
    virtual std::unique_ptr<PumpThread> startThread(std::function<void()> body);
};

} // namespace korvex::device
