// The "COM port" list from the ports the system reports: order, texts and tooltips, the choice
// kept across rebuilds and remembered by its port name, and the port reopened by the next action
// after it was unplugged and came back.
#include "ui/support/DevicePagesTestSupport.h"

#include "device/link/PortRecord.h"
#include "sim/SimulatedGateway.h"
#include "ui/pages/connect/ConnectPage.h"
#include "ui/widgets/PortComboBox.h"
#include "ui/window/StoredOptions.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <filesystem>

#include <gtest/gtest.h>

namespace korvex::ui::test {
namespace {

using device::PortRecord;
using widgets::portChoices;

const QString kById = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0");

const PortRecord kAdapter{
    "/dev/ttyUSB0", kById.toStdString(), "FT232R USB UART", "FTDI", 0x0403, 0x6001, "A1"};
const PortRecord kPlain{"/dev/ttyS4", "/dev/ttyS4", {}, {}, {}, {}, {}};
const PortRecord kWindowsPort{"\\\\.\\COM3", "COM3", "USB Serial Port", "FTDI", 0x0403, 0x6015, "B2"};

TEST(PortList, DetectedPortsComeFirstWithTheirDescriptionsAndTooltips) {
    const struct {
        const char* platform;
        std::vector<PortRecord> ports;
        bool windows;
        QStringList texts; // the first entries, then the count
        int count;
    } cases[] = {
        {"Linux",
         {kAdapter, kPlain},
         false,
         {kById + " - FT232R USB UART", "/dev/ttyS4", "Simulated gateway"},
         3},
        {"Linux, nothing plugged in", {}, false, {"Simulated gateway"}, 1},
        // COM3 is listed once, as reported; COM1 to COM20 follow.
        {"Windows", {kWindowsPort}, true, {"COM3 - USB Serial Port", "COM1", "COM2", "COM4"}, 21},
    };
    for (const auto& c : cases) {
        const auto choices = portChoices(c.ports, c.windows);
        ASSERT_EQ(static_cast<int>(choices.size()), c.count) << c.platform;
        for (int i = 0; i < c.texts.size(); ++i) EXPECT_EQ(choices[i].text, c.texts[i]) << c.platform;
        EXPECT_TRUE(choices.back().simulated) << c.platform;
    }
    const auto onLinux = portChoices({kAdapter, kPlain}, false);
    EXPECT_EQ(onLinux[0].portName, kById); // what is opened and remembered
    EXPECT_EQ(onLinux[0].toolTip,
              QStringLiteral(
                  "FT232R USB UART\nManufacturer: FTDI\nUSB 0403:6001\nSerial number: A1\n/dev/ttyUSB0"));
    EXPECT_EQ(onLinux[1].toolTip, QStringLiteral("/dev/ttyS4"));
    EXPECT_EQ(portChoices({kWindowsPort}, true)[0].portName, QStringLiteral("COM3"));
}

TEST(PortList, TheChoiceIsKeptAcrossRebuildsAndRememberedByItsPortName) {
    app();
    std::vector<PortRecord> ports;
    widgets::PortComboBox empty([&] { return ports; });
    EXPECT_EQ(empty.currentText(), QString()); // not the simulated gateway by default

    ports = {kPlain, kAdapter};
    widgets::PortComboBox box([&] { return ports; });
    EXPECT_EQ(box.currentText(), QStringLiteral("/dev/ttyS4"));
    box.setCurrentIndex(1);
    EXPECT_EQ(box.toolTip(), portChoices({kAdapter}, false)[0].toolTip);
    ports.insert(ports.begin(), {"/dev/ttyACM0", "/dev/ttyACM0", "Plugged in meanwhile", {}, {}, {}, {}});
    box.rebuild();
    EXPECT_EQ(box.count(), 4);
    EXPECT_EQ(box.currentIndex(), 2);
    EXPECT_EQ(box.choice().portName, kById);
    EXPECT_EQ(box.rememberedName(), kById);
    EXPECT_EQ(box.itemData(2, Qt::ToolTipRole).toString(), box.toolTip());

    // A remembered name shows its entry; one not listed (an older run's COM5) stays as typed.
    const struct {
        QString remembered;
        QString shown;
        QString opened;
    } cases[] = {{kById, kById + " - FT232R USB UART", kById},
                 {QStringLiteral("COM5"), QStringLiteral("COM5"), QStringLiteral("COM5")},
                 {QStringLiteral("Simulated gateway"), QStringLiteral("Simulated gateway"), QString()}};
    for (const auto& c : cases) {
        box.showChoice(c.remembered);
        EXPECT_EQ(box.currentText(), c.shown);
        EXPECT_EQ(box.choice().portName, c.opened);
        EXPECT_EQ(box.rememberedName(), c.remembered);
    }
}

// The simulated gateway stands in for a USB adapter: its line behind a link in a folder standing
// in for /dev/serial/by-id, and a serial number the lister gives whatever line it is on now.
struct UnpluggedGateway {
    QTemporaryDir dir;
    sim::SimulatedGateway gateway{sim::sampleConfig()};
    std::string byId = (dir.path() + QStringLiteral("/by-id")).toStdString();
    std::string first = byId + "/usb-Korvex_Gateway_K1-if00";

