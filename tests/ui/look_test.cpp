// A look at the window as a person sees it. Skipped unless the environment
// variable VANTEL_UI_SCREENSHOTS names a folder: then the window is filled
// with sample texts and each tab is saved there as a PNG (vantel.png,
// manual.png, about.png, init.png, chart.png),
// and initial.png before they are filled; chart-tab.png shows the "Chart"
// tab after real runs on the build's MNIST-10 files. For example with
//   VANTEL_UI_SCREENSHOTS=/tmp build-ui/bin/test_ui --gtest_filter='Look.*'
// or under Xvfb with QT_QPA_PLATFORM=xcb for the X11 rendering.
#include <cstdio>
#include <string>

#include <QCheckBox>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>

#include "base/date_time.h"
#include "support/test_program.h"
#include "ui_test_support.h"

namespace vantel::test {
namespace {

using Look = Ui_test;

TEST_F(Look, saves_screenshots_of_the_tabs)
{
    const QString folder = qEnvironmentVariable("VANTEL_UI_SCREENSHOTS");
    if (folder.isEmpty()) GTEST_SKIP() << "set VANTEL_UI_SCREENSHOTS to a folder to save screenshots";

    // The window as it opens (before start-up fills anything).
    window.show();
    pump_until([] { return false; }, 50);
    EXPECT_TRUE(window.grab().save(QDir(folder).filePath("initial.png")));

    // Texts as a loaded file and a finished run leave them.
    window.set_text(Control::Label_file_name, "file name=/opt/vantel/DATA/logistic_map.txt");
    window.set_text(Control::Label_total_lines, "Total lines=19625");
    window.set_text(Control::Label_number_of_columns, "Number of columns=4");
    window.set_text(Control::Label11, "logistic_map.txt");
    window.set_lines(Control::Memo_user_data, {"0.1000000000\t0.1000000000\t0.1000000000\t0.1000000000",
                                               "0.3240000000\t0.3330000000\t0.3420000000\t0.3600000000",
                                               "0.7884864000\t0.8218107000\t0.8551368000\t0.9216000000"});
    std::vector<std::string> xn;
    for (int k = 1; k <= 30; ++k) xn.push_back(std::to_string(k) + "\t0." + std::to_string(123456789LL * k % 1000000007LL));
    window.set_lines(Control::Memo_xn, xn);
    window.set_text(Control::Label2_N, "N=19625");
    window.set_text(Control::Label_load_status, "Test images");
    window.set_progress(60);
    window.set_text(Control::Label_epoch, "Current epoch =100");
    window.set_text(Control::Edit_Vantel, "0.8123");
    window.set_text(Control::Label_Time, "Time passed [s]=83");
    window.set_text(Control::Label_Time_all, "Time passed [s]=512");
    window.set_lines(Control::Memo_Result, {"1\t0.8123\t100\t19625\tfile name=/opt/vantel/DATA/logistic_map.txt",
                                            "2\t0.7901\t100\t19625\tfile name=/opt/vantel/DATA/logistic_map.txt"});
    window.set_text(Control::Label12, "AUTO");
    window.set_font_color(Control::Label12, 0xFF0000);
    window.set_lines(Control::Memo3, {"10", "20", "AUTO=NO", "METHOD=5", "N=19625", "Path="});
    window.set_lines(Control::Memo4, {"1\t0.8123\t0.8200\t0.0095", "2\t0.7901\t0.7950\t0.0062"});
    window.set_lines(Control::Memo5, {"logistic_map.txt", "random_discrete_map.txt", "two_valued_map.txt"});

    window.show();
    const char* names[] = {"vantel", "manual", "about", "init", "chart"};
    for (int tab = 0; tab < 5; ++tab) {
        window.page_control()->setCurrentIndex(tab);
        pump_until([] { return false; }, 50);
        const QString file = QDir(folder).filePath(QString::fromLatin1(names[tab]) + ".png");
        EXPECT_TRUE(window.grab().save(file)) << file.toStdString();
        std::printf("saved %s\n", file.toLocal8Bit().constData());
    }
    window.hide();
}

TEST_F(Look, saves_the_chart_tab_after_real_runs)
{
    const QString folder = qEnvironmentVariable("VANTEL_UI_SCREENSHOTS");
    if (folder.isEmpty()) GTEST_SKIP() << "set VANTEL_UI_SCREENSHOTS to a folder to save screenshots";
    ASSERT_TRUE(real_mnist_present());
    session.executable_dir = state.run.App_dir = built_app_dir();
    state.run.One_second = one_second_units();
    state.datasets.Datasets_pending = true;
    window.set_lines(Control::Memo3, {"5", "15", "AUTO=NO", "METHOD=5", "N=19625", "Path="});
    window.dialog_answers.push_back(built_app_dir() + "DATA/logistic_map.txt");
    click(Control::Open_file_button);
    window.findChild<QCheckBox*>("CheckBox_learning_curve")->setChecked(true);
    // Both epoch counts of every column; the curve is the last run's.
    for (int run = 0; run < 8; ++run) {
        window.set_text(Control::Edit_epoch, run < 4 ? "5" : "15");
        window.set_text(Control::Edit_column, std::to_string(run % 4 + 1));
        click(Control::Button_start);
        ASSERT_FALSE(window.text(Control::Edit_Vantel).empty()) << ::testing::PrintToString(window.errors);
    }
    window.show();
    window.page_control()->setCurrentIndex(4);
    pump_until([] { return false; }, 50);
    EXPECT_TRUE(window.grab().save(QDir(folder).filePath("chart-tab.png")));
    window.hide();
}

}  // namespace
}  // namespace vantel::test
