#include <gtest/gtest.h>

#include <regex>

#include "model/batch_fixture.h"
#include "batch/result_files.h"

namespace vantel::test {
namespace {

class All_columns : public ::testing::Test, public Batch_fixture {};

TEST_F(All_columns, one_column_gives_one_line_and_both_files_in_crlf)
{
    loaded(1);
    published = {"0.8123", "0.8200"};
    window.on_pump(1, [&] { EXPECT_FALSE(window.enabled(Control::Button_start_all)); });
    program.click(Control::Button_start_all);

    EXPECT_EQ(epochs_seen, (std::vector<std::string>{"3", "7"}));  // init lines 0 and 1
    EXPECT_EQ(read("DATA_RESULT/series1_Result.txt"), "0,8123 0,8200  0,0094\r\n");
    const auto logs = listing("Results");
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_TRUE(std::regex_match(logs[0], std::regex("last_result_03-07-2024-0915\\d\\d\\.txt"))) << logs[0];
    EXPECT_EQ(run_log(), "1\t0.8123\tseries1.txt\r\n1\t0.8200\tseries1.txt\r\n");
    EXPECT_TRUE(window.enabled(Control::Button_start_all));
    EXPECT_EQ(window.sleeps, 2);
}

TEST(All_columns_names, batch_result_name_drops_only_a_lower_case_txt_of_the_files_own_name)
{
    for (const auto& [name, result] : {std::pair{"DATA.TXT", "DATA.TXT_Result.txt"},
                                       std::pair{"a.txt.b.txt", "a.b_Result.txt"}}) {
        Batch_fixture f;
        f.loaded(1, name);
        f.published = {"0.5000", "0.5000"};
        f.program.click(Control::Button_start_all);
        EXPECT_EQ(f.listing("DATA_RESULT"), std::vector<std::string>{result});
    }
    // A program folder whose path holds ".txt" keeps it.
    EXPECT_EQ(batch_result_path("/runs.txt/app.txt/", "s.txt"), "/runs.txt/app.txt/DATA_RESULT/s_Result.txt");
    EXPECT_EQ(batch_result_path("/a/", "x.txt_y"), "/a/DATA_RESULT/x_y_Result.txt");
}

// Each case: the columns of the file, what the runs publish, and the lines
// the batch must write.
struct Line_case {
    const char* what;
    int columns;
    char separator;
    std::vector<std::string> published;
    std::vector<std::string> lines;
};

TEST(All_columns_lines, hold_what_was_published_and_the_relative_change)
{
    const std::vector<Line_case> cases = {
        {"examples", 2, '.', {"0.8123", "0.8200", "0.9000", "0.8000"},
         {"0,8123 0,8200  0,0094", "0,9000 0,8000  -0,1250"}},
        {"comma locale", 2, ',', {"0,8123", "0,8200", "0,9000", "0,8000"},
         {"0,8123 0,8200  0,0094", "0,9000 0,8000  -0,1250"}},
        {"second value 0", 1, '.', {"0.5000", "0.0000"}, {"0,5000 0,0000  n/a"}},
        {"stopped second run ends the batch", 4, '.', {"0.1000", "0.2000", "0.3000", Stopped},
         {"0,1000 0,2000  0,5000", "0,3000   "}},
        // A refused run must not pass the previous column's value for its own,
        // and the second run of that column is not started.
        {"refused run ends the batch", 3, '.', {"0.1000", "0.2000", Refused},
         {"0,1000 0,2000  0,5000", "   "}},
        {"first line without columns", 0, '.', {"0.5000", "0.2500"}, {"0,5000 0,2500  -1,0000"}},
    };
    for (const Line_case& c : cases) {
        SCOPED_TRACE(c.what);
        Batch_fixture f;
        f.program.session.decimal_separator = c.separator;
        f.loaded(c.columns);
        f.published = c.published;
        f.program.click(Control::Button_start_all);
        EXPECT_EQ(f.epochs_seen.size(), c.published.size());
        EXPECT_EQ(f.read("DATA_RESULT/series1_Result.txt"), crlf(c.lines));
        EXPECT_EQ(f.run_log(), crlf(f.window.lines(Control::Memo_Result)));
        EXPECT_TRUE(f.window.enabled(Control::Button_start_all));
    }
}

TEST_F(All_columns, each_batch_file_holds_only_its_own_lines_while_the_lists_keep_the_session)
{
    loaded(1);
    published = {"0.1000", "0.2000", "0.3000", "0.4000", "0.5000", "0.6000"};
    program.click(Control::Button_start_all);
    program.click(Control::Button_start_all);
    EXPECT_EQ(read("DATA_RESULT/series1_Result.txt"), crlf({"0,3000 0,4000  0,2500"}));
    // Another file's batch: its own lines, not the first file's.
    loaded(1, "other.txt");
    program.click(Control::Button_start_all);
    EXPECT_EQ(read("DATA_RESULT/other_Result.txt"), crlf({"0,5000 0,6000  0,1667"}));
    EXPECT_EQ(window.lines(Control::Memo4),
              (std::vector<std::string>{"0,1000 0,2000  0,5000", "0,3000 0,4000  0,2500", "0,5000 0,6000  0,1667"}));
    // The run logs keep the session's rows, as the result list shows them.
    const auto logs = listing("Results");
    ASSERT_EQ(logs.size(), 3u);
    EXPECT_EQ(read("Results/" + logs[2]), crlf(window.lines(Control::Memo_Result)));
    EXPECT_EQ(window.lines(Control::Memo_Result).size(), 6u);
}

TEST_F(All_columns, without_a_usable_file_it_opens_one_then_says_file_not_correct)
{
    loaded(1, "series1.txt", 1);
    int openings = 0;
    program.session.on(Control::Open_file_button, [&] { ++openings; });
    window.expect_message("File not correct");
    program.click(Control::Button_start_all);
    EXPECT_EQ(openings, 1);
    EXPECT_EQ(window.messages, std::vector<std::string>{"File not correct"});
    EXPECT_TRUE(listing("Results").empty());

    program.session.on(Control::Open_file_button, [&] { loaded(1); });
    published = {"0.5000", "0.2500"};
    program.click(Control::Button_start_all);
    EXPECT_EQ(window.lines(Control::Memo4), std::vector<std::string>{"0,5000 0,2500  -1,0000"});
}

TEST_F(All_columns, stop_handled_after_a_column_ends_the_batch_and_is_cleared)
{
    loaded(3);
    published = {"0.1000", "0.2000"};
    window.every_pump = [&] {
        if (window.lines(Control::Memo4).size() == 1) program.session.trigger(Control::Button10);
    };
    program.click(Control::Button_start_all);
    EXPECT_EQ(read("DATA_RESULT/series1_Result.txt"), "0,1000 0,2000  0,5000\r\n");
    EXPECT_FALSE(state.run.Stop_requested);
}

TEST_F(All_columns, an_error_in_a_run_saves_the_lines_so_far_then_reaches_the_error_display)
{
    loaded(3);
    published = {"0.1000", "0.2000", "0.3000"};
    program.session.on(Control::Button_start, [&] {
        scripted_start();
        if (epochs_seen.size() == 3) throw Vantel_error("Cannot open file \"/m/x\". No such file or directory");
    });
    program.click(Control::Button_start_all);
    EXPECT_EQ(window.errors, std::vector<std::string>{"Cannot open file \"/m/x\". No such file or directory."});
    EXPECT_EQ(read("DATA_RESULT/series1_Result.txt"), "0,1000 0,2000  0,5000\r\n");
    EXPECT_EQ(run_log(), crlf(window.lines(Control::Memo_Result)));
    EXPECT_EQ(window.lines(Control::Memo_Result).size(), 3u);
    EXPECT_TRUE(window.enabled(Control::Button_start_all));
}

TEST_F(All_columns, result_folders_are_created_and_a_file_that_cannot_be_written_is_named)
{
    std::filesystem::remove_all(dir.path() / "Results");
    std::filesystem::remove_all(dir.path() / "DATA_RESULT");
    loaded(1);
    published = {"0.5000", "0.5000", "0.5000", "0.5000"};
    program.click(Control::Button_start_all);
    EXPECT_EQ(listing("DATA_RESULT"), std::vector<std::string>{"series1_Result.txt"});
    EXPECT_EQ(run_log(), crlf(window.lines(Control::Memo_Result)));

    // A plain file where the folder belongs: even root cannot write below it.
    std::filesystem::remove_all(dir.path() / "DATA_RESULT");
    dir.write("DATA_RESULT", "kept");
    window.allow_any_message();
    program.click(Control::Button_start_all);
    ASSERT_EQ(window.messages.size(), 1u);
    const std::string named = "Cannot write file \"" + app_dir + "DATA_RESULT/series1_Result.txt\". ";
    EXPECT_EQ(window.messages[0].substr(0, named.size()), named);
    EXPECT_GT(window.messages[0].size(), named.size());  // the system's reason
    EXPECT_EQ(listing("Results").size(), 2u);            // the run log still written
    EXPECT_TRUE(window.enabled(Control::Button_start_all));
    EXPECT_EQ(read("DATA_RESULT"), "kept");
}

}  // namespace
}  // namespace vantel::test
