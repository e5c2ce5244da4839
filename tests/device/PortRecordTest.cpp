// Port records: stable names from a folder of by-id links, finding a port by any of its names,
// the port found again by its serial number, and the link reopening it there; why an open failed
// and the hint that follows the failure text.
#include "device/link/PortRecord.h"
#include "DeviceTestSupport.h"
#include "FakeDriver.h"
#include "device/link/LinkMessages.h"
#include "device/link/SerialLink.h"
#include "device/reporting/StatusReporter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

namespace korvex::device {
namespace {

namespace fs = std::filesystem;

struct TempFolder {
    fs::path path = fs::temp_directory_path() / ("korvex-ports-" + std::to_string(::getpid()));
    TempFolder() { fs::create_directories(path / "by-id"); }
    ~TempFolder() { fs::remove_all(path); }
    std::string file(const std::string& name) {
        const fs::path file = path / name;
        std::ofstream(file).put('\n');
        return file.string();
    }
    std::string link(const std::string& name, const std::string& target) {
        const fs::path link = path / "by-id" / name;
        fs::create_symlink(target, link);
        return link.string();
    }
};

TEST(PortRecord, ByIdLinksNameThePortsTheyResolveTo) {
    TempFolder dir;
    const std::string usb0 = dir.file("ttyUSB0");
    const std::string usb1 = dir.file("ttyUSB1");
    const std::string acm0 = dir.file("ttyACM0");
    const std::string adapter = dir.link("usb-FTDI_Adapter_A1-if00-port0", usb0);
    dir.link("usb-Other_B2-if00", acm0); // a port the system did not report
    const std::string byId = (dir.path / "by-id").string();

    std::vector<PortRecord> records{{usb0, {}, "FT232R", {}, {}, {}, "A1"}, {usb1, {}, {}, {}, {}, {}, {}}};
    nameByLinks(records, byId);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].name, adapter);
    EXPECT_EQ(records[1].name, usb1); // no link: its location
    EXPECT_EQ(records[2].name, (dir.path / "by-id" / "usb-Other_B2-if00").string());
    EXPECT_EQ(records[2].location, fs::canonical(acm0).string());

    const struct {
        std::string name;
        const PortRecord* found;
    } lookups[] = {{adapter, &records[0]}, {usb0, &records[0]}, {usb1, &records[1]},
                   {"COM3", nullptr},      {"", nullptr},       {(dir.path / "missing").string(), nullptr}};
    for (const auto& l : lookups) EXPECT_EQ(findPort(records, l.name), l.found) << l.name;

    std::vector<PortRecord> none{{usb1, {}, {}, {}, {}, {}, {}}};
    nameByLinks(none, (dir.path / "no-such-folder").string());
    EXPECT_EQ(none[0].name, usb1);
}

// Opens only the paths that are plugged in; says why the others failed.
class PluggedDriver : public test::FakeDriver {
public:
    std::set<std::string> plugged;
    OpenError refusal = OpenError::NotFound;

    bool open(const std::string& path) override {
        opened_ = plugged.count(path) > 0;
        refuseOpen(!opened_);
        return FakeDriver::open(path);
    }
    OpenError openError() const override { return opened_ ? OpenError::None : refusal; }
    void unplug() {
        plugged.clear();
        close();
    }

private:
    bool opened_ = false;
};

TEST(PortRecord, TheLinkReopensAPortThatCameBackUnderAnotherName) {
    const PortRecord adapter{"/dev/ttyUSB0", "/dev/ttyUSB0", "FT232R", {}, 0x0403, 0x6001, "A1"};
    PortRecord noSerial = adapter;
    noSerial.serialNumber.clear();
    const struct {
        const char* why;
        PortRecord before;
        PortRecord now;
        bool reopened;
        std::string portName; // afterwards
    } cases[] = {
        // Same serial number, and the same USB ids where both records know them.
        {"same adapter elsewhere",
         adapter,
         {"/dev/ttyUSB1", "/dev/ttyUSB1", {}, {}, 0x0403, 0x6001, "A1"},
         true,
         "/dev/ttyUSB1"},
        {"ids unknown now",
         adapter,
         {"/dev/ttyACM0", "/dev/ttyACM0", {}, {}, {}, {}, "A1"},
         true,
         "/dev/ttyACM0"},
        {"another serial",
         adapter,
         {"/dev/ttyUSB1", "/dev/ttyUSB1", {}, {}, 0x0403, 0x6001, "B2"},
         false,
         "/dev/ttyUSB0"},
        {"another product",
         adapter,
         {"/dev/ttyUSB1", "/dev/ttyUSB1", {}, {}, 0x0403, 0x6015, "A1"},
         false,
         "/dev/ttyUSB0"},
        {"no serial to go by",
         noSerial,
         {"/dev/ttyUSB1", "/dev/ttyUSB1", {}, {}, 0x0403, 0x6001, {}},
         false,
         "/dev/ttyUSB0"},
        {"nothing listed", adapter, {}, false, "/dev/ttyUSB0"},
    };
    for (const auto& c : cases) {
        PluggedDriver driver;
        SerialLink link(driver);
        std::vector<PortRecord> listed{c.before};
        link.setPortLister([&] { return listed; });
        driver.plugged = {"/dev/ttyUSB0"};
        link.setPortName("/dev/ttyUSB0");
        ASSERT_TRUE(link.open()) << c.why;

        driver.unplug(); // the link learns of it at the next open
        listed.clear();
        if (!c.now.location.empty()) {
            listed.push_back(c.now);
            driver.plugged = {c.now.location};
        }
        EXPECT_EQ(link.open(), c.reopened) << c.why;
        EXPECT_EQ(link.portName(), c.portName) << c.why;
        EXPECT_EQ(link.takePortMoved(), c.reopened ? 1 : 0) << c.why;
        EXPECT_EQ(link.openError(), c.reopened ? OpenError::None : OpenError::NotFound) << c.why;
    }
}

TEST(PortRecord, APermissionRefusalAddsTheHintAfterTheFailureText) {
    const std::string hint =
        "Permission denied: add your user to the dialout group (sudo usermod -aG dialout $USER), then "
        "log out and in again.";
    const struct {
        OpenError why;
        std::string connect; // the Connect page's text
        std::string action;  // a device action's status box
    } cases[] = {
        {OpenError::Permission, "Error opening COM port.\n" + hint, "Error opening COM port\n" + hint},
        {OpenError::NotFound, "Error opening COM port.", "Error opening COM port"},
        {OpenError::Busy, "Error opening COM port.", "Error opening COM port"},
        {OpenError::Other, "Error opening COM port.", "Error opening COM port"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(openFailedText(kMsgOpenFailedConnect, c.why), c.connect);
        PluggedDriver driver;
        driver.refusal = c.why;
        SerialLink link(driver);
        link.setPortName("/dev/ttyUSB0");
        test::RecordingSink sink;
        EXPECT_FALSE(openPortFor(link, sink, Page::MasterList));
        EXPECT_EQ(link.openError(), c.why);
        EXPECT_EQ(sink.box(Page::MasterList), c.action);
        EXPECT_FALSE(sink.connected);
    }
}

} // namespace
} // namespace korvex::device
