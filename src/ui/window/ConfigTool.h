#pragma once
// ConfigTool: the tool's only top-level window. It owns the nine pages (one tab each), the
// "Connected:" and "In Sync:" indicators, the window title, help, the close guard, the working
// options of the Connect page and the device session with its two worker threads.
#include "model/ModelMessages.h"
#include "model/ObjectMap.h"
#include "model/SavedMap.h"
#include "ui/pages/ToolPage.h"
#include "ui/window/HelpLauncher.h"
#include "ui/window/Prompter.h"
#include "ui/window/WorkingOptions.h"

#include <QWidget>

#include <array>
#include <atomic>
#include <memory>
#include <mutex>

class QLabel;
class QTabWidget;

namespace korvex::ui::window {

using pages::kConnectPage;
using pages::kPageCount;
using pages::ToolPage;

class DeviceSession;

class ConfigTool : public QWidget {
    Q_OBJECT
public:
    // The map is reset to empty. With startDevice false no worker thread runs (tests that do not
    // talk to a device).
    ConfigTool(ObjectMap& map, Prompter& prompter, bool startDevice = true, QWidget* parent = nullptr);
    ~ConfigTool() override;

    ObjectMap& map() { return map_; }
    // Held by whoever reads or changes the map while the device link may be applying a reply.
    std::mutex& mapMutex() { return mapMutex_; }
    WorkingOptions& options() { return options_; }
    Prompter& prompter() { return prompter_; }
    HelpLauncher& help() { return help_; }
    DeviceSession& device() { return *device_; }

    const QString& startDirectory() const { return startDirectory_; }
    int deviceModel() const { return map_.deviceModel; }
    void setDeviceModel(int index);
    // "Korvex-A".."Korvex-C", "Unrecognized" for any other index.
    QString deviceModelName() const;

    // Path of the object map file last opened or saved; empty when none.
    const QString& fileName() const { return fileName_; }
    void setFileName(const QString& path) { fileName_ = path; }

    ToolPage* page(int index) const { return pages_.at(index); }
    int currentPage() const { return current_; }
    void selectPage(int index);

    // The one message box: caption "Korvex Configuration"; true on OK.
    bool showMessage(const QString& text, MessageButtons buttons = MessageButtons::Ok,
                     MessageIcon icon = MessageIcon::Error);
    // The message of a refused model operation; true when the code is a refusal.
    bool showRefusal(ModelOp op, int code);
    // Asks before a file that exists is replaced; false only when the user cancels.
    bool confirmOverwrite(const QString& path);
    void openHelp(int section) { help_.open(section); }

    // The title by page; while the map is unsaved it ends in "*" (on every page).
    void updateTitle();
    // Also refreshes the saved flags and the title's unsaved mark.
    void updateInSync();
    // The map as it now is counts as saved: after it was opened, saved or made blank.
    void noteMapSaved();
    // True when the close guard may close without asking: the saved flags are set and no list,
    // location or program-ID selector changed since the map was last opened, saved or made blank.
    bool mapSaved();
    // Puts the unsaved mark on the title or takes it off.
    void showSavedState();
    // "Connected:": off; amber while the port is open but no gateway has answered Connect's
    // check of the line; green once one has, and after any other open of a closed port.
    enum class LinkLight { Off, NoAnswer, On };
    void setConnected(bool on) { showLink(on ? LinkLight::On : LinkLight::Off); }
    void showLink(LinkLight light);
    LinkLight linkShown() const { return link_; }
    // Green or amber: the port is shown open.
    bool connectedShown() const { return link_ != LinkLight::Off; }
    bool inSyncShown() const { return inSyncOn_; }

    // Sync flags kept by the Modbus Port and LonWorks pages (and cleared by erasing the device).
    void setPortSettingsInSync(bool on) { portInSync_ = on; }
    void setNodeSettingsInSync(bool on) { nodeInSync_ = on; }
    bool portSettingsInSync() const { return portInSync_; }
    bool nodeSettingsInSync() const { return nodeInSync_; }

    // The Modicon option changed: every page rebuilds its register columns.
    void notationChanged();
    // Stops both worker threads (idempotent); the close guard calls it.
    void stopDevice();
    // True once stopDevice ran: the window is closing and an action still running asks nothing.
    bool stopRequested() const { return stopRequested_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildFrame();
    QWidget* buildStatusStrip();
    void centreOnScreen();
    void onTabChanged(int index);

    ObjectMap& map_;
    std::mutex mapMutex_;
    Prompter& prompter_;
    QString startDirectory_;
    HelpLauncher help_;
    WorkingOptions options_;
    QString fileName_;

    SavedMap savedMap_;
    QString titleText_; // the title by page, without the unsaved mark

    std::atomic<bool> portInSync_{false};
    std::atomic<bool> nodeInSync_{false};
    bool started_ = false;
    bool stopRequested_ = false;
    int current_ = kConnectPage;

    QTabWidget* tabs_ = nullptr;
    std::array<ToolPage*, kPageCount> pages_{};
    QLabel* connectedLed_ = nullptr;
    QLabel* inSyncLed_ = nullptr;
    LinkLight link_ = LinkLight::Off;
    bool inSyncOn_ = false;

    std::unique_ptr<DeviceSession> device_;
};

} // namespace korvex::ui::window
