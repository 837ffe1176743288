// Tab "Chart": the learning curve of the last START above, the values of the
// result list below. The curve exists only when the box "Draw the learning
// curve" was checked as START began, since it costs a test of the network
// per epoch (model/learning_curve.h); the result list is drawn again
// whenever its lines change, whoever changes them.
#pragma once

#include <string>
#include <vector>

#include <QWidget>

class QChart;
class QCheckBox;
class QLineSeries;

namespace vantel::ui {

class Chart_tab : public QWidget {
public:
    Chart_tab();

    bool curve_wanted() const;
    // x = epoch 1, 2, ...; an epoch without a value (NaN) has no point.
    void show_curve(const std::vector<double>& values);
    // x = column, y = value, one line per epoch count; lines that are not
    // result rows are left out.
    void show_results(const std::vector<std::string>& rows);

private:
    QCheckBox* box_ = nullptr;
    QChart* curve_ = nullptr;
    QLineSeries* curve_line_ = nullptr;
    QChart* results_ = nullptr;
};

}  // namespace vantel::ui
