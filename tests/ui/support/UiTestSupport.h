#pragma once
// Shared pieces of the GUI tests: one QApplication for the whole program (offscreen), a prompter
// that answers from a script and records every question, and a window made with it.
#include "app/GatewaySimulator.h"
#include "model/ObjectMap.h"
#include "ui/pages/ToolPage.h"
#include "ui/widgets/PortChoices.h"
#include "ui/window/ConfigTool.h"
#include "ui/window/DeviceSession.h"
#include "ui/window/Prompter.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <deque>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

// Tabs print as their index in test failures.
namespace korvex::device {
inline std::ostream& operator<<(std::ostream& out, Page page) {
    return out << static_cast<int>(page);
}
} // namespace korvex::device

// The tests reach into every folder of the window.
namespace korvex::ui::dialogs {}
namespace korvex::ui::models {}
namespace korvex::ui::widgets {}

namespace korvex::ui::test {

using namespace korvex::ui::dialogs;
using namespace korvex::ui::models;
using namespace korvex::ui::pages;
using namespace korvex::ui::widgets;
using namespace korvex::ui::window;

inline QApplication& app() {
    static int argc = 1;
    static char name[] = "test_ui";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // What the window remembers goes to a folder of this run, never to the user's settings.
        static QTemporaryDir settings;
        QStandardPaths::setTestModeEnabled(true);
        for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, settings.path());
        return new QApplication(argc, argv);
    }();
    return *instance;
}

struct AskedMessage {
    QString text;
    MessageButtons buttons;
    MessageIcon icon;
};

class ScriptedPrompter : public Prompter {
public:
    std::vector<AskedMessage> messages;
    std::deque<bool> answers; // OK when the script runs out
    std::deque<QString> files;
    std::deque<std::pair<RangeAnswer, ObjectRange>> objectRanges;
    std::deque<std::pair<RangeAnswer, NetVarRanges>> netVarRangeAnswers;
    std::vector<ObjectRange> offeredObjectRanges;
    std::vector<NetVarRanges> offeredNetVarRanges;
    QString lastFilters;

    bool message(QWidget*, const QString& text, MessageButtons buttons, MessageIcon icon) override {
        messages.push_back({text, buttons, icon});
        return take(answers, true);
    }
    QString openFileName(QWidget*, const QString& filters) override {
        lastFilters = filters;
        return take(files, QString());
    }
    QString saveFileName(QWidget*, const QString& filters) override {
        lastFilters = filters;
        return take(files, QString());
    }
    RangeAnswer objectRange(QWidget*, ObjectRange& range) override {
        offeredObjectRanges.push_back(range);
        const auto answer = take(objectRanges, {RangeAnswer::Cancel, ObjectRange{}});
        if (answer.first == RangeAnswer::Ok) range = answer.second;
        return answer.first;
    }
    RangeAnswer netVarRanges(QWidget*, NetVarRanges& ranges) override {
        offeredNetVarRanges.push_back(ranges);
        const auto answer = take(netVarRangeAnswers, {RangeAnswer::Cancel, NetVarRanges{}});
        if (answer.first == RangeAnswer::Ok) ranges = answer.second;
        return answer.first;
    }

    QStringList messageTexts() const {
        QStringList texts;
        for (const AskedMessage& m : messages) texts << m.text;
        return texts;
    }

private:
    template <typename T> static T take(std::deque<T>& queue, T fallback) {
        if (queue.empty()) return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

// The tabs by name, as the tests say them.
inline constexpr Page kConnectPage = Page::Connect;
inline constexpr Page kRegImportPage = Page::RegImport;
inline constexpr Page kRegListPage = Page::RegList;
inline constexpr Page kNVImportPage = Page::NVImport;
inline constexpr Page kNVListPage = Page::NVList;
inline constexpr Page kMasterListPage = Page::MasterList;
inline constexpr Page kViewDataPage = Page::ViewData;
inline constexpr Page kModbusPortPage = Page::ModbusPort;
inline constexpr Page kLonWorksPage = Page::LonWorks;

// A window over its own map, with the help viewer replaced by a recorder. The simulated gateway,
// once the window started one, is `simulated`.
struct Tool {
    std::unique_ptr<ObjectMap> map = std::make_unique<ObjectMap>();
    ScriptedPrompter prompter;
    std::vector<QUrl> helpOpened;
    sim::SimulatedGateway* simulated = nullptr;
    std::unique_ptr<ConfigTool> window;

    // Every window starts from no remembered settings unless the test keeps those of the last.
    explicit Tool(bool startDevice = false, bool keepSettings = false) {
        app();
        if (!keepSettings) QSettings(QStringLiteral("Korvex"), QStringLiteral("korvex-config")).clear();
        auto simulators = app::gatewaySimulators([this](sim::SimulatedGateway& g) { simulated = &g; });
        window = std::make_unique<ConfigTool>(*map, prompter, std::move(simulators), startDevice);
        window->help().setOpener([this](const QUrl& url) { helpOpened.push_back(url); });
        // The window starts on COM1, a real serial port where one is present and may be opened:
        // the tests never talk to it, they get a port that opens nowhere unless they choose one.
        // A port remembered from the test's last window is the test's own choice.
        PortChoice nowhere;
        nowhere.portName = QDir::temp().filePath(QStringLiteral("korvex-test-no-port"));
        if (window->device().portName() == QStringLiteral("COM1")) window->device().usePort(nowhere);
    }
    ~Tool() {
        window->stopDevice();
        window.reset();
    }
    template <typename P> P& page(Page p) { return *static_cast<P*>(window->page(p)); }
};

// Handles events until the condition holds or the time is up.
inline bool waitFor(const std::function<bool()>& condition, int maxMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > maxMs) return false;
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    return true;
}

} // namespace korvex::ui::test
