#include "ui/pages/lonworks/LonWorksPage.h"

#include "model/FixedText.h"
#include "ui/pages/lonworks/LonWorksFields.h"
#include "ui/widgets/Indicator.h"
#include "ui/window/ConfigTool.h"
#include "ui/window/DeviceSession.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

namespace korvex::ui::pages {

using widgets::makeIndicator;
using widgets::showIndicator;

namespace {

QLineEdit* namedBox(const QString& name, int width) {
    auto* box = new QLineEdit;
    box->setObjectName(name);
    if (width > 0) box->setFixedWidth(width);
    return box;
}

} // namespace

LonWorksPage::LonWorksPage(ConfigTool& tool, QWidget* parent) : ToolPage(tool, Page::LonWorks, parent) {
    {
        std::lock_guard lock(session_.mutex());
        giveDefaultLocation(session_.map().node);
    }
    QPlainTextEdit* status = makeStatusBox(3);
    setStatusBox(status);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(buildTopRow());
    layout->addLayout(buildIdentity());
    layout->addSpacing(8);
    layout->addLayout(buildDomainTable());
    layout->addStretch(1);
    layout->addWidget(status);
    connect(&session_, &MapSession::nodeChanged, this, &LonWorksPage::refresh);
    connect(&session_, &MapSession::replaced, this, &LonWorksPage::refresh);
    connect(&session_, &MapSession::syncChanged, this, &LonWorksPage::showSessionSync);
    refresh();
}

QWidget* LonWorksPage::buildTopRow() {
    auto* row = new QWidget;
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    line->addWidget(makeToolbar());
    line->addStretch(1);
    indicator_ = makeIndicator("nodeInSyncIndicator");
    line->addWidget(indicator_);
    return row;
}

QLayout* LonWorksPage::buildIdentity() {
    programId_ = namedBox(QStringLiteral("programId"), 190);
    neuronId_ = namedBox(QStringLiteral("neuronId"), 190);
    for (QLineEdit* box : {programId_, neuronId_}) box->setReadOnly(true);
    selector_ = namedBox(QStringLiteral("programIdSelector"), 50);
    location_ = namedBox(QStringLiteral("location"), 190);
    location_->setMaxLength(kLocationLength);
    alter_ = makeButton("Alter Prog ID", "alterProgId", [this] { alterProgramId(); });
    getIds_ = makeButton("Get ID's", "getIds", [this] { getIds(); });
    getLocation_ = makeButton("Get Location", "getLocation", [this] { getLocation(); });
    setLocation_ = makeButton("Set Location", "setLocation", [this] { setLocation(); });
    connect(selector_, &QLineEdit::editingFinished, this, &LonWorksPage::selectorLeft);
    connect(location_, &QLineEdit::editingFinished, this, &LonWorksPage::locationLeft);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Program ID")), 0, 0);
    grid->addWidget(programId_, 0, 1);
    grid->addWidget(alter_, 0, 2);
    grid->addWidget(selector_, 0, 3, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("Neuron ID")), 1, 0);
    grid->addWidget(neuronId_, 1, 1);
    grid->addWidget(getIds_, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Node Location")), 2, 0);
    grid->addWidget(location_, 2, 1);
    grid->addWidget(getLocation_, 2, 2);
    grid->addWidget(setLocation_, 2, 3);
    grid->setColumnStretch(4, 1);
    return grid;
}

QLayout* LonWorksPage::buildDomainTable() {
    auto* grid = new QGridLayout;
    const char* headings[] = {"Subnet", "Node", "Length", "Domain ID"};
    for (int c = 0; c < 4; ++c) grid->addWidget(new QLabel(QString::fromLatin1(headings[c])), 0, c + 1);
    for (int i = 0; i < 2; ++i) {
        DomainRow& row = rows_[static_cast<std::size_t>(i)];
        row.subnet = namedBox(QStringLiteral("subnet%1").arg(i), 50);
        row.node = namedBox(QStringLiteral("node%1").arg(i), 50);
        row.id = namedBox(QStringLiteral("domainId%1").arg(i), 150);
        row.length = new QComboBox;
        row.length->setObjectName(QStringLiteral("length%1").arg(i));
        for (int length : kDomainLengths) row.length->addItem(QString::number(length));
        row.set = makeButton(i == 0 ? "Set Domain 0" : "Set Domain 1", i == 0 ? "setDomain0" : "setDomain1",
                             [this, i] { setDomain(i); });
        connect(row.subnet, &QLineEdit::editingFinished, this,
                [this, i] { domainFieldChanged(i, DomainField::Subnet); });
        connect(row.node, &QLineEdit::editingFinished, this,
                [this, i] { domainFieldChanged(i, DomainField::Node); });
        connect(row.id, &QLineEdit::editingFinished, this,
                [this, i] { domainFieldChanged(i, DomainField::Id); });
        connect(row.length, &QComboBox::activated, this,
                [this, i] { domainFieldChanged(i, DomainField::Length); });
        grid->addWidget(new QLabel(QStringLiteral("Domain %1").arg(i)), i + 1, 0);
        grid->addWidget(row.subnet, i + 1, 1);
        grid->addWidget(row.node, i + 1, 2);
        grid->addWidget(row.length, i + 1, 3);
        grid->addWidget(row.id, i + 1, 4);
        grid->addWidget(row.set, i + 1, 5);
    }
    getDomains_ = makeButton("Get Domains", "getDomains", [this] { getDomains(); });
    grid->addWidget(getDomains_, 3, 5);
    grid->setColumnStretch(6, 1);
    return grid;
}

void LonWorksPage::refresh() {
    device::NodeIdentity identity;
    NodeInfo node;
    {
        std::lock_guard lock(session_.mutex());
        identity = tool_.device().engine().identity;
        node = session_.map().node;
    }
    programId_->setText(QString::fromStdString(device::programIdText(identity.programId)));
    neuronId_->setText(QString::fromStdString(device::neuronIdText(identity.neuronId)));
    selector_->setText(QString::number(node.pid));
    location_->setText(QString::fromLatin1(stringOf(node.loc)));
    for (QLineEdit* box : {selector_, location_}) box->setModified(false);
    redrawDomains();
    showInSync(session_.nodeInSync());
}

// The session's flag drives the indicator (and the window's "In Sync:").
void LonWorksPage::showInSync(bool on) {
    session_.setNodeInSync(on);
}

void LonWorksPage::showSessionSync() {
    indicatorOn_ = session_.nodeInSync();
    showIndicator(*indicator_, indicatorOn_);
}

void LonWorksPage::redrawDomains() {
    std::array<device::DomainEntry, 2> domains;
    {
        std::lock_guard lock(session_.mutex());
        domains = tool_.device().engine().identity.domains;
    }
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const device::DomainEntry& entry = domains[i];
        DomainRow& row = rows_[i];
        row.subnet->setText(entry.vacant ? QString() : QString::number(entry.subnet));
        row.node->setText(entry.vacant ? QString() : QString::number(entry.node));
        row.length->setCurrentIndex(lengthEntry(entry.idLength));
        row.id->setText(domainIdText(entry));
        for (QLineEdit* box : {row.subnet, row.node, row.id}) box->setModified(false);
    }
}

