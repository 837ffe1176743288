#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "app/startup.h"
#include "support/test_program.h"

namespace vantel::test {
namespace {

// A program folder holding the given init file (or none), started up.
struct Started {
    Temp_dir app;
    Test_program program;
    std::string dir = app.path().string() + "/";

    explicit Started(const std::optional<std::string>& init = std::nullopt, bool start = true)
    {
        if (init) app.write("init.txt", *init);
        program.session.executable_dir = dir;
        if (start) form_create();
    }
    void form_create()
    {
        program.session.run_action([this] { FormCreate(program.session); });
    }
    const Fake_window& window() const { return program.window; }
};

std::string init_text(const std::string& auto_line, const std::string& method_line,
                      const std::string& n_line)
{
    return "100\r\n20\r\n" + auto_line + "\r\n" + method_line + "\r\n" + n_line + "\r\nPath=\r\n";
}

TEST(Startup, complete_init_file_sets_up_the_window)
{
    Started s(init_text("AUTO=YES", "METHOD=2", "N=500") + "ignored 6\r\n");
    const auto& w = s.window();
    EXPECT_TRUE(w.errors.empty());
    EXPECT_EQ(w.lines(Control::Memo3),
              (std::vector<std::string>{"100", "20", "AUTO=YES", "METHOD=2", "N=500", "Path=", "ignored 6"}));
    EXPECT_TRUE(w.lines(Control::Memo4).empty());
    EXPECT_EQ(w.selected_method(), 2);
    EXPECT_EQ(w.text(Control::Edit_N), "500");
    EXPECT_EQ(w.text(Control::Label12), "AUTO");
    EXPECT_EQ(w.colors.at(Control::Label12), 0xFF0000u);
    EXPECT_TRUE(w.timer_enabled());
    EXPECT_TRUE(w.lines(Control::Memo5).empty());  // no DATA folder
    EXPECT_TRUE(s.program.state->datasets.Datasets_pending);
    EXPECT_EQ(s.program.state->run.App_dir, s.dir);
    EXPECT_EQ(s.program.state->run.One_second, 1.1574074074038876e-05);
}

TEST(Startup, only_the_exact_auto_line_arms_the_timer)
{
    for (const char* line : {"auto=yes", "AUTO=YES ", " AUTO=YES", "AUTO", "AUTO=NO", ""}) {
        Started s(init_text(line, "METHOD=5", "N=19625"));
        EXPECT_FALSE(s.window().timer_enabled()) << '"' << line << '"';
        EXPECT_EQ(s.window().text(Control::Label12), "") << '"' << line << '"';
        EXPECT_EQ(s.window().colors.count(Control::Label12), 0u);
    }
}

TEST(Startup, only_an_exact_method_line_selects_a_method)
{
    for (int k = 1; k <= 6; ++k) {
        Started s(init_text("AUTO=NO", "METHOD=" + std::to_string(k), "N=5"));
        EXPECT_EQ(s.window().selected_method(), k);
    }
    for (const char* line : {"METHOD=7", "METHOD=02", "method=2", "METHOD=2 ", "METHOD=", "2"}) {
        Started s(init_text("AUTO=NO", line, "N=5"));
        EXPECT_EQ(s.window().selected_method(), 5) << '"' << line << '"';
    }
}

TEST(Startup, n_line_loses_every_n_equals)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"N=500", "500"}, {"500", "500"}, {"N=", ""}, {"N=N=7", "7"}, {"n=5", "n=5"}, {" N=5 ", " 5 "}};
    for (const auto& [line, shown] : cases) {
        Started s(init_text("AUTO=NO", "METHOD=5", line));
        EXPECT_EQ(s.window().text(Control::Edit_N), shown) << '"' << line << '"';
    }
}

TEST(Startup, lines_end_at_cr_lf_cr_or_lf)
{
    Started s(std::string("100\r20\n\nMETHOD=3\r\nN=9\n\rlast"));
    EXPECT_EQ(s.window().lines(Control::Memo3),
              (std::vector<std::string>{"100", "20", "", "METHOD=3", "N=9", "", "last"}));
    EXPECT_EQ(s.window().selected_method(), 3);
    EXPECT_EQ(s.window().text(Control::Edit_N), "9");
}

