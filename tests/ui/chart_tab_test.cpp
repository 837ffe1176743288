// The "Chart" tab over real START runs on small synthetic datasets.
#include <numeric>

#include <QChartView>
#include <QCheckBox>
#include <QLineSeries>

#include "base/date_time.h"
#include "base/number_format.h"
#include "support/synthetic_engine.h"
#include "ui_test_support.h"

namespace vantel::test {
namespace {

using Chart_tab = Ui_test;

// Catches a curve of another network than step 8's (its last point is not
// the published value), a point too many or too few, a curve made with the
// box unchecked, testing that changes training (checked and unchecked runs
// publish different values), and a result chart that misses rows, mixes
// epoch counts or keeps rows once the list is cleared.
TEST_F(Chart_tab, draws_the_curve_of_a_checked_start_and_the_result_rows)
{
    // Labels the network learns a little better at each epoch: more ink
    // than the average image, or less.
    fill_synthetic_datasets(state, 3);
    Pattern_datasets& d = state.datasets;
    const auto label = [](const std::uint8_t* image) {
        return std::accumulate(image + 1, image + Record_bytes, 0) > 20070;
    };
    for (int k = 1; k <= Small_counts.train; ++k)
        for (int o = 0; o < Outputs; ++o) d.Train_targets[k][o] = o == label(d.Train_images[k]);
    for (int k = 1; k <= Small_counts.test; ++k) d.Test_labels[k] = label(d.Test_images[k]);
    engine_workspace(session).counts = Small_counts;
    state.run.One_second = one_second_units();
    Temp_dir dir;
    std::string data;
    for (int k = 1; k <= 60; ++k) data += std::to_string(k % 7 * 0.31) + "\n";
    window.dialog_answers.push_back(dir.write("series.txt", data));
    click(Control::Open_file_button);
    const auto lines = [this](const char* view) { return window.findChild<QChartView*>(view)->chart()->series(); };
    const auto points = [](QAbstractSeries* line) { return static_cast<QLineSeries*>(line)->points(); };

    std::vector<std::string> published;
    for (const auto& [checked, epochs] : {std::pair{true, 4}, {false, 4}, {true, 2}}) {
        window.findChild<QCheckBox*>("CheckBox_learning_curve")->setChecked(checked);
        window.set_text(Control::Edit_epoch, std::to_string(epochs));
        click(Control::Button_start);
        published.push_back(window.text(Control::Edit_Vantel));
        const QList<QPointF> curve = points(lines("Chart_learning_curve").at(0));
        ASSERT_EQ(curve.size(), checked ? epochs : 0) << published.size();
        if (checked) {
            EXPECT_EQ(curve.back().x(), epochs);
            EXPECT_EQ(format_value_text(curve.back().y(), '.'), published.back());
        }
    }
    EXPECT_EQ(published[0], published[1]);
    EXPECT_TRUE(window.messages.empty() && window.errors.empty());

    ASSERT_EQ(lines("Chart_results").size(), 2);
    EXPECT_EQ(lines("Chart_results")[0]->name(), "2 epochs");
    EXPECT_EQ(points(lines("Chart_results")[0]), QList<QPointF>({{1, std::stod(published[2])}}));
    EXPECT_EQ(points(lines("Chart_results")[1]), QList<QPointF>(2, {1, std::stod(published[0])}));
    window.set_lines(Control::Memo_Result, {});
    EXPECT_TRUE(lines("Chart_results").empty());
}

}  // namespace
}  // namespace vantel::test
