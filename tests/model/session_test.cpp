#include <gtest/gtest.h>

#include <stdexcept>

#include "base/date_time.h"
#include "support/test_program.h"

namespace vantel::test {
namespace {

TEST(General_error_display, appends_a_full_stop_only_after_characters_sorting_after_it)
{
    EXPECT_EQ(error_display_text("Floating point overflow"), "Floating point overflow.");
    EXPECT_EQ(error_display_text("Stream read error."), "Stream read error.");
    EXPECT_EQ(error_display_text("ends with a comma,"), "ends with a comma,");  // ',' sorts before '.'
    EXPECT_EQ(error_display_text("ends with a slash/"), "ends with a slash/.");
    EXPECT_EQ(error_display_text(""), "");
}

TEST(Session, an_error_ends_every_triggering_handler_and_is_shown_once)
{
    Test_program program;
    bool after_trigger_ran = false;
    program.session.on(Control::Button_Step_7, [] { throw Vantel_error("Floating point overflow"); });
    program.session.on(Control::Button_start, [&] {
        program.session.trigger(Control::Button_Step_7);
        after_trigger_ran = true;
    });
    program.click(Control::Button_start);
    EXPECT_FALSE(after_trigger_ran);
    ASSERT_EQ(program.window.errors.size(), 1u);
    EXPECT_EQ(program.window.errors[0], "Floating point overflow.");
    EXPECT_EQ(program.session.active_actions(), 0);
}

TEST(Session, trigger_runs_a_disabled_button_but_a_click_does_not)
{
    Test_program program;
    int runs = 0;
    program.session.on(Control::Button_Step_3, [&] { ++runs; });
    program.window.set_enabled(Control::Button_Step_3, false);
    program.click(Control::Button_Step_3);
    EXPECT_EQ(runs, 0);
    program.session.trigger(Control::Button_Step_3);
    EXPECT_EQ(runs, 1);
}

TEST(Date_time, one_second_is_the_difference_of_two_parsed_times)
{
    EXPECT_EQ(one_second_units(), 1.1574074074038876e-05);
    EXPECT_NE(one_second_units(), 1.0 / 86400);
    EXPECT_THROW(parse_time_of_day("15.03.45"), Vantel_error);
}

TEST(Date_time, elapsed_seconds_round_halves_to_even)
{
    // A unit of 1 makes the halves exact.
    EXPECT_EQ(elapsed_seconds(2.5, 0, 1.0), 2);
    EXPECT_EQ(elapsed_seconds(3.5, 0, 1.0), 4);
    EXPECT_EQ(elapsed_seconds(3.4999, 0, 1.0), 3);
    const double second = one_second_units();
    const Date_time start = 45000.5;
    EXPECT_EQ(time_label(start + 61 * second, start, second), "Time passed [s]=61");
    EXPECT_EQ(time_label(start, start, second), "Time passed [s]=0");
}

TEST(Date_time, file_stamp_is_month_day_year_then_time_without_separators)
{
    // 7 March 2024 09:15:02 is day 45358 since 1899-12-30.
    const Date_time when = 45358 + (9 * 3600 + 15 * 60 + 2) / 86400.0;
    EXPECT_EQ(format_file_stamp(when), "03-07-2024-091502");
}

TEST(Date_time, local_now_is_a_date_time_of_this_century)
{
    const Date_time now = local_now();
    EXPECT_GT(now, 36526.0);  // 2000-01-01
    EXPECT_LT(now, 73051.0);  // 2100-01-01
}

}  // namespace
}  // namespace vantel::test