TEST(Startup, missing_init_file_reports_once_and_leaves_the_rest_as_created)
{
    Started s(std::nullopt, false);
    s.app.write("DATA/a.txt", "1\n");
    s.program.window.set_timer_enabled(false);
    s.form_create();
    const auto& w = s.window();
    EXPECT_EQ(w.errors, std::vector<std::string>{"Cannot open file \"" + s.dir +
                                                 "init.txt\". No such file or directory."});
    EXPECT_TRUE(w.lines(Control::Memo3).empty());
    EXPECT_TRUE(w.lines(Control::Memo4).empty());
    EXPECT_EQ(w.selected_method(), 5);
    EXPECT_EQ(w.text(Control::Edit_N), "19625");
    EXPECT_EQ(w.lines(Control::Memo5), std::vector<std::string>{"Memo5"});
    EXPECT_EQ(w.text(Control::Label12), "--");
    EXPECT_FALSE(w.timer_enabled());
    EXPECT_TRUE(s.program.state->datasets.Datasets_pending);
    EXPECT_EQ(s.program.state->run.App_dir, s.dir);
    EXPECT_EQ(init_line(s.program.session, 0), "");
}

TEST(Startup, short_init_file_reads_missing_lines_as_empty)
{
    Started s(std::string("100\r\n20\r\nAUTO=YES\r\n"));
    const auto& w = s.window();
    EXPECT_TRUE(w.errors.empty());
    EXPECT_TRUE(w.timer_enabled());
    EXPECT_EQ(w.selected_method(), 5);
    EXPECT_EQ(w.text(Control::Edit_N), "");
    EXPECT_EQ(init_line(s.program.session, 5), "");
}

TEST(Startup, init_file_over_16_mib_is_refused_like_an_unreadable_one)
{
    Started s(std::nullopt, false);
    const std::string path = s.app.write("init.txt", init_text("AUTO=YES", "METHOD=2", "N=5"));
    std::filesystem::resize_file(path, (16u << 20) + 1);  // the lines, then zeros
    s.form_create();
    const auto& w = s.window();
    // No full stop after the closing parenthesis, which sorts before it.
    EXPECT_EQ(w.errors, std::vector<std::string>{"File \"" + path +
                                                 "\" is too large: it may hold at most 16777216 bytes (16 MiB)"});
    EXPECT_TRUE(w.lines(Control::Memo3).empty());
    EXPECT_EQ(w.selected_method(), 5);
    EXPECT_FALSE(w.timer_enabled());
}

TEST(Startup, data_folder_lists_every_txt_entry)
{
    Started s(init_text("AUTO=NO", "METHOD=5", "N=5"), false);
    s.app.write("DATA/a.txt", "1\n");
    s.app.write("DATA/b.csv", "1\n");
    s.app.write("DATA/.hidden.txt", "1\n");
    s.app.write("DATA/A.TXT", "1\n");
    s.app.write("DATA/a.txt.bak", "1\n");
    std::filesystem::create_directories(s.app.path() / "DATA" / "old.txt");
    s.form_create();
    auto listed = s.window().lines(Control::Memo5);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{".hidden.txt", "a.txt", "old.txt"}));
}

TEST(Startup, timer_tick_starts_the_all_files_batch_once_with_the_timer_off)
{
    Started s(init_text("AUTO=YES", "METHOD=5", "N=5"));
    ASSERT_TRUE(s.window().timer_enabled());
    int batches = 0;
    bool timer_on_during_batch = true;
    s.program.session.on(Control::Open_ALL_file_button, [&] {
        ++batches;
        timer_on_during_batch = s.window().timer_enabled();
    });
    Timer1Timer(s.program.session);
    EXPECT_EQ(batches, 1);
    EXPECT_FALSE(timer_on_during_batch);
    EXPECT_FALSE(s.window().timer_enabled());
}

}  // namespace
}  // namespace vantel::test
