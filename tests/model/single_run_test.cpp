#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/date_time.h"
#include "engine/reservoir.h"
#include "model/step_handlers.h"
#include "support/test_program.h"

namespace vantel::test {
namespace {

const std::vector<int> All_nine = {1, 2, 3, 4, 5, 6, 7, 8, 9};

// START with steps 1, 3, 4, 6 and 9 as built and stand-ins for the
// extraction and for steps 2, 5, 7 and 8. In an undisturbed run the window
// is pumped four times: START's first label (1), the extraction (2),
// step 6 (3) and START's final label (4).
struct Single_run : ::testing::Test {
    Test_program program;
    Session& session = program.session;
    Fake_window& window = program.window;
    Program_state& state = *program.state;
    Window_run& run = program.state->run;

    Date_time clock = 45000.25;
    std::vector<int> steps;
    double accuracy_of_step_8 = 87.65;
    bool step_7_saw_stop = false;

    Single_run()
    {
        run.One_second = one_second_units();
        session.now = [this] { return clock; };
        state.series.Preview_count = 10;
        window.set_text(Control::Edit_column, "3");
        window.set_text(Control::Edit_epoch, "250");
        window.set_text(Control::Label_file_name, "file name=/data/a.txt");
        window.set_text(Control::Edit_Vantel, "0.1111");
        window.select_method(1);

        session.on(Control::Button_column_show, [this] {
            state.series.N = 6;
            for (int k = 1; k <= 6; ++k) state.series.xn[k] = 10.0 * k;
            window.set_text(Control::Edit_N, "6");
            window.pump();
        });
        record(1, [this] { Button_Step_1Click(session); });
        record(2, [] {});
        record(3, [this] { Button_Step_3Click(session); });
        record(4, [this] { Button_Step_4Click(session); });
        record(5, [] {});
        record(6, [this] { Button_Step_6Click(session); });
        record(7, [this] { step_7_saw_stop = run.Stop_requested; });
        record(8, [this] {
            run.Accuracy = accuracy_of_step_8;
            clock += 5 * run.One_second;
        });
        record(9, [this] { Button_Step_9Click(session); });
    }