    UnpluggedGateway() {
        std::filesystem::create_directories(byId);
        std::string error;
        EXPECT_TRUE(gateway.start(&error)) << error;
        EXPECT_TRUE(gateway.setLink(first, &error)) << error;
    }
    ~UnpluggedGateway() { gateway.stop(); }
    std::vector<PortRecord> ports() const {
        std::vector<PortRecord> records{
            {gateway.slavePath(), {}, "Korvex gateway", {}, 0x0403, 0x6001, "K1"}};
        device::nameByLinks(records, byId);
        return records;
    }
};

// Sends "usage" from the terminal and waits for what the box says.
QString sendUsage(ConnectPage& page) {
    page.commandBox()->setPlainText(QStringLiteral("usage"));
    page.sendCommand();
    waitFor([&] {
        const QString box = page.responseBox()->toPlainText();
        return box.contains(QStringLiteral(":->")) || box.startsWith(QStringLiteral("Error"));
    });
    return page.responseBox()->toPlainText();
}

TEST(PortList, ThePortIsReopenedByTheNextActionAfterItCameBack) {
    const struct {
        const char* why;
        bool otherName; // back under another link, found by its serial number
    } cases[] = {{"same by-id name", false}, {"same serial number", true}};
    for (const auto& c : cases) {
        UnpluggedGateway usb;
        Tool tool(true);
        ConnectPage& page = tool.page<ConnectPage>(kConnectPage);
        tool.window->device().link().setPortLister([&usb] { return usb.ports(); });
        page.portList()->setEditText(QString::fromStdString(usb.first));
        emit page.portList()->choiceMade();
        QTest::mouseClick(page.connectButton(), Qt::LeftButton);
        ASSERT_TRUE(tool.window->device().portOpen()) << c.why;
        // Connect's own check of the line has ended.
        ASSERT_TRUE(waitFor([&] { return page.responseBox()->toPlainText().contains(u'\n'); }, 15000));

        usb.gateway.hangUp();
        EXPECT_EQ(sendUsage(page).toStdString(), "Error opening COM port") << c.why;
        EXPECT_FALSE(tool.window->connectedShown()) << c.why;

        ASSERT_TRUE(usb.gateway.comeBack()) << c.why;
        std::string now = usb.first;
        if (c.otherName) {
            now = usb.byId + "/usb-Korvex_Gateway_K1-if01";
            std::filesystem::remove(usb.first);
            ASSERT_TRUE(usb.gateway.setLink(now)) << c.why;
        }
        const QString answer = sendUsage(page);
        EXPECT_TRUE(answer.contains(QStringLiteral("Last Obj"))) << c.why << ": " << answer.toStdString();
        EXPECT_TRUE(tool.window->connectedShown()) << c.why;
        // The list follows the port, and the next run starts with it.
        EXPECT_EQ(page.portList()->currentText().toStdString(), now) << c.why;
        EXPECT_EQ(window::stored::port().toStdString(), now) << c.why;
    }
}

} // namespace
} // namespace korvex::ui::test
