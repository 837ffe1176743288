#include <gtest/gtest.h>

#include "model/batch_fixture.h"

namespace vantel::test {
namespace {

class All_files : public ::testing::Test, public Batch_fixture {
protected:
    All_files()
    {
        program.session.on(Control::Button_column_show, [this] { shown.push_back(window.text(Control::Label11)); });
    }

    // `rows` lines of `columns` tab-separated numbers.
    void data_file(const std::string& name, int rows, int columns)
    {
        std::string text;
        for (int r = 1; r <= rows; ++r)
            for (int c = 1; c <= columns; ++c) text += std::to_string(r * c) + (c < columns ? "\t" : "\r\n");
        dir.write("DATA/" + name, text);
    }

    void run(const std::vector<std::string>& names)
    {
        window.set_lines(Control::Memo5, names);
        program.click(Control::Open_ALL_file_button);
    }

    std::vector<std::string> shown;  // Label11 each time "Show" was triggered
};

TEST_F(All_files, three_files_get_their_own_result_files_then_the_window_closes)
{
    data_file("a.txt", 6, 2);
    data_file("b.txt", 12, 1);
    data_file("c.txt", 5, 1);
    published = {"0.1000", "0.2000", "0.3000", "0.4000", "0.5000", "0.6000", "0.7000", "0.8000"};
    window.add_line(Control::Memo_Result, "row of an earlier run");
    run({"a.txt", "b.txt", "c.txt"});

    EXPECT_EQ(read("DATA_RESULT/a_Result.txt"), crlf({"0,1000 0,2000  0,5000", "0,3000 0,4000  0,2500"}));
    EXPECT_EQ(read("DATA_RESULT/b_Result.txt"), crlf({"0,5000 0,6000  0,1667"}));
    EXPECT_EQ(read("DATA_RESULT/c_Result.txt"), crlf({"0,7000 0,8000  0,1250"}));
    const auto logs = listing("Results");  // in time order
    ASSERT_EQ(logs.size(), 3u);
    EXPECT_EQ(read("Results/" + logs[0]), crlf({"1\t0.1000\ta.txt", "1\t0.2000\ta.txt", "2\t0.3000\ta.txt",
                                               "2\t0.4000\ta.txt"}));
    EXPECT_EQ(read("Results/" + logs[2]), crlf({"1\t0.7000\tc.txt", "1\t0.8000\tc.txt"}));
    EXPECT_EQ(shown, (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));

    // The window shows the last file.
    EXPECT_EQ(window.text(Control::Label_file_name), "file name=" + app_dir + "DATA/c.txt");
    EXPECT_EQ(window.text(Control::Label_total_lines), "Total lines=5");
    EXPECT_EQ(window.lines(Control::Memo_user_data), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(window.text(Control::Edit_N), "500");
    EXPECT_EQ(window.close_requests, 1);
    EXPECT_TRUE(window.enabled(Control::Open_ALL_file_button));
}

TEST_F(All_files, only_an_exact_turbo_first_line_skips_the_computation)
{
    dir.write("DATA/short.txt", "TURBO\r\n1\r\n");
    std::string long_turbo = "TURBO\r\n";
    for (int i = 1; i < 12; ++i) long_turbo += std::to_string(i) + "\r\n";
    dir.write("DATA/long.txt", long_turbo);
    run({"short.txt", "long.txt"});
    EXPECT_EQ(listing("DATA_RESULT"), std::vector<std::string>{"short_Result.txt"});
    EXPECT_EQ(read("DATA_RESULT/short_Result.txt"), "0 0  0\r\n");  // Memo6
    EXPECT_EQ(window.lines(Control::Memo_user_data).size(), 10u);
    EXPECT_EQ(window.text(Control::Label_number_of_columns), "Number of columns=1");
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(epochs_seen.empty());

    // Not the marker: a short file is reported, then computed all the same.
    dir.write("DATA/space.txt", "TURBO \r\n1\r\n");
    dir.write("DATA/lower.txt", "turbo\r\n1\r\n");
    published = {"0.1000", "0.2000", "0.3000", "0.4000"};
    window.expect_message("File is not correct");
    window.expect_message("File is not correct");
    run({"space.txt", "lower.txt"});
    EXPECT_EQ(shown, (std::vector<std::string>{"space.txt", "lower.txt"}));
    EXPECT_EQ(read("DATA_RESULT/lower_Result.txt"), "0,3000 0,4000  0,2500\r\n");
    EXPECT_EQ(window.close_requests, 2);
}

TEST_F(All_files, stop_during_the_second_of_three_files_ends_after_it_and_closes)
{
    data_file("a.txt", 5, 1);
    data_file("b.txt", 5, 2);
    data_file("c.txt", 5, 1);
    published = {"0.1000", "0.2000", Stopped};
    program.session.on(Control::Button_start, [&] {
        if (epochs_seen.size() == 2) program.session.trigger(Control::Button11);
        scripted_start();
    });
    run({"a.txt", "b.txt", "c.txt"});
    EXPECT_EQ(shown, (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(read("DATA_RESULT/b_Result.txt"), "   \r\n");
    EXPECT_EQ(window.close_requests, 1);
}

TEST_F(All_files, an_empty_listing_writes_nothing_and_does_not_close)
{
    run({});
    EXPECT_EQ(window.close_requests, 0);
    EXPECT_TRUE(window.enabled(Control::Open_ALL_file_button));
    EXPECT_TRUE(listing("Results").empty());
    EXPECT_TRUE(listing("DATA_RESULT").empty());
}

TEST_F(All_files, empty_missing_and_unreadable_files_are_skipped_without_a_box)
{
    dir.write("DATA/empty.txt", "");
    std::filesystem::create_directories(dir.path() / "DATA/old.txt");
    data_file("good.txt", 5, 1);
    published = {"0.5000", "0.2500"};
    run({"empty.txt", "missing.txt", "old.txt", "good.txt"});
    EXPECT_EQ(listing("DATA_RESULT"), std::vector<std::string>{"good_Result.txt"});
    EXPECT_EQ(window.close_requests, 1);

    const std::string data = app_dir + "DATA/";
    for (const auto& [name, label] : {
             std::pair<std::string, std::string>{"empty.txt", "empty.txt: skipped (the file is empty)"},
             {"missing.txt", "missing.txt: skipped (Cannot open file \"" + data +
                                 "missing.txt\". No such file or directory)"},
             {"old.txt", "old.txt: skipped (Cannot read file \"" + data + "old.txt\". Is a directory)"}}) {
        run({name});
        EXPECT_EQ(window.text(Control::Label11), label);
        EXPECT_EQ(window.text(Control::Label_total_lines), "Total lines=0");
        EXPECT_EQ(state.series.Preview_count, 0);
    }
    EXPECT_EQ(shown, std::vector<std::string>{"good.txt"});
    EXPECT_TRUE(window.messages.empty());
    EXPECT_TRUE(window.errors.empty());
}

TEST_F(All_files, a_one_line_file_is_reported_and_never_opens_a_file_dialog)
{
    dir.write("DATA/short.txt", "1.5\r\n");
    data_file("good.txt", 5, 1);
    published = {"0.5000", "0.2500"};
    window.expect_message("File is not correct");
    run({"short.txt", "good.txt"});
    // The dialog would wait for an answer nobody gives in an unattended run;
    // the fake window fails the test if one opens.
    EXPECT_TRUE(window.dialog_titles.empty());
    EXPECT_EQ(shown, (std::vector<std::string>{"short.txt", "good.txt"}));
    EXPECT_EQ(read("DATA_RESULT/good_Result.txt"), "0,5000 0,2500  -1,0000\r\n");
    EXPECT_EQ(window.close_requests, 1);
}

TEST_F(All_files, a_failure_in_one_files_batch_ends_only_that_file)
{
    data_file("bad1.txt", 5, 2);
    data_file("good.txt", 5, 1);
    data_file("bad2.txt", 5, 2);
    published = {"0.1000", "0.2000", "0.9000", "0.3000", "0.3000", "0.4000", "0.5000", "0.9000"};
    program.session.on(Control::Button_start, [&] {
        scripted_start();
        if (window.text(Control::Label11) != "good.txt" && window.text(Control::Edit_column) == "2")
            throw Vantel_error("Floating point overflow");
    });
    run({"bad1.txt", "good.txt", "bad2.txt"});
    EXPECT_EQ(read("DATA_RESULT/bad1_Result.txt"), "0,1000 0,2000  0,5000\r\n");
    EXPECT_EQ(read("DATA_RESULT/good_Result.txt"), "0,3000 0,3000  0,0000\r\n");
    EXPECT_EQ(read("DATA_RESULT/bad2_Result.txt"), "0,4000 0,5000  0,2000\r\n");
    EXPECT_EQ(window.text(Control::Label11), "bad2.txt: Floating point overflow");
    EXPECT_TRUE(window.errors.empty());
    EXPECT_TRUE(window.enabled(Control::Button_start_all));
    EXPECT_EQ(window.close_requests, 1);
}

TEST_F(All_files, a_result_that_cannot_be_written_is_shown_in_the_window_without_a_box)
{
    std::filesystem::remove_all(dir.path() / "DATA_RESULT");
    dir.write("DATA_RESULT", "kept");
    data_file("a.txt", 5, 1);
    dir.write("DATA/fast.txt", "TURBO\r\n");
    published = {"0.5000", "0.2500"};
    for (const std::string name : {"a", "fast"}) {
        run({name + ".txt"});
        const std::string note = name + ".txt: Cannot write file \"" + app_dir + "DATA_RESULT/" + name + "_Result.txt\". ";
        EXPECT_EQ(window.text(Control::Label11).substr(0, note.size()), note);
    }
    EXPECT_EQ(run_log(), crlf({"1\t0.5000\ta.txt", "1\t0.2500\ta.txt"}));
    EXPECT_TRUE(window.messages.empty());
    EXPECT_TRUE(window.errors.empty());
}

TEST_F(All_files, the_listing_is_counted_anew_after_each_file)
{
    data_file("a.txt", 5, 1);
    data_file("b.txt", 5, 1);
    published = {"0.5000", "0.2500", "0.5000", "0.2500", "0.5000", "0.2500"};
    program.session.on(Control::Button_start, [&] {
        scripted_start();
        if (epochs_seen.size() == 1) window.add_line(Control::Memo5, "b.txt");  // added meanwhile
        if (epochs_seen.size() == 5) window.set_lines(Control::Memo5, {});       // all deleted meanwhile
    });
    run({"a.txt"});
    EXPECT_EQ(shown, (std::vector<std::string>{"a.txt", "b.txt"}));
    run({"a.txt", "b.txt", "c.txt"});
    EXPECT_EQ(shown.size(), 3u);
    EXPECT_EQ(window.close_requests, 2);
}

}  // namespace
}  // namespace vantel::test
