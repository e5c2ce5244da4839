#pragma once
// The "COM port" list: rebuilt each time it opens, so a port plugged in meanwhile shows up, and
// editable, so a device path can be typed. The choice is kept across rebuilds.
#include "ui/widgets/PortChoices.h"

#include <QComboBox>

#include <functional>

namespace korvex::ui::widgets {

class PortComboBox : public QComboBox {
    Q_OBJECT
public:
    using Source = std::function<std::vector<std::pair<QString, QString>>()>;

    explicit PortComboBox(QWidget* parent = nullptr);

    // The port the list now names: a listed entry, or the typed path.
    PortChoice choice() const;
    void rebuild();
    // Shows a port by its listed text, or as typed when it is not listed.
    void showChoice(const QString& text);
    // Tests list their own ports instead of the system's.
    void setSource(Source source) { source_ = std::move(source); }

    void showPopup() override;

signals:
    // The user picked an entry or finished typing a path.
    void choiceMade();

private:
    Source source_;
    std::vector<PortChoice> choices_;
};

} // namespace korvex::ui::widgets
