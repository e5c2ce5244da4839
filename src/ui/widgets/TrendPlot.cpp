#include "ui/widgets/TrendPlot.h"

#include <QDateTime>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvex::ui::widgets {

namespace {

const QColor kColours[TrendPlot::kMaxLines] = {
    QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28), QColor(0x2c, 0xa0, 0x2c), QColor(0xff, 0x7f, 0x0e),
    QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b), QColor(0xe3, 0x77, 0xc2), QColor(0x17, 0xbe, 0xcf),
};

constexpr int kLeftMargin = 60;
constexpr int kRightMargin = 12;
constexpr int kTopMargin = 8;
constexpr int kBottomMargin = 22;

} // namespace

// Where the plot area lies and what its edges stand for.
struct TrendPlot::Frame {
    QRectF area;
    qint64 startMs;
    double low;
    double high;

    QPointF at(qint64 timeMs, double value) const {
        const double x = area.left() + area.width() * double(timeMs - startMs) / double(kSpanMs);
        const double y = area.bottom() - area.height() * (value - low) / (high - low);
        return {x, y};
    }
};

TrendPlot::TrendPlot(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("trendPlot"));
    setMinimumHeight(160);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TrendPlot::addPoint(int object, const QString& name, qint64 timeMs, double value) {
    Series& series = series_[object];
    series.name = name;
    series.points.push_back({timeMs, value});
    newestMs_ = std::max(newestMs_, timeMs);
    while (series.points.size() > kMaxPoints) series.points.pop_front();
    // Every line is cut to the span as the newest time moves on.
    for (auto& [n, s] : series_)
        while (!s.points.empty() && s.points.front().timeMs < newestMs_ - kSpanMs) s.points.pop_front();
    update();
}

void TrendPlot::setShown(std::vector<int> objects) {
    shown_ = std::move(objects);
    update();
}

void TrendPlot::clear() {
    series_.clear();
    newestMs_ = 0;
    update();
}

std::size_t TrendPlot::pointCount(int object) const {
    const auto found = series_.find(object);
    return found == series_.end() ? 0 : found->second.points.size();
}

std::vector<int> TrendPlot::drawnObjects() const {
    std::vector<int> drawn;
    const auto take = [&](int n) {
        if (pointCount(n) > 0 && drawn.size() < std::size_t(kMaxLines)) drawn.push_back(n);
    };
    for (const int n : shown_) take(n);
    if (!drawn.empty()) return drawn;
    for (const auto& entry : series_) take(entry.first);
    return drawn;
}

void TrendPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const std::vector<int> drawn = drawnObjects();
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const int n : drawn) {
        for (const Point& p : series_.at(n).points) {
            if (!std::isfinite(p.value)) continue;
            low = std::min(low, p.value);
            high = std::max(high, p.value);
        }
    }
    if (!std::isfinite(low)) low = 0, high = 1;
    const double margin = high > low ? (high - low) * 0.08 : std::max(1.0, std::abs(low) * 0.1);
    const QRectF area(kLeftMargin, kTopMargin, width() - kLeftMargin - kRightMargin,
                      height() - kTopMargin - kBottomMargin);
    const Frame frame{area, (newestMs_ ? newestMs_ : QDateTime::currentMSecsSinceEpoch()) - kSpanMs,
                      low - margin, high + margin};
    drawAxes(painter, frame);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(area.adjusted(-1, -1, 1, 1));
    for (std::size_t i = 0; i < drawn.size(); ++i)
        drawLine(painter, frame, series_.at(drawn[i]), kColours[i]);
    painter.setClipping(false);
    drawLegend(painter, frame, drawn);
}

// Five value steps up the side, a time mark every two minutes across.
void TrendPlot::drawAxes(QPainter& painter, const Frame& frame) const {
    const QColor gridColour = palette().mid().color();
    painter.setPen(palette().text().color());
    painter.drawRect(frame.area);
    for (int i = 0; i <= 4; ++i) {
        const double value = frame.low + (frame.high - frame.low) * i / 4;
        const double y = frame.at(frame.startMs, value).y();
        painter.setPen(QPen(gridColour, 0, Qt::DotLine));
        painter.drawLine(QPointF(frame.area.left(), y), QPointF(frame.area.right(), y));
        painter.setPen(palette().text().color());
        painter.drawText(QRectF(0, y - 8, kLeftMargin - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(value, 'g', 5));
    }
    for (int minutes = 0; minutes <= 10; minutes += 2) {
        const qint64 t = frame.startMs + qint64(minutes) * 60000;
        const double x = frame.at(t, frame.low).x();
        painter.setPen(QPen(gridColour, 0, Qt::DotLine));
        painter.drawLine(QPointF(x, frame.area.top()), QPointF(x, frame.area.bottom()));
        painter.setPen(palette().text().color());
        const QString label = QDateTime::fromMSecsSinceEpoch(t).toString(QStringLiteral("HH:mm:ss"));
        // The end marks stay inside the widget: the first reads from its mark, the last up to it.
        const bool first = minutes == 0;
        const bool last = minutes == 10;
        const QRectF box(first ? x : last ? x - 80 : x - 40, frame.area.bottom() + 3, 80, 16);
        const Qt::Alignment across = first ? Qt::AlignLeft : last ? Qt::AlignRight : Qt::AlignHCenter;
        painter.drawText(box, across | Qt::AlignTop, label);
    }
}

// Runs of good points joined; a failed read ends a run, so the line shows a gap there.
void TrendPlot::drawLine(QPainter& painter, const Frame& frame, const Series& series,
                         const QColor& colour) const {
    QPainterPath path;
    bool inRun = false;
    for (const Point& p : series.points) {
        if (!std::isfinite(p.value)) {
            inRun = false;
            continue;
        }
        const QPointF at = frame.at(p.timeMs, p.value);
        if (inRun) {
            path.lineTo(at);
        } else {
            path.moveTo(at);
            path.addEllipse(at, 1.5, 1.5); // a lone point between gaps still shows
            path.moveTo(at);
        }
        inRun = true;
    }
    painter.setPen(QPen(colour, 1.6));
    painter.drawPath(path);
}

void TrendPlot::drawLegend(QPainter& painter, const Frame& frame, const std::vector<int>& drawn) const {
    qreal x = frame.area.left() + 8;
    const qreal y = frame.area.top() + 6;
    const QFontMetrics metrics(font());
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        const Series& series = series_.at(drawn[i]);
        const QString label = series.name.isEmpty() ? QStringLiteral("Object %1").arg(drawn[i])
                                                    : QStringLiteral("%1 %2").arg(drawn[i]).arg(series.name);
        const qreal textWidth = metrics.horizontalAdvance(label);
        painter.fillRect(QRectF(x - 3, y - 2, textWidth + 24, metrics.height() + 4), palette().base());
        painter.fillRect(QRectF(x, y + metrics.height() / 2.0 - 2, 12, 4), kColours[i]);
        painter.setPen(palette().text().color());
        painter.drawText(QPointF(x + 16, y + metrics.ascent()), label);
        x += textWidth + 30;
    }
}

} // namespace korvex::ui::widgets
