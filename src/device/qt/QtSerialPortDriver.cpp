#include "device/qt/QtSerialPortDriver.h"

#include "device/qt/PortSetUp.h"

#include <QAbstractEventDispatcher>
#include <QSerialPort>
#include <QThread>

#include <mutex>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace korvex::device {

// Adopting a thread and making, opening, closing and deleting a port object touch Qt's process-wide state
// (object and thread bookkeeping, lock-free lists behind its locks). Qt guards that with its own atomics,
// which a race checker cannot see in a Qt built without it, so links on several threads at once (many
// gateways commissioned together) would be reported as racing there. Opening is rare and short:
// these steps are taken one link at a time, which makes the order plain to every checker.
std::mutex& portSetUpMutex() {
    static std::mutex mutex;
    return mutex;
}

namespace {

constexpr int kWriteWaitMs = 1000;

// The port object says PermissionError both for a device file the user may not open and for a
// port another program holds (its lock file); only the first is a matter of rights. On Windows
// "access denied" means the port is in use.
OpenError whyNotOpened(QSerialPort::SerialPortError error, const std::string& devicePath) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return OpenError::NotFound;
    case QSerialPort::PermissionError:
#ifdef Q_OS_UNIX
        if (::access(devicePath.c_str(), R_OK | W_OK) != 0 && errno == EACCES) return OpenError::Permission;
#else
        (void)devicePath;
#endif
        return OpenError::Busy;
    default:
        return OpenError::Other;
    }
}

// The port object wants an event dispatcher on its thread for its socket notifiers, although
// blocking use never runs one. A plain thread gets this inert one, so no Qt thread or application
// object is needed and the thread stays an ordinary joinable std::thread.
class InertEventDispatcher : public QAbstractEventDispatcher {
public:
    bool processEvents(QEventLoop::ProcessEventsFlags) override { return false; }
    void registerSocketNotifier(QSocketNotifier*) override {}
    void unregisterSocketNotifier(QSocketNotifier*) override {}
    void registerTimer(int, qint64, Qt::TimerType, QObject*) override {}
    bool unregisterTimer(int) override { return true; }
    bool unregisterTimers(QObject*) override { return true; }
    QList<TimerInfo> registeredTimers(QObject*) const override { return {}; }
    int remainingTime(int) override { return -1; }
    void wakeUp() override {}
    void interrupt() override {}
};

} // namespace

QtSerialPortDriver::QtSerialPortDriver() = default;

QtSerialPortDriver::~QtSerialPortDriver() = default;

std::unique_ptr<PumpThread> QtSerialPortDriver::startThread(std::function<void()> body) {
    // The port object belongs to the pump thread: created there on first use, deleted there.
    return SerialPortDriver::startThread([this, body = std::move(body)] {
        {
            std::lock_guard lock(portSetUpMutex());
            QThread* self = QThread::currentThread();
            if (!self->eventDispatcher()) self->setEventDispatcher(new InertEventDispatcher);
        }
        body();
        std::lock_guard lock(portSetUpMutex());
        port_.reset();
    });
}

QSerialPort& QtSerialPortDriver::port() {
    if (!port_) port_ = std::make_unique<QSerialPort>();
    return *port_;
}

bool QtSerialPortDriver::open(const std::string& devicePath) {
    std::lock_guard lock(portSetUpMutex());
    QSerialPort& p = port();
    if (p.isOpen()) p.close();
    p.clearError();
    p.setPortName(QString::fromStdString(devicePath));
    if (!p.open(QIODevice::ReadWrite)) {
        openError_ = whyNotOpened(p.error(), devicePath);
        return false;
    }
    openError_ = OpenError::None;
    const bool configured = p.setBaudRate(115200) && p.setDataBits(QSerialPort::Data8) &&
                            p.setParity(QSerialPort::NoParity) && p.setStopBits(QSerialPort::OneStop) &&
                            p.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        p.close();
        openError_ = OpenError::Other;
        return false;
    }
    return true;
}

// A hung-up line (the device was unplugged, or a pseudo-terminal's other side closed) still
// looks open to the port object until a read fails; ask the descriptor.
bool QtSerialPortDriver::lineHungUp() {
#ifdef Q_OS_UNIX
    pollfd fd{static_cast<int>(port_->handle()), 0, 0};
    if (fd.fd < 0) return true;
    return ::poll(&fd, 1, 0) > 0 && (fd.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
#else
    return false;
#endif
}

bool QtSerialPortDriver::isOpen() {
    if (!port_ || !port_->isOpen()) return false;
    if (!lineHungUp()) return true;
    std::lock_guard lock(portSetUpMutex());
    port_->close();
    return false;
}

void QtSerialPortDriver::close() {
    std::lock_guard lock(portSetUpMutex());
    if (port_ && port_->isOpen()) port_->close();
}

// Counts what waits in the port object and, on Unix, in the line's own queue before dropping it.
int QtSerialPortDriver::flushInput() {
    if (!port_ || !port_->isOpen()) return 0;
    int waiting = 0;
#ifdef Q_OS_UNIX
    if (::ioctl(static_cast<int>(port_->handle()), FIONREAD, &waiting) != 0) waiting = 0;
#endif
    waiting += static_cast<int>(port_->bytesAvailable());
    port_->clear(QSerialPort::Input);
    port_->readAll();
    return waiting;
}

bool QtSerialPortDriver::write(const char* data, std::size_t length) {
    if (!port_ || !port_->isOpen()) return false;
    QSerialPort& p = *port_;
    p.clearError();
    if (p.write(data, static_cast<qint64>(length)) != static_cast<qint64>(length)) return false;
    while (p.bytesToWrite() > 0) {
        if (!p.waitForBytesWritten(kWriteWaitMs)) return false;
    }
    return p.error() == QSerialPort::NoError;
}

int QtSerialPortDriver::read(char* dest, std::size_t capacity, int waitMs) {
    if (!port_ || !port_->isOpen()) return -1;
    QSerialPort& p = *port_;
    if (capacity == 0) return 0;
    if (p.bytesAvailable() == 0) {
        p.clearError();
        if (!p.waitForReadyRead(waitMs)) {
            const auto error = p.error();
            return error == QSerialPort::NoError || error == QSerialPort::TimeoutError ? 0 : -1;
        }
    }
    const qint64 n = p.read(dest, static_cast<qint64>(capacity));
    return n < 0 ? -1 : static_cast<int>(n);
}

} // namespace korvex::device
