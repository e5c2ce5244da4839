// Values that a file or the gateway put into a page's fields were never typed, so no box ever
// checked them: each action checks what it sends when it starts, says why in the field's own
// words, and sends nothing while a value is bad.
#include "ui/support/DevicePagesTestSupport.h"

#include "ui/pages/lonworks/LonWorksPage.h"
#include "ui/pages/modbusport/ModbusPortPage.h"

#include <QPushButton>
#include <QTest>

#include <functional>

namespace korvex::ui::test {
namespace {

void tcpGateway(ObjectMap& map, IpAddress ip, IpAddress gateway, uint16_t port) {
    map.deviceModel = kTcpDeviceModel;
    map.tcp.ipaddr = ip;
    map.tcp.gateway = gateway;
    map.tcp.port = port;
}

TEST(SendChecks, ValuesNeverTypedAreCheckedBeforeAnythingIsSent) {
    const auto writeDevice = [](Tool& t) { t.page<ModbusPortPage>(kModbusPortPage).writeButton()->click(); };
    const auto setDomain = [](int index) {
        return [index](Tool& t) { t.page<LonWorksPage>(kLonWorksPage).setDomainButton(index)->click(); };
    };
    const struct {
        const char* name;
        std::function<void(Tool&)> setUp;
        Page page;
        std::function<void(Tool&)> press;
        const char* message;
    } cases[] = {
        {"TCP port from a file",
         [](Tool& t) {
             tcpGateway(*t.map, {192, 168, 1, 10}, {0, 0, 0, 0}, 65535);
         },
         kModbusPortPage, writeDevice, "Invalid TCP port number"},
        {"IP outside the gateway's network",
         [](Tool& t) {
             tcpGateway(*t.map, {10, 0, 0, 5}, {192, 168, 1, 1}, 502);
         },
         kModbusPortPage, writeDevice, "IP not on same domain"},
        {"domain defaults", [](Tool&) {}, kLonWorksPage, setDomain(0),
         "Subnet must be a number from 1 to 255."},
        {"node left at 0", [](Tool& t) { t.window->device().engine().identity.domains[1].subnet = 12; },
         kLonWorksPage, setDomain(1), "Node must be a number from 1 to 127."},
        {"program ID from a file", [](Tool& t) { t.map->node.pid = 5; }, kLonWorksPage,
         [](Tool& t) { t.page<LonWorksPage>(kLonWorksPage).alterButton()->click(); },
         "Program ID's 1-20 are reserved.\nKorvex LonMark ID is 1."},
    };
    for (const auto& c : cases) {
        SimTool tool;
        {
            std::lock_guard lock(tool.window->session().mutex());
            c.setUp(tool);
        }
        tool.window->selectPage(c.page);
        tool.window->page(c.page)->refresh();
        c.press(tool);
        EXPECT_EQ(tool.prompter.messageTexts(), QStringList{QString::fromLatin1(c.message)}) << c.name;
        EXPECT_FALSE(tool.window->device().portOpen()) << c.name;
        EXPECT_EQ(tool.gateway().commandCount(), 0) << c.name;
    }
}

} // namespace
} // namespace korvex::ui::test
