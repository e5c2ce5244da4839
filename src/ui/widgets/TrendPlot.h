#pragma once
// The trend of watched values: one line per object over the last ten minutes, time across,
// value up, a legend with the objects' names, and a gap wherever a read failed. Points older
// than the span are dropped as new ones come, and no series holds more than kMaxPoints, so the
// memory stays bounded however long a watch runs. Drawn with QPainter: a few hundred points a
// line need no chart scene, and a gap is simply where the line is not drawn. Window thread only.
#include <QString>
#include <QWidget>

#include <deque>
#include <map>
#include <vector>

namespace korvex::ui::widgets {

class TrendPlot : public QWidget {
    Q_OBJECT
public:
    static constexpr qint64 kSpanMs = 10 * 60 * 1000;
    static constexpr std::size_t kMaxPoints = 6000; // ten minutes at ten reads a second
    static constexpr int kMaxLines = 8;             // more would not tell apart

    explicit TrendPlot(QWidget* parent = nullptr);

    // A read of the object at the time (milliseconds since the epoch); a value that is not a
    // number is a failed read, drawn as a gap.
    void addPoint(int object, const QString& name, qint64 timeMs, double value);
    // The objects whose lines are drawn (at most kMaxLines, in this order); none: every object
    // that has points, up to kMaxLines.
    void setShown(std::vector<int> objects);
    void clear();
    std::size_t pointCount(int object) const;
    std::vector<int> drawnObjects() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Point {
        qint64 timeMs;
        double value;
    };
    struct Series {
        QString name;
        std::deque<Point> points;
    };
    struct Frame;
    void drawAxes(QPainter& painter, const Frame& frame) const;
    void drawLine(QPainter& painter, const Frame& frame, const Series& series, const QColor& colour) const;
    void drawLegend(QPainter& painter, const Frame& frame, const std::vector<int>& drawn) const;

    std::map<int, Series> series_;
    std::vector<int> shown_;
    qint64 newestMs_ = 0;
};

} // namespace korvex::ui::widgets
