// The Modbus Port page: how the settings are shown and read back, the TCP/IP box checks, the
// change detection behind the page's indicator, the model dependence, the Write Device checks,
// the unit spinner, and reads, writes and error counters against the simulated gateway.
#include "ui/support/DevicePagesTestSupport.h"
#include "ui/support/ListPagesTestSupport.h"

#include "ui/dialogs/TcpMap.h"
#include "ui/pages/modbusport/ModbusPortFields.h"
#include "ui/pages/modbusport/ModbusPortPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace korvex::ui::test {
namespace {

ModbusSettings settings(uint16_t baud, uint8_t flags, uint16_t timeout = 10) {
    ModbusSettings s;
    s.baud = baud;
    s.flags = flags;
    s.timeout = timeout;
    return s;
}

TEST(PortFields, LoadShowsTheStoredSettings) {
    const struct {
        ModbusSettings stored;
        int baudEntry;
        int formatEntry;
        bool slave;
        const char* timeout;
    } cases[] = {
        {settings(600, 0), 3, 0, false, "1.0"}, // unknown rates show "9600"
        {settings(1200, PortFlag::GatewayIsSlave), 0, 0, true, "1.0"},
        {settings(38400, PortFlag::Parity), 5, 1, false, "1.0"},
        {settings(19200, PortFlag::Parity | PortFlag::OddParity), 4, 2, false, "1.0"},
        {settings(4800, PortFlag::TwoStopBits, 25), 2, 3, false, "2.5"},
        {settings(9600, PortFlag::OddParity, 0), 3, 0, false, "0.0"}, // odd without parity is none
    };
    for (const auto& c : cases) {
        const PortFields f = portFields(c.stored);
        EXPECT_EQ(f.baudEntry, c.baudEntry) << c.stored.baud;
        EXPECT_EQ(f.formatEntry, c.formatEntry) << int(c.stored.flags);
        EXPECT_EQ(f.slave, c.slave);
        EXPECT_EQ(f.timeout, QString::fromLatin1(c.timeout));
    }
}

TEST(PortFields, ReadTakesTheBoxesAsTheGatewayWantsThem) {
    const struct {
        const char* timeout;
        const char* slave;
        const char* predelay;
        uint16_t tenths;
        uint8_t slaveAddress;
        uint16_t predelayMs;
    } cases[] = {
        {"2.55", "7", "50", 25, 7, 50},
        {"", "", "", 0, 0, 0},
        {"abc", "x", "y", 0, 0, 0},
        {" 1.5s", "12abc", "0100", 15, 12, 100},
        {"-3", "-5", "-1", 0, 0, 0},                 // nothing negative wraps round
        {"9999", "300", "70000", 65535, 255, 65535}, // held to what the fields take
    };
    for (const auto& c : cases) {
        PortFields f;
        f.timeout = QString::fromLatin1(c.timeout);
        f.slaveAddress = QString::fromLatin1(c.slave);
        f.predelay = QString::fromLatin1(c.predelay);
        const ModbusSettings s = settingsFromFields(f, ModbusSettings{});
        EXPECT_EQ(s.timeout, c.tenths) << c.timeout;
        EXPECT_EQ(s.slave, c.slaveAddress) << c.slave;
        EXPECT_EQ(s.predelay, c.predelayMs) << c.predelay;
    }
}

TEST(PortFields, FlagsComeFromTheChoicesAndKeepTheConfirmedMark) {
    const struct {
        int format;
        bool slave;
        bool highRegFirst;
        uint8_t previous;
        uint8_t flags;
    } cases[] = {
        {0, false, false, 0xFF, PortFlag::ConfirmedInDevice},
        {1, true, false, 0, PortFlag::Parity | PortFlag::GatewayIsSlave},
        {2, false, true, 0, PortFlag::Parity | PortFlag::OddParity | PortFlag::HighRegFirst},
        {3, false, false, PortFlag::ConfirmedInDevice, PortFlag::TwoStopBits | PortFlag::ConfirmedInDevice},
    };
    for (const auto& c : cases) {
        PortFields f;
        f.formatEntry = c.format;
        f.slave = c.slave;
        f.highRegFirst = c.highRegFirst;
        f.baudEntry = 1;
        ModbusSettings previous;
        previous.flags = c.previous;
        const ModbusSettings s = settingsFromFields(f, previous);
        EXPECT_EQ(s.flags, c.flags) << c.format;
        EXPECT_EQ(s.baud, 2400);
    }
}

TEST(TcpChecks, AddressRules) {
    const IpAddress gateway{192, 168, 1, 1};
    const IpAddress mask{255, 255, 255, 0};
    const AddressRule plain{};
    const AddressRule zeros{true};
    const AddressRule sameNet{false, &gateway, &mask};
    const struct {
        const char* text;
        const AddressRule* rule;
        AddressCheck result;
        IpAddress stored;
    } cases[] = {
        {"192.168.1.20", &plain, AddressCheck::Ok, {192, 168, 1, 20}},
        {" 10. 0.0.7", &plain, AddressCheck::Ok, {10, 0, 0, 7}},
        {"192.168.1", &plain, AddressCheck::Invalid, {}},
        {"192.168.1.256", &plain, AddressCheck::Invalid, {}},
        {"192.168.-1.2", &plain, AddressCheck::Invalid, {}},
        {"a.b.c.d", &plain, AddressCheck::Invalid, {}},
        {"0.1.2.3", &plain, AddressCheck::Invalid, {}},
        {"1.2.3.0", &plain, AddressCheck::Invalid, {}},
        {"255.255.255.0", &zeros, AddressCheck::Ok, {255, 255, 255, 0}},
        {"192.168.2.20", &sameNet, AddressCheck::DomainMismatch, {}},
        {"192.168.1.99", &sameNet, AddressCheck::Ok, {192, 168, 1, 99}},
    };
    for (const auto& c : cases) {
        IpAddress out{};
        EXPECT_EQ(checkAddress(QString::fromLatin1(c.text), *c.rule, out), c.result) << c.text;
        if (c.result == AddressCheck::Ok) {
            EXPECT_EQ(out, c.stored) << c.text;
        }
    }
    EXPECT_STREQ(addressMessage(AddressCheck::Invalid), "Invalid IP address");
    EXPECT_STREQ(addressMessage(AddressCheck::DomainMismatch), "IP not on same domain");
    EXPECT_STREQ(addressMessage(AddressCheck::Other), "Error in IP address");
}

TEST(TcpChecks, PortRange) {
    const struct {
        const char* text;
        bool ok;
    } cases[] = {{"0", false}, {"65535", false}, {"65534", true}, {"1", true}, {"abc", false}, {"-2", false}};
    for (const auto& c : cases) {
        uint16_t port = 7;
        EXPECT_EQ(parseTcpPort(QString::fromLatin1(c.text), port), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(port, QString::fromLatin1(c.text).toInt());
        }
    }
}

TEST(ModbusPortPage, FieldChangeDropsTheConfirmedMarkAndTheSavedFlag) {
    Tool tool;
    ModbusPortPage& page = tool.page<ModbusPortPage>(kModbusPortPage);
    tool.map->modbus.flags |= PortFlag::ConfirmedInDevice;
    tool.window->session().setNodeInSync(true);
    page.refresh();
    ASSERT_TRUE(page.indicatorOn());
    ASSERT_TRUE(tool.window->session().portInSync());

    // Leaving a box unchanged changes nothing.
    typeInto(page.timeoutBox(), page.timeoutBox()->text());
    EXPECT_TRUE(page.indicatorOn());
    EXPECT_TRUE(tool.map->saveIndicators.portSettings);

    typeInto(page.timeoutBox(), QStringLiteral("2.55"));
    EXPECT_EQ(tool.map->modbus.timeout, 25);
    EXPECT_FALSE(page.indicatorOn());
    EXPECT_FALSE(tool.window->session().portInSync());
    EXPECT_FALSE(tool.map->modbus.flags & PortFlag::ConfirmedInDevice);
    EXPECT_FALSE(tool.map->saveIndicators.portSettings);
    page.refresh();
    EXPECT_EQ(page.timeoutBox()->text(), QStringLiteral("2.5"));
}

TEST(ModbusPortPage, SlaveAndMasterActAsOneChoice) {
    Tool tool;
    ModbusPortPage& page = tool.page<ModbusPortPage>(kModbusPortPage);
    const struct {
        QCheckBox* box;
        bool slave;
    } clicks[] = {{page.masterBox(), false}, {page.slaveBox(), true}, {page.slaveBox(), false}};
    for (const auto& c : clicks) {
        QTest::mouseClick(c.box, Qt::LeftButton, {}, QPoint(4, c.box->height() / 2));
        EXPECT_EQ(page.slaveBox()->isChecked(), c.slave);
        EXPECT_EQ(page.masterBox()->isChecked(), !c.slave);
        EXPECT_EQ(bool(tool.map->modbus.flags & PortFlag::GatewayIsSlave), c.slave);
    }
}

TEST(ModbusPortPage, StoredBaudOutsideTheListShowsAs9600) {
    Tool tool;
    tool.map->modbus.baud = 600;
    ModbusPortPage& page = tool.page<ModbusPortPage>(kModbusPortPage);
    page.refresh();
    EXPECT_EQ(page.baudList()->currentText(), QStringLiteral("9600"));
}

TEST(ModbusPortPage, OnlyKorvexCShowsTheTcpControls) {
    Tool tool;
    tool.window->show();
    ModbusPortPage& page = tool.page<ModbusPortPage>(kModbusPortPage);
    // Port settings confirmed, TCP settings not: in sync for every model but Korvex-C.
    tool.map->modbus.flags |= PortFlag::ConfirmedInDevice;
    for (int model : {0, 2, 1}) {
        tool.window->setDeviceModel(model);
        tool.window->selectPage(kModbusPortPage);
        const bool tcp = model == 2;
        EXPECT_EQ(page.tcpMapGrid()->isVisible(), tcp) << model;
        EXPECT_EQ(page.ipBox()->isVisible(), tcp) << model;
        EXPECT_EQ(page.baudList()->isEnabled(), !tcp) << model;
        EXPECT_EQ(page.predelayBox()->isEnabled(), !tcp) << model;
        EXPECT_EQ(page.indicatorOn(), !tcp) << model;
        tool.window->selectPage(kConnectPage);
    }
}

TEST(ModbusPortPage, TcpBoxesCheckBeforeStoring) {
    Tool tool;
    ModbusPortPage& page = tool.page<ModbusPortPage>(kModbusPortPage);
    tool.map->tcpConfirmed = true;
    EXPECT_EQ(page.subnetBox()->text(), QStringLiteral("255.255.255.0"));
    EXPECT_EQ(page.ipBox()->text(), QStringLiteral("0.0.0.0"));
    const struct {
        QLineEdit* box;
        const char* text;
        const char* message; // nullptr: stored silently
    } steps[] = {
        {page.subnetBox(), "255.255.255.0", nullptr},
        {page.tcpPortBox(), "0", "Invalid TCP port number"},
        {page.tcpPortBox(), "65535", "Invalid TCP port number"},
        {page.tcpPortBox(), "65534", nullptr},
        {page.gatewayBox(), "192.168.1.1", "IP not on same domain"}, // the IP address is still 0.0.0.0
        {page.ipBox(), "192.168.1.20", nullptr},
        {page.gatewayBox(), "192.168.1.1", nullptr},
        {page.ipBox(), "192.168.7.20", "IP not on same domain"},
        {page.ipBox(), "192.168.1.300", "Invalid IP address"},
    };
    for (const auto& s : steps) {
        tool.prompter.messages.clear();
        const TcpSettings before = tool.map->tcp;
        typeInto(s.box, QString::fromLatin1(s.text));
        if (s.message) {
            ASSERT_EQ(tool.prompter.messageTexts(), QStringList{QString::fromLatin1(s.message)}) << s.text;
            EXPECT_EQ(tool.prompter.messages[0].icon, MessageIcon::Error);
            EXPECT_TRUE(tool.map->tcp == before) << s.text;
        } else {
            EXPECT_TRUE(tool.prompter.messages.empty()) << s.text;
        }
    }
    EXPECT_EQ(tool.map->tcp.port, 65534);
    EXPECT_EQ(tool.map->tcp.ipaddr, (IpAddress{192, 168, 1, 20}));
    EXPECT_EQ(tool.map->tcp.gateway, (IpAddress{192, 168, 1, 1}));
    EXPECT_FALSE(tool.map->tcpConfirmed);
    EXPECT_FALSE(tool.map->saveIndicators.portSettings);
    // After every check the boxes show what is stored.
    EXPECT_EQ(page.ipBox()->text(), QStringLiteral("192.168.1.20"));
    EXPECT_EQ(page.tcpPortBox()->text(), QStringLiteral("65534"));
}

TEST(ModbusPortPage, WriteDeviceForKorvexCChecksTheTcpSettingsFirst) {
    Tool tool;
    tool.window->setDeviceModel(2);
    ModbusPortPage& page = tool.page<ModbusPortPage>(kModbusPortPage);
    page.writeDevice();
    EXPECT_EQ(tool.prompter.messageTexts(), QStringList{QStringLiteral("Invalid TCP/IP settings.")});

    tool.map->tcp.ipaddr = {10, 0, 0, 5};
    tool.prompter.messages.clear();
    tool.prompter.answers = {false};
    page.writeDevice();
    ASSERT_EQ(tool.prompter.messages.size(), 1u);
    EXPECT_EQ(
        tool.prompter.messages[0].text,
        QStringLiteral("You have indicated that this device will be a Modbus master,\nbut you have no TCP "
                       "slave devices defined.\nSend anyway?"));
    EXPECT_EQ(tool.prompter.messages[0].buttons, MessageButtons::OkCancel);

    // With the gateway as Modbus slave nothing is asked; the write goes on to the port.
    tool.window->device().usePort({QString(), QStringLiteral("/dev/korvex-no-such-port"), false});
    tool.window->options().gatewaySlave = true;
    tool.prompter.messages.clear();
    page.writeDevice();
    EXPECT_TRUE(tool.prompter.messages.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(page.statusText(), QStringLiteral("Error opening COM port"));
}

TEST(ModbusPortPage, TcpMapDoubleClickEditsTheEntryAndTakesThePortOutOfSync) {
    Tool tool;
    tool.window->setDeviceModel(2);
    showPage(tool, kModbusPortPage);
    ModbusPortPage& page = tool.page<ModbusPortPage>(kModbusPortPage);
    tool.map->modbus.flags |= PortFlag::ConfirmedInDevice;
    tool.map->tcpConfirmed = true;
    page.refresh();
    ASSERT_TRUE(page.indicatorOn());
    int entry = 0;
    onNextDialog([&entry](QDialog& dialog) {
        auto* editor = qobject_cast<TcpMap*>(&dialog);
        ASSERT_NE(editor, nullptr);
        entry = editor->entryNumber();
        for (const char* name : {"firstUnit", "lastUnit", "mapTo"}) {
            auto* box = dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
            box->setText(QStringLiteral("3"));
            box->setModified(true);
        }
        dialog.findChild<QPushButton*>(QStringLiteral("apply"))->click();
    });
    doubleClickRow(page.tcpMapGrid(), 0);
    EXPECT_EQ(entry, 1);
    EXPECT_EQ(page.selectedTcpEntry(), 1);
    ASSERT_TRUE(waitFor([&] { return !page.indicatorOn(); }));
    EXPECT_EQ(page.tcpMapGrid()->model()->index(0, 0).data().toString(), QStringLiteral("3"));
    EXPECT_FALSE(tool.window->session().portInSync());
    EXPECT_FALSE(tool.map->saveIndicators.portSettings);
    page.refresh(); // a later redraw does not take the settings for confirmed again
    EXPECT_FALSE(page.indicatorOn());
}

TEST(ModbusPortPage, UnitBoxAndSpinnerFollowEachOther) {
    Tool tool;
    ModbusPortPage& page = tool.page<ModbusPortPage>(kModbusPortPage);
    EXPECT_EQ(page.unitBox()->text(), QStringLiteral("1"));
    QTest::keyClicks(page.unitBox(), QStringLiteral("7")); // "17"
    EXPECT_EQ(page.unitPosition(), 17);
    EXPECT_EQ(page.unitBox()->text(), QStringLiteral("17")); // the spinner does not write back
    page.stepUnit(1);
    EXPECT_EQ(page.unitBox()->text(), QStringLiteral("18"));
    page.unitBox()->clear();
    QTest::keyClicks(page.unitBox(), QStringLiteral("x"));
    EXPECT_EQ(page.unitPosition(), 0);
    page.stepUnit(-1);
    EXPECT_EQ(page.unitBox()->text(), QStringLiteral("0"));
}

TEST(ModbusPortPage, ReadAndWriteKorvexAAgainstTheGateway) {
    SimTool tool;
    ModbusPortPage& page = tool.page<ModbusPortPage>(kModbusPortPage);
    tool.window->session().setNodeInSync(true);
    tool.map->modbus.baud = 4800;
    page.refresh();
    QTest::mouseClick(page.writeButton(), Qt::LeftButton);
    ASSERT_TRUE(tool.waitForStatus(kModbusPortPage, QStringLiteral("Done")));
    EXPECT_TRUE(tool.waitUntilIdle());
    EXPECT_TRUE(page.indicatorOn());
    EXPECT_TRUE(tool.window->session().portInSync());
    EXPECT_EQ(tool.gateway().withConfig([](sim::GatewayConfig& c) {
        const std::string* baud = c.portSettings.find("baud");
        return baud ? *baud : std::string();
    }),
              "4800");

    // The device's settings come back into the fields.
    tool.gateway().withConfig([](sim::GatewayConfig& c) {
        c.portSettings.set("baud", "38400");
        return 0;
    });
    page.setStatus(QString());
    QTest::mouseClick(page.readButton(), Qt::LeftButton);
    ASSERT_TRUE(tool.waitForStatus(kModbusPortPage, QStringLiteral("Done")));
    tool.waitUntilIdle();
    EXPECT_EQ(page.baudList()->currentText(), QStringLiteral("38400"));
    EXPECT_TRUE(page.indicatorOn());
    const std::vector<std::string> lines = tool.gateway().receivedLines();
    EXPECT_EQ(lines.back(), "mpx"); // no TCP steps for Korvex-A

    page.formatList()->setCurrentIndex(2);
    emit page.formatList()->activated(2);
    EXPECT_FALSE(page.indicatorOn());
    EXPECT_FALSE(tool.window->session().portInSync());
}

TEST(ModbusPortPage, WriteAndReadKorvexCWithTheTcpSettingsAndTheMap) {
    SimTool tool;
    tool.window->setDeviceModel(2);
    tool.window->options().gatewaySlave = true;
    ModbusPortPage& page = tool.page<ModbusPortPage>(kModbusPortPage);
    tool.map->tcp.ipaddr = {10, 0, 0, 5};
    tool.map->tcpMap[0] = TcpDeviceMap{1, 4, 1, {10, 0, 0, 9}, 502};
    page.refresh();
    EXPECT_EQ(page.tcpMapGrid()->model()->index(0, 3).data().toString(), QStringLiteral("10.0.0.9"));
    EXPECT_EQ(page.tcpMapGrid()->model()->index(1, 3).data().toString(), QString());
    QTest::mouseClick(page.writeButton(), Qt::LeftButton);
    ASSERT_TRUE(tool.waitForStatus(kModbusPortPage, QStringLiteral("Done"), 15000))
        << page.statusText().toStdString();
    tool.waitUntilIdle();
    EXPECT_TRUE(page.indicatorOn());
    EXPECT_TRUE(tool.map->tcpConfirmed);
    const std::string sent = tool.gateway().withConfig([](sim::GatewayConfig& c) { return c.tcpMap[0]; });
    EXPECT_NE(sent.find("10.0.0.9"), std::string::npos) << sent;

    // Reading brings the gateway's map back into the page, and its TCP/IP settings when the page
    // has no IP address of its own.
    tool.map->tcp.ipaddr = {0, 0, 0, 0};
    tool.gateway().withConfig([](sim::GatewayConfig& c) {
        c.ipSettings.set("ipaddr", "10.0.0.6");
        c.tcpMap[1] = "5,6,2,10.0.0.12:502";
        return 0;
    });
    page.setStatus(QString());
    QTest::mouseClick(page.readButton(), Qt::LeftButton);
    ASSERT_TRUE(tool.waitForStatus(kModbusPortPage, QStringLiteral("Done"), 15000));
    tool.waitUntilIdle();
    EXPECT_EQ(tool.map->tcp.ipaddr, (IpAddress{10, 0, 0, 6}));
    EXPECT_EQ(page.ipBox()->text(), QStringLiteral("10.0.0.6"));
    EXPECT_EQ(page.tcpMapGrid()->model()->index(1, 3).data().toString(), QStringLiteral("10.0.0.12"));
    EXPECT_TRUE(page.indicatorOn());

    // A TCP field change takes the settings out of sync at once.
    typeInto(page.tcpPortBox(), QStringLiteral("503"));
    EXPECT_FALSE(page.indicatorOn());
    EXPECT_FALSE(tool.window->session().portInSync());
}

TEST(ModbusPortPage, ErrorInfoTexts) {
    SimTool tool;
    ModbusPortPage& page = tool.page<ModbusPortPage>(kModbusPortPage);
    tool.gateway().withConfig([](sim::GatewayConfig& c) {
        c.errorCounters[3] = {2, 0x11};
        c.errorCounters[4] = {5, 0};
        return 0;
    });
    const struct {
        const char* unit;
        const char* text;
    } cases[] = {
        {"1", "No errors indicated.\n"},
        {"3",
         "Exception code: 2 (Illegal data address)\nResponse timeouts detected.\nCRC errors detected.\n"},
        {"4", "Exception code: 5\n"},
    };
    for (const auto& c : cases) {
        page.unitBox()->setText(QString::fromLatin1(c.unit));
        QTest::mouseClick(page.errorInfoButton(), Qt::LeftButton);
        EXPECT_TRUE(tool.waitForStatus(kModbusPortPage, QString::fromLatin1(c.text)))
            << c.unit << ": " << page.statusText().toStdString();
        tool.waitUntilIdle();
    }
}

} // namespace
} // namespace korvex::ui::test