    static Control step_button(int k)
    {
        const Control buttons[] = {Control::Button_Step_1, Control::Button_Step_2, Control::Button_Step_3,
                                   Control::Button_Step_4, Control::Button_Step_5, Control::Button_Step_6,
                                   Control::Button_Step_7, Control::Button_Step_8, Control::Button_Step_9};
        return buttons[k - 1];
    }
    void record(int k, std::function<void()> work)
    {
        session.on(step_button(k), [this, k, work] {
            steps.push_back(k);
            work();
        });
    }
    std::vector<std::string> rows() const { return window.lines(Control::Memo_Result); }
};

TEST_F(Single_run, runs_the_nine_steps_in_order_and_appends_one_row)
{
    std::string first_label;
    bool start_enabled_during_run = true;
    window.on_pump(1, [&] {
        first_label = window.text(Control::Label_Time);
        start_enabled_during_run = window.enabled(Control::Button_start);
    });

    program.click(Control::Button_start);

    EXPECT_EQ(steps, All_nine);
    EXPECT_EQ(first_label, "Time passed [s]=0");
    EXPECT_FALSE(start_enabled_during_run);
    ASSERT_EQ(rows(), std::vector<std::string>{"3\t0.8765\t250\t6\tfile name=/data/a.txt"});
    const std::string row = rows()[0];
    EXPECT_EQ(std::count(row.begin(), row.end(), '\t'), 4);
    EXPECT_EQ(window.text(Control::Edit_Vantel), "0.8765");
    EXPECT_EQ(window.text(Control::Label_Time), "Time passed [s]=5");
    EXPECT_EQ(run.Run_start, 45000.25);
    EXPECT_EQ(run.Epochs, 250);
    EXPECT_EQ(window.pumps, 4);
    EXPECT_TRUE(window.enabled(Control::Button_start));
    for (int k = 1; k <= 9; ++k) EXPECT_TRUE(window.enabled(step_button(k))) << k;
    // Steps 3 and 4 filled W1 from the series the extraction had just cut.
    EXPECT_EQ(state.net.W1[0][1], 10.0);
    EXPECT_EQ(state.net.W1[6][1], 10.0);
    EXPECT_EQ(state.net.W2[25][9], 0.5);
    EXPECT_TRUE(window.errors.empty());
}

TEST_F(Single_run, each_row_takes_the_texts_of_its_own_run)
{
    program.click(Control::Button_start);
    window.set_text(Control::Edit_column, "2");
    window.set_text(Control::Edit_epoch, "-4");
    accuracy_of_step_8 = 100;
    program.click(Control::Button_start);

    EXPECT_EQ(rows(), (std::vector<std::string>{"3\t0.8765\t250\t6\tfile name=/data/a.txt",
                                                "2\t1.0000\t1\t6\tfile name=/data/a.txt"}));
}

class Stop_button : public Single_run, public ::testing::WithParamInterface<Control> {};

TEST_P(Stop_button, clicked_before_step_7_the_run_publishes_nothing)
{
    window.on_pump(2, [&] { program.click(GetParam()); });  // during the extraction

    program.click(Control::Button_start);

    EXPECT_EQ(steps, All_nine);
    EXPECT_TRUE(step_7_saw_stop);
    EXPECT_EQ(window.text(Control::Edit_Vantel), "");
    EXPECT_TRUE(rows().empty());
    EXPECT_EQ(window.text(Control::Label_Time), "Time passed [s]=5");
    EXPECT_TRUE(window.enabled(Control::Button_start));
    EXPECT_TRUE(run.Stop_requested);
    EXPECT_TRUE(run.Stop_all_files);
    EXPECT_TRUE(window.messages.empty());
}

TEST_P(Stop_button, clicked_at_the_last_pump_comes_after_the_row)
{
    window.on_pump(4, [&] { program.click(GetParam()); });

    program.click(Control::Button_start);

    EXPECT_EQ(rows(), std::vector<std::string>{"3\t0.8765\t250\t6\tfile name=/data/a.txt"});
    EXPECT_EQ(window.text(Control::Edit_Vantel), "0.8765");
    EXPECT_TRUE(run.Stop_requested);
}

TEST_P(Stop_button, changes_nothing_but_the_two_flags_when_nothing_runs)
{
    window.set_enabled(Control::Button_Step_4, false);
    program.click(GetParam());
    EXPECT_TRUE(run.Stop_requested);
    EXPECT_TRUE(run.Stop_all_files);
    EXPECT_TRUE(window.enabled(Control::Button_start));
    EXPECT_FALSE(window.enabled(Control::Button_Step_4));
    EXPECT_EQ(window.text(Control::Edit_Vantel), "0.1111");
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(window.sleeps, 0);
}

INSTANTIATE_TEST_SUITE_P(Both, Stop_button, ::testing::Values(Control::Button10, Control::Button11),
                         [](const auto& info) { return std::string(control_name(info.param)); });

TEST_F(Single_run, start_after_a_stopped_run_runs_normally)
{
    window.on_pump(3, [&] { program.click(Control::Button11); });  // in step 6
    program.click(Control::Button_start);
    ASSERT_TRUE(rows().empty());

    program.click(Control::Button_start);

    EXPECT_FALSE(step_7_saw_stop);
    EXPECT_FALSE(run.Stop_requested);
    EXPECT_TRUE(run.Stop_all_files);  // only the all-files batch clears it
    EXPECT_EQ(rows(), std::vector<std::string>{"3\t0.8765\t250\t6\tfile name=/data/a.txt"});
}

TEST_F(Single_run, without_five_lines_of_data_start_and_step_1_only_say_so)
{
    run.Stop_requested = true;
    run.Run_start = 1.0;
    for (int preview : {0, 3, 4}) {
        state.series.Preview_count = preview;
        window.expect_message("Please load data!");
        program.click(Control::Button_start);
        window.expect_message("Please load data!");
        program.click(Control::Button_Step_1);
    }
    EXPECT_EQ(window.messages.size(), 6u);
    EXPECT_EQ(steps, (std::vector<int>{1, 1, 1}));  // step 1's own clicks, nothing more
    EXPECT_TRUE(window.enabled(Control::Button_start));
    EXPECT_TRUE(window.enabled(Control::Button_Step_1));
    EXPECT_EQ(window.text(Control::Edit_Vantel), "0.1111");
    EXPECT_EQ(window.text(Control::Edit_N), "19625");  // no extraction ran
    EXPECT_EQ(window.text(Control::Label_Time), "Time passed [s]=");
    EXPECT_EQ(run.Run_start, 1.0);
    EXPECT_TRUE(run.Stop_requested);
    EXPECT_EQ(window.pumps, 0);
}

TEST_F(Single_run, an_error_in_a_step_ends_the_run_and_leaves_start_disabled)
{
    record(5, [this] {
        clock += 3 * run.One_second;
        throw Vantel_error("Stream read error");
    });

    program.click(Control::Button_start);

    EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(window.errors, std::vector<std::string>{"Stream read error."});
    EXPECT_FALSE(window.enabled(Control::Button_start));
    EXPECT_TRUE(rows().empty());
    EXPECT_EQ(window.text(Control::Edit_Vantel), "");
    EXPECT_EQ(window.text(Control::Label_Time), "Time passed [s]=0");

    program.click(Control::Button_start);  // refused: the button is disabled
    EXPECT_EQ(steps.size(), 5u);
}

TEST_F(Single_run, start_while_step_2_loads_asks_to_wait_and_does_nothing_else)
{
    record(2, [this] {
        session.flags.Datasets_loading = true;
        window.pump();
        session.flags.Datasets_loading = false;
    });
    window.on_pump(1, [&] {
        window.expect_message("Please wait until the MNIST-10 datasets have loaded.");
        program.click(Control::Button_start);
    });

    program.click(Control::Button_Step_2);

    EXPECT_EQ(steps, std::vector<int>{2});
    EXPECT_EQ(window.messages.size(), 1u);
    EXPECT_TRUE(window.enabled(Control::Button_start));
    EXPECT_EQ(window.text(Control::Edit_Vantel), "0.1111");
    EXPECT_EQ(window.pumps, 1);
    EXPECT_EQ(run.Run_start, 0.0);
}

TEST_F(Single_run, step_1_extracts_first_and_pauses_after)
{
    int sleeps_before_extraction = -1;
    bool button_enabled_meanwhile = true;
    session.on(Control::Button_column_show, [&] {
        sleeps_before_extraction = window.sleeps;
        button_enabled_meanwhile = window.enabled(Control::Button_Step_1);
    });
    program.click(Control::Button_Step_1);
    EXPECT_EQ(sleeps_before_extraction, 0);
    EXPECT_FALSE(button_enabled_meanwhile);
    EXPECT_EQ(window.sleeps, 1);
    EXPECT_TRUE(window.enabled(Control::Button_Step_1));
}

TEST(Step_6, turns_any_text_into_an_epoch_count_of_at_least_one)
{
    const std::pair<const char*, int> cases[] = {
        {"0", 1}, {"-7", 1}, {"", 1}, {"epochs", 1}, {"250", 250}, {"12abc", 12}, {"1", 1}};
    for (const auto& [text, epochs] : cases) {
        Test_program program;
        program.window.set_text(Control::Edit_epoch, text);
        program.click(Control::Button_Step_6);
        EXPECT_EQ(program.state->run.Epochs, epochs) << '"' << text << '"';
        EXPECT_EQ(program.window.text(Control::Edit_epoch), std::to_string(epochs)) << '"' << text << '"';
        EXPECT_EQ(program.window.pumps, 1);
        EXPECT_EQ(program.window.sleeps, 1);
        EXPECT_TRUE(program.window.enabled(Control::Button_Step_6));
    }
}

TEST(Step_9, publishes_accuracy_over_100_with_four_decimals)
{
    const struct {
        double accuracy;
        char separator;
        const char* text;
    } cases[] = {{87.65, '.', "0.8765"}, {100, '.', "1.0000"}, {5.07, '.', "0.0507"},
                 {87.65, ',', "0,8765"}, {0, '.', "0.0000"}};
    for (const auto& c : cases) {
        Test_program program;
        program.state->run.Accuracy = c.accuracy;
        program.session.decimal_separator = c.separator;
        program.click(Control::Button_Step_9);
        EXPECT_EQ(program.window.text(Control::Edit_Vantel), c.text) << c.accuracy;
        EXPECT_TRUE(program.window.enabled(Control::Button_Step_9));
        EXPECT_EQ(program.window.pumps, 0);
    }
}

TEST(Step_9, publishes_nothing_while_a_stop_is_pending)
{
    Test_program program;
    program.state->run.Accuracy = 87.65;
    program.window.set_text(Control::Edit_Vantel, "");
    program.click(Control::Button11);
    program.click(Control::Button_Step_9);
    EXPECT_EQ(program.window.text(Control::Edit_Vantel), "");
    EXPECT_TRUE(program.window.enabled(Control::Button_Step_9));
}

}  // namespace
}  // namespace vantel::test
