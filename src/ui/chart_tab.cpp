#include "ui/chart_tab.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QValueAxis>
#include <QVBoxLayout>

#include "batch/result_row.h"

namespace vantel::ui {

namespace {

// The lowest and highest value drawn; high < low while there is none.
struct Span {
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    void add(double y)
    {
        low = std::min(low, y);
        high = std::max(high, y);
    }
};

QChart* add_chart(QVBoxLayout* layout, const char* name, const char* title, const char* x_title)
{
    auto* chart = new QChart;
    chart->setTitle(QString::fromLatin1(title));
    chart->setMargins({4, 2, 4, 2});
    auto* x = new QValueAxis;
    x->setTitleText(QString::fromLatin1(x_title));
    x->setLabelFormat(QStringLiteral("%d"));
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(0);
    chart->addAxis(x, Qt::AlignBottom);
    auto* y = new QValueAxis;
    y->setTitleText(QStringLiteral("Value"));
    chart->addAxis(y, Qt::AlignLeft);
    auto* view = new QChartView(chart);
    view->setObjectName(QString::fromLatin1(name));
    view->setRenderHint(QPainter::Antialiasing);
    layout->addWidget(view, 1);
    return chart;
}

QValueAxis* axis(const QChart* chart, Qt::Orientation orientation)
{
    return qobject_cast<QValueAxis*>(chart->axes(orientation).constFirst());
}

// Epochs and columns are whole numbers: the axis reaches half a unit past
// the first and the last (so that no point sits on its edge), with ticks
// every 1, 2 or 5 times a power of ten, at most ten intervals.
void set_whole_range(QValueAxis* x, int first, int last)
{
    x->setRange(first - 0.5, last + 0.5);
    for (double scale = 1;; scale *= 10)
        for (const double step : {scale, 2 * scale, 5 * scale})
            if ((static_cast<double>(last) - first) / step <= 10) {
                x->setTickInterval(step);
                return;
            }
}

void set_value_range(QValueAxis* y, const Span& span)
{
    if (span.high < span.low) {
        y->setRange(0, 1);
    } else {
        const double margin = std::max((span.high - span.low) * 0.05, 0.005);
        y->setRange(span.low - margin, span.high + margin);
        y->applyNiceNumbers();
    }
}

QLineSeries* add_line(QChart* chart, const QString& name, const QList<QPointF>& points)
{
    auto* line = new QLineSeries;
    line->setName(name);
    line->setPointsVisible(true);
    line->replace(points);
    chart->addSeries(line);
    for (QAbstractAxis* a : chart->axes()) line->attachAxis(a);
    return line;
}

}  // namespace

Chart_tab::Chart_tab()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* row = new QHBoxLayout;
    box_ = new QCheckBox(QStringLiteral("Draw the learning curve"));
    box_->setObjectName(QStringLiteral("CheckBox_learning_curve"));
    row->addWidget(box_);
    row->addWidget(new QLabel(QStringLiteral(
        "(of the next START: the network is tested after every epoch, about 0.016 s more per epoch)")));
    row->addStretch(1);
    layout->addLayout(row);
    curve_ = add_chart(layout, "Chart_learning_curve", "Learning curve of the last START", "Epoch");
    curve_->legend()->hide();
    curve_line_ = add_line(curve_, QStringLiteral("Value"), {});
    results_ = add_chart(layout, "Chart_results", "Result list: value by column, one line per epoch count",
                         "Column");
    results_->legend()->setAlignment(Qt::AlignRight);
    show_curve({});
    show_results({});
}

bool Chart_tab::curve_wanted() const
{
    return box_->isChecked();
}

void Chart_tab::show_curve(const std::vector<double>& values)
{
    QList<QPointF> points;
    Span span;
    for (std::size_t e = 0; e < values.size(); ++e)
        if (std::isfinite(values[e])) {
            points.append({static_cast<double>(e + 1), values[e]});
            span.add(values[e]);
        }
    curve_line_->replace(points);
    set_whole_range(axis(curve_, Qt::Horizontal), 1, values.empty() ? 10 : static_cast<int>(values.size()));
    set_value_range(axis(curve_, Qt::Vertical), span);
}

void Chart_tab::show_results(const std::vector<std::string>& rows)
{
    std::map<int, QList<QPointF>> by_epochs;
    Span span;
    int first = std::numeric_limits<int>::max();
    int last = std::numeric_limits<int>::min();
    for (const std::string& row : rows)
        if (const auto read = read_result_row(row)) {
            by_epochs[read->epochs].append({static_cast<double>(read->column), read->value});
            span.add(read->value);
            first = std::min(first, read->column);
            last = std::max(last, read->column);
        }
    results_->removeAllSeries();
    for (auto& [epochs, points] : by_epochs) {
        std::stable_sort(points.begin(), points.end(), [](QPointF a, QPointF b) { return a.x() < b.x(); });
        add_line(results_, QStringLiteral("%1 epochs").arg(epochs), points);
    }
    if (by_epochs.empty()) {
        first = 1;
        last = 10;
    }
    set_whole_range(axis(results_, Qt::Horizontal), first, last);
    set_value_range(axis(results_, Qt::Vertical), span);
}

}  // namespace vantel::ui
