#pragma once
// The one lock around Qt's serial-port set-up (port objects, thread adoption, port enumeration):
// see QtSerialPortDriver.cpp for why these steps are taken one at a time. Any thread.
#include <mutex>

namespace korvex::device {

std::mutex& portSetUpMutex();

} // namespace korvex::device
