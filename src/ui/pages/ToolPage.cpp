#include "ui/pages/ToolPage.h"

#include "ui/widgets/TransferProgress.h"
#include "ui/window/ConfigTool.h"
#include "ui/window/DeviceSession.h"
#include "ui/window/GuiActionHost.h"
#include "ui/window/MapProblems.h"
#include "ui/window/TransferBars.h"
#include "ui/window/UiTexts.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

namespace korvex::ui::pages {

using window::GuiActionHost;

ToolPage::ToolPage(ConfigTool& tool, Page page, QWidget* parent)
    : QWidget(parent), tool_(tool), session_(tool.session()), page_(page) {}

QAction* ToolPage::makeCommand(const char* tooltip, const char* image, const char* objectName,
                               std::function<void()> run) {
    const QIcon icon(QStringLiteral(":/korvex/%1.png").arg(QString::fromLatin1(image)));
    auto* action = new QAction(icon, QString::fromLatin1(tooltip), this);
    action->setToolTip(QString::fromLatin1(tooltip));
    action->setObjectName(QString::fromLatin1(objectName));
    connect(action, &QAction::triggered, this, std::move(run));
    return action;
}

QToolBar* ToolPage::makeToolbar(std::initializer_list<QAction*> commands) {
    help_ = makeCommand("Open tool help", "cmd_help", "help", [this] { tool_.openHelp(helpSection()); });
    toolbar_ = new QToolBar(this);
    toolbar_->setIconSize(QSize(16, 16));
    for (QAction* command : commands) toolbar_->addAction(command);
    toolbar_->addAction(help_);
    return toolbar_;
}

void ToolPage::makeActions(std::span<const char* const> texts) {
    actions_ = new QComboBox;
    actions_->setObjectName(QStringLiteral("actionList"));
    for (const char* text : texts) actions_->addItem(QString::fromLatin1(text));
    actions_->setCurrentIndex(0);
    execute_ = makeButton("Execute", "execute", [this] { execute(); });
}

QLayout* ToolPage::makeActionRow(std::span<const char* const> texts) {
    makeActions(texts);
    QPlainTextEdit* status = makeStatusBox(3);
    setStatusBox(status);
    auto* row = new QHBoxLayout;
    row->addWidget(actions_, 0, Qt::AlignTop);
    row->addWidget(execute_, 0, Qt::AlignTop);
    row->addWidget(status, 1);
    return row;
}

QLayout* ToolPage::makeProgressRow() {
    progress_ = new widgets::TransferProgress;
    tool_.transferBars().add(page_, progress_);
    auto* row = new QHBoxLayout;
    row->addWidget(progress_);
    return row;
}

QPushButton* ToolPage::makeButton(const char* text, const char* objectName, std::function<void()> run) {
    auto* button = new QPushButton(QString::fromLatin1(text));
    button->setObjectName(QString::fromLatin1(objectName));
    connect(button, &QPushButton::clicked, this, std::move(run));
    return button;
}

void ToolPage::layOut(std::initializer_list<QLayout*> rows, QWidget* main) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(toolbar_);
    for (QLayout* row : rows) layout->addLayout(row);
    if (main)
        layout->addWidget(main, 1);
    else
        layout->addStretch(1);
}

int ToolPage::changeMap(MapParts parts, std::optional<ModelOp> op,
                        const std::function<int(ObjectMap&)>& change) {
    const int code = session_.edit(parts, change);
    if (op) tool_.showRefusal(*op, code);
    return code;
}

int ToolPage::changeRows(MapPart list, int row, ModelOp op, const std::function<int(ObjectMap&)>& change) {
    const int code =
        list == MapPart::NVList ? session_.editNVRows(row, change) : session_.editRegisterRows(row, change);
    tool_.showRefusal(op, code);
    return code;
}

bool ToolPage::sendDespiteErrors() {
    const int errors = tool_.problems().checkNow().errors;
    if (errors == 0) return true;
    const QString question = errors == 1 ? QString::fromLatin1(window::text::kSendWithOneError)
                                         : QString::fromLatin1(window::text::kSendWithErrors).arg(errors);
    if (tool_.showMessage(question, MessageButtons::OkCancel, MessageIcon::Warning)) return true;
    setStatus(QString::fromLatin1(window::text::kSendCancelledForErrors));
    return false;
}

void ToolPage::runDeviceAction(const std::function<void(device::DeviceActions&)>& run) {
    GuiActionHost host(tool_, this);
    device::DeviceActions actions = tool_.device().actions(host);
    run(actions);
    tool_.transferBars().watch();
}

QPlainTextEdit* ToolPage::makeStatusBox(int lines) {
    auto* box = new QPlainTextEdit;
    box->setReadOnly(true);
    box->setObjectName(QStringLiteral("statusBox"));
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setStatusBoxLines(box, lines);
    return box;
}

void ToolPage::setStatusBoxLines(QPlainTextEdit* box, int lines) {
    // The box counts a line as shown only when it ends a pixel above the bottom margin.
    const int lineHeight = box->fontMetrics().lineSpacing();
    const int margins = 2 * static_cast<int>(box->document()->documentMargin()) + 1;
    box->setFixedHeight(lineHeight * lines + 2 * box->frameWidth() + margins);
}

namespace {

// Gateway replies end their lines with CR LF; the box wants one line break per line.
QString boxText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

void ToolPage::setStatus(const QString& text) {
    if (!statusBox_) return;
    statusBox_->setPlainText(boxText(text));
    endedWithCr_ = text.endsWith(u'\r');
}

void ToolPage::appendStatus(const QString& text) {
    if (!statusBox_) return;
    QTextCursor cursor = statusBox_->textCursor();
    cursor.movePosition(QTextCursor::End);
    // A CR LF split between two pieces of a reply is still one line break.
    const bool skipLf = endedWithCr_ && text.startsWith(u'\n');
    QString piece = boxText(skipLf ? text.mid(1) : text);
    // A text that ended without a line break ("File loaded.") does not run into the next report.
    const bool lineOpen = !statusBox_->document()->lastBlock().text().isEmpty();
    if (boxKind_ == BoxKind::Reports && lineOpen && !piece.isEmpty() && !piece.startsWith(u'\n'))
        piece.prepend(u'\n');
    cursor.insertText(piece);
    endedWithCr_ = text.endsWith(u'\r');
    statusBox_->verticalScrollBar()->setValue(statusBox_->verticalScrollBar()->maximum());
}

QString ToolPage::statusText() const {
    return statusBox_ ? statusBox_->toPlainText() : QString();
}

} // namespace korvex::ui::pages
