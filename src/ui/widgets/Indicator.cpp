#include "ui/widgets/Indicator.h"

#include <QLabel>
#include <QPixmap>

namespace korvex::ui::widgets {

QLabel* makeIndicator(const char* objectName) {
    auto* indicator = new QLabel;
    indicator->setObjectName(QString::fromLatin1(objectName));
    indicator->setFixedSize(20, 20);
    showIndicator(*indicator, false);
    return indicator;
}

void showIndicator(QLabel& indicator, bool on) {
    indicator.setPixmap(
        QPixmap(on ? QStringLiteral(":/korvex/led_on.png") : QStringLiteral(":/korvex/led_off.png")));
}

void showAmberIndicator(QLabel& indicator) {
    indicator.setPixmap(QPixmap(QStringLiteral(":/korvex/led_amber.png")));
}

} // namespace korvex::ui::widgets
