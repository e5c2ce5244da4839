#pragma once
// The LonWorks page: the node's LonWorks identity (program ID, Neuron ID, location, program-ID
// selector and the two domain table entries), read from and changed in the device through the
// node commands. The page's indicator shows whether the node settings match the device.
#include "ui/pages/ToolPage.h"

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace korvex::ui::pages {

class LonWorksPage : public ToolPage {
    Q_OBJECT
public:
    explicit LonWorksPage(ConfigTool& tool, QWidget* parent = nullptr);

    // Redisplays the domain entries, program ID, Neuron ID, selector and location, and the
    // indicator from the window's node flag.
    void refresh() override;
    // The window's node flag and the indicator with it.
    void showInSync(bool on);
    void showSessionSync();
    bool indicatorOn() const { return indicatorOn_; }

    void getIds();
    void alterProgramId();
    void getLocation();
    void setLocation();
    void getDomains();
    void setDomain(int index);
    // A problem of the node settings: the program-ID selector gets the focus.
    void showProblem(const Problem& problem) override;

    QLineEdit* programIdBox() const { return programId_; }
    QLineEdit* neuronIdBox() const { return neuronId_; }
    QLineEdit* selectorBox() const { return selector_; }
    QLineEdit* locationBox() const { return location_; }
    QPushButton* alterButton() const { return alter_; }
    QPushButton* getIdsButton() const { return getIds_; }
    QPushButton* getLocationButton() const { return getLocation_; }
    QPushButton* setLocationButton() const { return setLocation_; }
    QPushButton* getDomainsButton() const { return getDomains_; }
    QPushButton* setDomainButton(int index) const { return rows_.at(index).set; }
    QLineEdit* subnetBox(int index) const { return rows_.at(index).subnet; }
    QLineEdit* nodeBox(int index) const { return rows_.at(index).node; }
    QComboBox* lengthList(int index) const { return rows_.at(index).length; }
    QLineEdit* domainIdBox(int index) const { return rows_.at(index).id; }
    QLabel* indicator() const { return indicator_; }

private:
    struct DomainRow {
        QLineEdit* subnet = nullptr;
        QLineEdit* node = nullptr;
        QComboBox* length = nullptr;
        QLineEdit* id = nullptr;
        QPushButton* set = nullptr;
    };
    enum class DomainField { Subnet, Node, Length, Id };

    QWidget* buildTopRow();
    QLayout* buildIdentity();
    QLayout* buildDomainTable();
    void selectorLeft();
    void locationLeft();
    void domainFieldChanged(int index, DomainField field);
    void redrawDomains();
    bool refusedBeforeSending(const char* problem);

    QLabel* indicator_ = nullptr;
    bool indicatorOn_ = false;
    QLineEdit* programId_ = nullptr;
    QLineEdit* neuronId_ = nullptr;
    QLineEdit* selector_ = nullptr;
    QLineEdit* location_ = nullptr;
    QPushButton* alter_ = nullptr;
    QPushButton* getIds_ = nullptr;
    QPushButton* getLocation_ = nullptr;
    QPushButton* setLocation_ = nullptr;
    QPushButton* getDomains_ = nullptr;
    std::array<DomainRow, 2> rows_{};
};

} // namespace korvex::ui::pages