// Only a box that was typed into is taken: passing through it changes nothing.
void LonWorksPage::showProblem(const Problem& problem) {
    if (problem.place != PlaceKind::Node) return;
    selector_->setFocus();
    selector_->selectAll();
}

void LonWorksPage::selectorLeft() {
    if (!selector_->isModified()) return;
    selector_->setModified(false);
    const SelectorValue value = programIdSelector(selector_->text());
    {
        std::lock_guard lock(session_.mutex());
        session_.map().node.pid = static_cast<uint8_t>(value.pid);
    }
    session_.announceShown(MapPart::Node);
    selector_->setText(QString::number(value.pid));
    tool_.showSavedState();
    if (value.reserved) tool_.showMessage(QString::fromLatin1(kReservedProgramIds));
}

void LonWorksPage::locationLeft() {
    if (!location_->isModified()) return;
    location_->setModified(false);
    const QByteArray text = location_->text().left(kLocationLength).toLatin1();
    bool changed = false;
    {
        std::lock_guard lock(session_.mutex());
        std::array<char, kLocationLength + 1>& loc = session_.map().node.loc;
        changed = textOf(loc) != std::string_view(text.constData(), static_cast<std::size_t>(text.size()));
        if (changed) setText(loc, std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    }
    if (changed) session_.announceShown(MapPart::Node);
    if (changed) showInSync(false); // the title's unsaved mark goes with it
}

void LonWorksPage::domainFieldChanged(int index, DomainField field) {
    const DomainRow& row = rows_.at(static_cast<std::size_t>(index));
    QLineEdit* box = field == DomainField::Subnet ? row.subnet
                     : field == DomainField::Node ? row.node
                     : field == DomainField::Id   ? row.id
                                                  : nullptr;
    if (box && !box->isModified()) return;
    {
        std::lock_guard lock(session_.mutex());
        device::DomainEntry& entry =
            tool_.device().engine().identity.domains[static_cast<std::size_t>(index)];
        switch (field) {
        case DomainField::Subnet:
            entry.subnet = subnetFromText(row.subnet->text());
            break;
        case DomainField::Node:
            entry.node = nodeFromText(row.node->text());
            break;
        case DomainField::Length:
            entry.idLength = lengthOfEntry(row.length->currentIndex());
            break;
        case DomainField::Id:
            takeDomainId(row.id->text(), entry);
            break;
        }
        entry.vacant = false;
    }
    redrawDomains();
}

void LonWorksPage::getIds() {
    clearStatus();
    runDeviceAction(&device::DeviceActions::getNodeIds);
}

void LonWorksPage::alterProgramId() {
    int pid = 0;
    {
        std::lock_guard lock(session_.mutex());
        pid = session_.map().node.pid;
    }
    if (refusedBeforeSending(programIdProblem(pid))) return;
    runDeviceAction(&device::DeviceActions::alterProgramId);
}

void LonWorksPage::getLocation() {
    clearStatus();
    runDeviceAction(&device::DeviceActions::getLocation);
}

void LonWorksPage::setLocation() {
    clearStatus();
    runDeviceAction(&device::DeviceActions::setLocation);
}

void LonWorksPage::getDomains() {
    clearStatus();
    runDeviceAction(&device::DeviceActions::getDomains);
}

void LonWorksPage::setDomain(int index) {
    device::DomainEntry entry;
    {
        std::lock_guard lock(session_.mutex());
        entry = tool_.device().engine().identity.domains.at(static_cast<std::size_t>(index));
    }
    if (refusedBeforeSending(domainProblem(entry))) return;
    runDeviceAction([index](device::DeviceActions& actions) { actions.setDomain(index); });
}

// The commissioned-node refusal of the action comes first; otherwise a bad value says why and
// nothing is sent.
bool LonWorksPage::refusedBeforeSending(const char* problem) {
    if (!problem || tool_.options().commissioned) return false;
    tool_.showMessage(QString::fromLatin1(problem));
    return true;
}

} // namespace korvex::ui::pages
