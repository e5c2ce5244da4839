#pragma once
// Shared pieces of the View Data, Modbus Port and LonWorks page tests: a window whose device
// session talks to the in-process simulated gateway, typing into a box as the user does (the
// box is taken when it is left), waits on a page's status box, and a small map to send.
#include "ui/support/UiTestSupport.h"

#include "model/lists/ListBuilding.h"
#include "model/lists/ListEditing.h"
#include "sim/SimulatedGateway.h"
#include "support/MapBuilders.h"
#include "ui/pages/lonworks/LonWorksPage.h"
#include "ui/pages/modbusport/ModbusPortPage.h"
#include "ui/widgets/PortChoices.h"
#include "ui/window/DeviceSession.h"
#include "ui/window/GuiActionHost.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace korvex::ui::test {

// Types text into the box and leaves it.
inline void typeInto(QLineEdit* box, const QString& text) {
    box->setText(text);
    box->setModified(true);
    emit box->editingFinished();
}

// A pseudo-terminal with nothing behind it: a port that opens and never answers.
struct SilentPort {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    QString path;
    SilentPort() {
        EXPECT_GE(master, 0);
        EXPECT_EQ(grantpt(master), 0);
        EXPECT_EQ(unlockpt(master), 0);
        path = QString::fromLocal8Bit(ptsname(master));
    }
    ~SilentPort() { ::close(master); }
    SilentPort(const SilentPort&) = delete;
    SilentPort& operator=(const SilentPort&) = delete;
};

// One input and two output NVs, each with its object and holding register.
inline void buildSmallMap(Tool& tool) {
    std::lock_guard lock(tool.window->session().mutex());
    ObjectMap& map = *tool.map;
    for (int i = 0; i < 3; ++i) ASSERT_EQ(appendNV(map), kOk);
    map.nvs[0].isInput = 1;
    ASSERT_EQ(assignFbNumbers(map), kOk);
    ASSERT_EQ(masterListFromNVs(map), kOk);
    ASSERT_EQ(registerListFromMaster(map), kOk);
}

// Makes the window's device session use the port of that name.
inline void usePortNamed(Tool& tool, const QString& name) {
    PortChoice choice;
    choice.portName = name;
    EXPECT_TRUE(tool.window->device().usePort(choice));
}

// A shown window with its worker threads, on the simulated gateway.
struct SimTool : Tool {
    SimTool() : Tool(true) {
        window->show();
        PortChoice choice;
        choice.simulated = true;
        EXPECT_TRUE(window->device().usePort(choice));
        if (window->device().simulator()) gateway().setEraseMs(kEraseMs);
    }
    static constexpr int kEraseMs = 50; // the gateway's erase, shortened for the tests
    sim::SimulatedGateway& gateway() { return *simulated; }
    // Waits until the box of the page holds the text (the status loop's reports are queued).
    bool waitForStatus(Page page, const QString& text, int maxMs = 8000) {
        return waitFor([&] { return window->page(page)->statusText() == text; }, maxMs);
    }
    bool waitUntilIdle(int maxMs = 8000) {
        const bool idle = waitFor([&] { return !window->device().engine().busy(); }, maxMs);
        // The last reports of the pass reach the window.
        waitFor([] { return false; }, 60);
        return idle;
    }
};

// Two output NVs, each with its object and holding register (objects 1 and 2).
inline void addTwoOutputObjects(Tool& tool) {
    std::lock_guard lock(tool.window->session().mutex());
    ObjectMap& map = *tool.map;
    for (int fb = 1; fb <= 2; ++fb)
        korvex::testing::addStandardNV(map, 105, false, fb, "out" + std::to_string(fb));
    ASSERT_EQ(masterListFromNVs(map), kOk);
    ASSERT_EQ(registerListFromMaster(map), kOk);
}

// Erases the gateway and sends it the whole map as a user does: NVs, objects, port settings and
// location, each step run to its end (a verify included).
inline void sendWholeMap(SimTool& tool, NetVarRanges nvs, ObjectRange objects) {
    ConfigTool& window = *tool.window;
    GuiActionHost host(window, &window);
    const auto run = [&](device::ActionOutcome outcome) {
        EXPECT_EQ(outcome, device::ActionOutcome::Started);
        EXPECT_TRUE(tool.waitUntilIdle());
    };
    run(window.device().actions(host).eraseDevice());
    tool.prompter.netVarRangeAnswers = {{RangeAnswer::Ok, nvs}};
    run(window.device().actions(host).sendNetVars());
    tool.prompter.objectRanges = {{RangeAnswer::Ok, objects}};
    run(window.device().actions(host).sendObjects());
    QTest::mouseClick(tool.page<ModbusPortPage>(kModbusPortPage).writeButton(), Qt::LeftButton);
    EXPECT_TRUE(tool.waitUntilIdle());
    QTest::mouseClick(tool.page<LonWorksPage>(kLonWorksPage).setLocationButton(), Qt::LeftButton);
    EXPECT_TRUE(tool.waitUntilIdle());
}

} // namespace korvex::ui::test
