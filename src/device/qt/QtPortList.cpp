#include "device/qt/QtPortList.h"

#include "device/qt/PortSetUp.h"

#include <QSerialPortInfo>

#include <cstdlib>

namespace korvex::device {

namespace {

PortRecord recordOf(const QSerialPortInfo& info) {
    PortRecord record;
#ifdef Q_OS_WIN
    // "COM3" is what opens it; the system location is \\.\COM3.
    record.name = info.portName().toStdString();
#endif
    record.location = info.systemLocation().toStdString();
    record.description = info.description().toStdString();
    record.manufacturer = info.manufacturer().toStdString();
    if (info.hasVendorIdentifier()) record.vendorId = info.vendorIdentifier();
    if (info.hasProductIdentifier()) record.productId = info.productIdentifier();
    record.serialNumber = info.serialNumber().toStdString();
    return record;
}

} // namespace

std::vector<PortRecord> systemPortRecords(const std::string& byIdFolder) {
    QList<QSerialPortInfo> ports;
    {
        std::lock_guard lock(portSetUpMutex());
        ports = QSerialPortInfo::availablePorts();
    }
    std::vector<PortRecord> records;
    for (const QSerialPortInfo& info : ports) records.push_back(recordOf(info));
    nameByLinks(records, byIdFolder);
    return records;
}

std::string serialByIdFolder() {
    const char* folder = std::getenv("KORVEX_SERIAL_BY_ID");
    return folder && *folder ? std::string(folder) : std::string(kSerialByIdFolder);
}

PortLister systemPortLister() {
    return [folder = serialByIdFolder()] { return systemPortRecords(folder); };
}

} // namespace korvex::device
