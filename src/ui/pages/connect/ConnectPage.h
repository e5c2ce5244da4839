#pragma once
// The Connect page: device model, COM port and the Connect button, the four working options, the
// remembered choices to wait for line silence after every reply and to verify every send, a
// terminal line for typing a command to the gateway by hand, and the button that opens the Traffic
// window.
#include "ui/pages/ToolPage.h"

#include "ui/widgets/CommandHistory.h"

#include <QElapsedTimer>

class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace korvex::ui::widgets {
class PortComboBox;
}

namespace korvex::ui::pages {

using widgets::PortComboBox;

class ConnectPage : public ToolPage {
    Q_OBJECT
public:
    explicit ConnectPage(ConfigTool& tool, QWidget* parent = nullptr);
    ~ConnectPage() override; // keeps the terminal's history

    QComboBox* modelList() const { return models_; }
    PortComboBox* portList() const { return ports_; }
    QCheckBox* newNodeBox() const { return newNode_; }
    QCheckBox* commissionedBox() const { return commissioned_; }
    QCheckBox* modiconBox() const { return modicon_; }
    QCheckBox* slaveBox() const { return slave_; }
    QCheckBox* silenceBox() const { return silence_; }
    QCheckBox* verifyBox() const { return verify_; }
    QPushButton* connectButton() const { return connect_; }
    QPushButton* trafficButton() const { return traffic_; }
    QPlainTextEdit* commandBox() const { return command_; }
    QPushButton* sendButton() const { return send_; }
    QPlainTextEdit* responseBox() const { return response_; }

    void connectPort();
    void sendCommand();
    const widgets::CommandHistory& history() const { return history_; }

protected:
    // The terminal line: Enter sends, Shift+Enter breaks the line, Up and Down walk the history.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLayout* buildOptions();
    void portChoiceMade();
    void followMovedPort();
    void setNodeChoice(bool commissioned);
    void storeOptions();
    void setWaitForSilence(bool on);
    void setVerifyAfterSend(bool on);
    QString replyEndLine() const;
    void checkLine();
    void lineCheckStep();
    void endLineCheck();
    bool terminalKey(int key, Qt::KeyboardModifiers modifiers);
    void showTyped(const QString& line);

    QComboBox* models_;
    PortComboBox* ports_;
    QCheckBox* newNode_;
    QCheckBox* commissioned_;
    QCheckBox* modicon_;
    QCheckBox* slave_;
    QCheckBox* silence_;
    QCheckBox* verify_;
    QPushButton* connect_;
    QPushButton* traffic_;
    QPlainTextEdit* command_;
    QPushButton* send_;
    QPlainTextEdit* response_;
    widgets::CommandHistory history_;
    QString chosenPort_; // the list's choice when it was last made
    // Connect's check of the line: "usage" is sent once the engine is free, and its answer
    // awaited without holding up the window.
    QTimer* lineCheck_;
    QElapsedTimer lineCheckClock_;
    bool usageSent_ = false;
};

} // namespace korvex::ui::pages
