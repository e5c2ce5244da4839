#pragma once
// The "COM port" list: rebuilt each time it opens, so a port plugged in meanwhile shows up, and
// editable, so a device path can be typed. The choice is kept across rebuilds. Each entry the
// system reported has a tooltip that tells the port apart; the box shows the chosen one's.
// Window thread only.
#include "device/link/PortRecord.h"
#include "ui/widgets/PortChoices.h"

#include <QComboBox>

#include <functional>

namespace korvex::ui::widgets {

class PortComboBox : public QComboBox {
    Q_OBJECT
public:
    using Source = std::function<std::vector<device::PortRecord>()>;

    // Lists the ports of source (empty: the system's); with none the box starts empty rather
    // than on the simulated gateway, which is picked only on purpose.
    explicit PortComboBox(Source source = {}, QWidget* parent = nullptr);

    // The port the list now names: a listed entry, or the typed path.
    PortChoice choice() const;
    // How the choice is remembered: the port name (the simulated gateway by its text).
    QString rememberedName() const;
    void rebuild();
    // Shows a port by its listed text or its port name, or as typed when it is not listed.
    void showChoice(const QString& text);
    // Lists these ports from the next rebuild on.
    void setSource(Source source) { source_ = std::move(source); }

    void showPopup() override;

signals:
    // The user picked an entry or finished typing a path.
    void choiceMade();

private:
    const PortChoice* listedChoice(const QString& text) const;
    void showToolTip();

    Source source_;
    std::vector<PortChoice> choices_;
};

} // namespace korvex::ui::widgets
