// "Open file" and "Show" through the window interface.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/control.h"
#include "model/series_actions.h"
#include "support/test_program.h"

namespace vantel {
namespace {

using Lines = std::vector<std::string>;
using test::Temp_dir;
using test::Test_program;

// Init lines as the Init tab shows them; line 4 is the N line.
Lines init_lines(const std::string& n_line)
{
    return {"2", "10", "5", "0", n_line, "Path="};
}

// n lines "k<TAB>k/2<TAB>-k" for k = 1..n, LF line ends.
std::string three_columns(int n)
{
    std::string text;
    for (int k = 1; k <= n; ++k)
        text += std::to_string(k) + "\t" + std::to_string(k / 2.0) + "\t" + std::to_string(-k) + "\n";
    return text;
}

class Series_actions : public ::testing::Test {
protected:
    Series_actions()
    {
        program.window.set_lines(Control::Memo3, init_lines("N=19625"));
    }

    void open(const std::optional<std::string>& path)
    {
        program.window.answer_dialog(path);
        program.click(Control::Open_file_button);
    }
    std::string open_text(const std::string& name, const std::string& text)
    {
        const auto path = dir.write(name, text);
        open(path);
        return path;
    }
    std::string text(Control control) const { return program.window.text(control); }
    Lines lines(Control control) const { return program.window.lines(control); }
    Series_input& series() { return program.state->series; }

    Test_program program;
    Temp_dir dir;
};

TEST_F(Series_actions, OpeningAFile)
{
    program.window.set_lines(Control::Memo3, init_lines("N=25"));
    program.window.set_text(Control::Edit_column, "2");
    const auto path = open_text("data.txt", three_columns(40));

    ASSERT_EQ(program.window.dialog_titles, Lines{"Open TXT file"});
    EXPECT_EQ(program.window.dialog_filters, Lines{"Data(*.txt)|*.txt"});
    EXPECT_TRUE(program.window.errors.empty());
    EXPECT_EQ(text(Control::Label_file_name), "file name=" + path);
    EXPECT_EQ(text(Control::Label11), "data.txt");
    EXPECT_EQ(text(Control::Label_total_lines), "Total lines=40");
    EXPECT_EQ(text(Control::Label_number_of_columns), "Number of columns=3");
    const Lines all = program.state->series.Data_lines.value();
    ASSERT_EQ(all.size(), 40u);
    EXPECT_EQ(lines(Control::Memo_user_data), Lines(all.begin(), all.begin() + 10));
    EXPECT_EQ(lines(Control::Memo_user_data)[0], "1\t0.500000\t-1");

    EXPECT_EQ(series().Preview_count, 10);
    EXPECT_EQ(series().Column_count, 3);
    EXPECT_EQ(series().Column_index, 2);
    EXPECT_EQ(series().N, 25);
    EXPECT_EQ(text(Control::Edit_N), "25");
    EXPECT_EQ(text(Control::Label2_N), "N=25");
    EXPECT_EQ(text(Control::Edit_column), "2");
    EXPECT_EQ(series().xn[0], 0.0);
    for (int k = 1; k <= 25; ++k) EXPECT_EQ(series().xn[k], k / 2.0) << k;
    for (int k = 26; k <= Max_N; ++k) ASSERT_EQ(series().xn[k], 0.0) << k;

    const Lines preview = lines(Control::Memo_xn);
    ASSERT_EQ(preview.size(), 25u);
    EXPECT_EQ(preview[0], "1\t0.5");
    EXPECT_EQ(preview[1], "2\t1");
    EXPECT_EQ(preview[24], "25\t12.5");

    EXPECT_TRUE(program.window.enabled(Control::Open_file_button));
    EXPECT_TRUE(program.window.enabled(Control::Button_column_show));
    EXPECT_EQ(program.window.pumps, 2);
}

TEST_F(Series_actions, FileNameAfterTheLastSeparator)
{
    open_text("sub/a:b.txt", three_columns(5));
    EXPECT_EQ(text(Control::Label11), "b.txt");
    open_text("sub/c\\d.txt", three_columns(5));
    EXPECT_EQ(text(Control::Label11), "d.txt");
    open_text("sub/plain.txt", three_columns(5));
    EXPECT_EQ(text(Control::Label11), "plain.txt");
}

TEST_F(Series_actions, EditNComesFromInitLineFour)
{
    const auto path = dir.write("data.txt", three_columns(200));
    program.window.set_lines(Control::Memo3, init_lines("N=N=100"));
    open(path);
    EXPECT_EQ(text(Control::Edit_N), "100");

    program.window.set_lines(Control::Memo3, init_lines("  N=7"));
    open(path);
    EXPECT_EQ(text(Control::Edit_N), "7");
    EXPECT_EQ(series().N, 7);

    // "N=" is removed wherever it stands, case-sensitive.
    program.window.set_lines(Control::Memo3, init_lines("1N=2N=3"));
    open(path);
    EXPECT_EQ(text(Control::Edit_N), "123");

    program.window.set_lines(Control::Memo3, init_lines("n=8"));
    open(path);
    EXPECT_EQ(text(Control::Edit_N), "5");  // "n=8" reads as 0

    // A missing line 4 gives the empty text, which reads as 0: N = 5.
    program.window.set_lines(Control::Memo3, {"2", "10"});
    open(path);
    EXPECT_EQ(text(Control::Edit_N), "5");
    EXPECT_EQ(text(Control::Label2_N), "N=5");
}

TEST_F(Series_actions, TypedNDoesNotSurviveAnOpening)
{
    const auto path = dir.write("data.txt", three_columns(200));
    program.window.set_lines(Control::Memo3, init_lines("N=50"));
    open(path);
    program.window.set_text(Control::Edit_N, "60");
    program.click(Control::Button_column_show);
    EXPECT_EQ(series().N, 60);
    open(path);
    EXPECT_EQ(series().N, 50);
    EXPECT_EQ(text(Control::Edit_N), "50");
}

TEST_F(Series_actions, NIsCappedByTheLineCount)
{
    std::string text_lines;
    for (int k = 1; k <= 10000; ++k) text_lines += std::to_string(k) + "\n";
    open_text("ten-thousand.txt", text_lines);
    EXPECT_EQ(series().N, 10000);
    EXPECT_EQ(text(Control::Edit_N), "10000");
    EXPECT_EQ(text(Control::Label2_N), "N=10000");
    EXPECT_EQ(series().xn[10000], 10000.0);
    for (int k = 10001; k <= Max_N; ++k) ASSERT_EQ(series().xn[k], 0.0) << k;
    EXPECT_EQ(series().Column_count, 1);
}

TEST_F(Series_actions, NIsCappedAt19625)
{
    std::string text_lines;
    for (int k = 1; k <= 25000; ++k) text_lines += std::to_string(k) + "\n";
    program.window.set_lines(Control::Memo3, init_lines("N=30000"));
    open_text("long.txt", text_lines);
    EXPECT_EQ(series().N, Max_N);
    EXPECT_EQ(text(Control::Edit_N), "19625");
    EXPECT_EQ(series().xn[Max_N], 19625.0);
}

TEST_F(Series_actions, NBelowFiveOrNotANumberBecomesFive)
{
    open_text("data.txt", three_columns(100));
    for (const char* typed : {"", "abc", "0", "-20", "4", "  "}) {
        program.window.set_text(Control::Edit_N, typed);
        program.click(Control::Button_column_show);
        EXPECT_EQ(series().N, 5) << typed;
        EXPECT_EQ(text(Control::Edit_N), "5") << typed;
        EXPECT_EQ(text(Control::Label2_N), "N=5") << typed;
        EXPECT_EQ(lines(Control::Memo_xn).size(), 5u) << typed;
    }
    program.window.set_text(Control::Edit_N, "12x");
    program.click(Control::Button_column_show);
    EXPECT_EQ(series().N, 12);
    program.window.set_text(Control::Edit_N, "$10");
    program.click(Control::Button_column_show);
    EXPECT_EQ(series().N, 16);
}

TEST_F(Series_actions, ExtractionZeroesTheRestOfXn)
{
    open_text("data.txt", three_columns(100));
    EXPECT_EQ(series().N, 100);
    EXPECT_EQ(series().xn[100], 100.0);
    program.window.set_text(Control::Edit_N, "10");
    program.click(Control::Button_column_show);
    EXPECT_EQ(series().xn[10], 10.0);
    for (int k = 11; k <= Max_N; ++k) ASSERT_EQ(series().xn[k], 0.0) << k;
}

TEST_F(Series_actions, ColumnCorrections)
{
    open_text("data.txt", three_columns(20));
    const auto show_with_column = [&](const std::string& column) {
        program.window.set_text(Control::Edit_column, column);
        program.click(Control::Button_column_show);
    };
    show_with_column("0");
    EXPECT_EQ(series().Column_index, 1);
    EXPECT_EQ(text(Control::Edit_column), "1");
    show_with_column("-3");
    EXPECT_EQ(series().Column_index, 1);
    EXPECT_EQ(text(Control::Edit_column), "1");
    show_with_column("7");
    EXPECT_EQ(series().Column_index, 3);
    EXPECT_EQ(text(Control::Edit_column), "3");
    EXPECT_EQ(series().xn[4], -4.0);
    show_with_column("abc");
    EXPECT_EQ(series().Column_index, 1);
    EXPECT_EQ(text(Control::Edit_column), "1");
    // A column in range is not rewritten, even when typed unusually.
    show_with_column("02");
    EXPECT_EQ(series().Column_index, 2);
    EXPECT_EQ(text(Control::Edit_column), "02");
    EXPECT_EQ(series().xn[4], 2.0);
    show_with_column("3x");
    EXPECT_EQ(series().Column_index, 3);
    EXPECT_EQ(text(Control::Edit_column), "3x");
}

TEST_F(Series_actions, EmptyFirstLineHasNoColumnsAndTakesColumnOne)
{
    program.window.set_text(Control::Edit_column, "3");
    open_text("data.txt", "\n1.5\t9\n2.5\t9\n3.5\t9\n4.5\t9\n5.5\t9\n");
    EXPECT_EQ(series().Column_count, 0);
    EXPECT_EQ(text(Control::Label_number_of_columns), "Number of columns=0");
    EXPECT_EQ(series().Column_index, 1);
    EXPECT_EQ(text(Control::Edit_column), "1");
    EXPECT_EQ(series().N, 6);
    EXPECT_EQ(series().xn[1], 0.0);  // the empty line reads as "0"
    EXPECT_EQ(series().xn[2], 1.5);
    EXPECT_EQ(series().xn[6], 5.5);
}

TEST_F(Series_actions, FieldsAndNumbers)
{
    // Column 2 of each line.
    program.window.set_text(Control::Edit_column, "2");
    open_text("data.txt",
              "x\ty\n"           // a header: not a number
              "3.5\n"            // no tab: its single value
              "1\t\n"            // tab at the end: empty field
              "1\t1,5\t7\n"      // comma
              "1\t1.234,5\n"     // two separators
              "1\t  2.5  \n"     // spaces around
              "1\tabc\n"
              "1\t1e3\r\n"       // CR LF
              "1\t-2E-2\r"       // CR
              "1\t1e-400\n"      // too small
              "\n"               // empty line
              "1\t\t9\n");       // empty field between tabs
    EXPECT_TRUE(program.window.errors.empty());
    EXPECT_EQ(series().Column_count, 2);
    EXPECT_EQ(series().N, 12);
    const double expected[] = {0, 0.0, 3.5, 0.0, 1.5, 0.0, 2.5, 0.0, 1000.0, -0.02, 0.0, 0.0, 0.0};
    for (int k = 1; k <= 12; ++k) EXPECT_EQ(series().xn[k], expected[k]) << k;
    const Lines preview = lines(Control::Memo_xn);
    ASSERT_EQ(preview.size(), 12u);
    EXPECT_EQ(preview[1], "2\t3.5");
    EXPECT_EQ(preview[3], "4\t1.5");
    EXPECT_EQ(preview[7], "8\t1000");
    EXPECT_EQ(preview[8], "9\t-0.02");
}

TEST_F(Series_actions, ColumnThreeOfALineWithOneTabGivesZero)
{
    program.window.set_text(Control::Edit_column, "3");
    open_text("data.txt", "1\t2\t3\n1\t2\n4\t5\t6\n7\n8\t9\t10\n");
    EXPECT_EQ(series().Column_index, 3);
    EXPECT_EQ(series().xn[1], 3.0);
    EXPECT_EQ(series().xn[2], 0.0);  // the whole line "1<TAB>2"
    EXPECT_EQ(series().xn[3], 6.0);
    EXPECT_EQ(series().xn[4], 7.0);  // no tab: its value
    EXPECT_EQ(series().xn[5], 10.0);
}

TEST_F(Series_actions, PreviewShowsAtMostThirtyLines)
{
    open_text("data.txt", three_columns(50));
    program.window.set_text(Control::Edit_N, "40");
    program.click(Control::Button_column_show);
    Lines preview = lines(Control::Memo_xn);
    ASSERT_EQ(preview.size(), 30u);
    for (int k = 1; k <= 30; ++k) EXPECT_EQ(preview[k - 1], std::to_string(k) + "\t" + std::to_string(k)) << k;
    EXPECT_EQ(series().xn[40], 40.0);

    program.window.set_text(Control::Edit_N, "12");
    program.click(Control::Button_column_show);
    preview = lines(Control::Memo_xn);
    ASSERT_EQ(preview.size(), 12u);
    EXPECT_EQ(preview.front(), "1\t1");
    EXPECT_EQ(preview.back(), "12\t12");
}

TEST_F(Series_actions, PreviewUsesTheSessionsDecimalSeparator)
{
    program.session.decimal_separator = ',';
    program.window.set_text(Control::Edit_column, "2");
    open_text("data.txt", "0\t1,5\n0\t1.5\n0\t-0.25\n0\t1e-5\n0\t1.5e20\n0\t7\n");
    EXPECT_EQ(lines(Control::Memo_xn),
              (Lines{"1\t1,5", "2\t1,5", "3\t-0,25", "4\t1E-5", "5\t1,5E20", "6\t7"}));
    EXPECT_EQ(series().xn[1], 1.5);
    EXPECT_EQ(series().xn[2], 1.5);
}

TEST_F(Series_actions, TwoLineFileIsNotCorrect)
{
    open_text("good.txt", three_columns(20));
    const double before = series().xn[7];
    const auto preview_before = lines(Control::Memo_xn);
    program.window.set_text(Control::Edit_N, "19");
    program.click(Control::Button_column_show);
    ASSERT_EQ(series().N, 19);

    program.window.expect_message("File is not correct");
    const auto path = open_text("short.txt", "1\t2\t3\t4\n5\t6\t7\t8\n");
    EXPECT_EQ(program.window.messages, Lines{"File is not correct"});
    EXPECT_TRUE(program.window.errors.empty());
    EXPECT_TRUE(lines(Control::Memo_user_data).empty());
    EXPECT_EQ(text(Control::Label_file_name), "file name=" + path);
    EXPECT_EQ(text(Control::Label11), "short.txt");
    EXPECT_EQ(text(Control::Label_total_lines), "Total lines=2");
    // Column count unchanged; N corrected to 5 by the extraction, which
    // then returns before the column, as fewer than 5 lines are previewed:
    // xn and the preview are unchanged.
    EXPECT_EQ(text(Control::Label_number_of_columns), "Number of columns=3");
    EXPECT_EQ(series().Column_count, 3);
    EXPECT_EQ(series().Preview_count, 2);
    EXPECT_EQ(series().Data_lines->size(), 2u);
    EXPECT_EQ(series().N, 5);
    EXPECT_EQ(text(Control::Edit_N), "5");
    EXPECT_EQ(text(Control::Label2_N), "N=5");
    EXPECT_EQ(series().xn[7], before);
    EXPECT_EQ(series().xn[19], 19.0);
    EXPECT_EQ(lines(Control::Memo_xn).size(), 19u);
    EXPECT_NE(lines(Control::Memo_xn), preview_before);
    EXPECT_TRUE(program.window.enabled(Control::Open_file_button));
    EXPECT_TRUE(program.window.enabled(Control::Button_column_show));
}

TEST_F(Series_actions, EmptyAndOneLineFilesAreNotCorrect)
{
    program.window.expect_message("File is not correct");
    open_text("empty.txt", "");
    EXPECT_EQ(text(Control::Label_total_lines), "Total lines=0");
    EXPECT_EQ(series().Preview_count, 0);
    program.window.expect_message("File is not correct");
    open_text("one.txt", "42\n");
    EXPECT_EQ(text(Control::Label_total_lines), "Total lines=1");
    EXPECT_EQ(series().Preview_count, 1);
    EXPECT_EQ(program.window.messages.size(), 2u);
    EXPECT_EQ(series().N, 5);
}

TEST_F(Series_actions, ThreeAndFourLineFilesArePreviewedButNotUsable)
{
    for (int count : {3, 4}) {
        Test_program fresh;
        fresh.window.set_lines(Control::Memo3, init_lines("N=100"));
        fresh.window.answer_dialog(dir.write("small.txt", three_columns(count)));
        fresh.click(Control::Open_file_button);
        const auto& series = fresh.state->series;
        EXPECT_TRUE(fresh.window.messages.empty());
        EXPECT_EQ(fresh.window.lines(Control::Memo_user_data).size(), static_cast<std::size_t>(count));
        EXPECT_EQ(fresh.window.text(Control::Label_number_of_columns), "Number of columns=3");
        EXPECT_EQ(series.Preview_count, count);
        EXPECT_EQ(series.N, 5);
        EXPECT_EQ(fresh.window.text(Control::Edit_N), "5");
        EXPECT_EQ(fresh.window.text(Control::Label2_N), "N=5");
        EXPECT_EQ(series.xn[1], 0.0);  // not refilled
        EXPECT_TRUE(fresh.window.lines(Control::Memo_xn).empty());
        EXPECT_EQ(fresh.window.text(Control::Edit_column), "1");
        EXPECT_EQ(series.Column_index, 0);
        EXPECT_TRUE(fresh.window.enabled(Control::Button_column_show));
        EXPECT_EQ(fresh.window.pumps, 1);
    }
}

TEST_F(Series_actions, FiveLineFileIsUsable)
{
    open_text("five.txt", three_columns(5));
    EXPECT_EQ(series().Preview_count, 5);
    EXPECT_EQ(series().N, 5);
    EXPECT_EQ(lines(Control::Memo_user_data).size(), 5u);
    EXPECT_EQ(lines(Control::Memo_xn), (Lines{"1\t1", "2\t2", "3\t3", "4\t4", "5\t5"}));
}

TEST_F(Series_actions, CancellingTheDialogMakesTheDataUnusable)
{
    const auto path = open_text("data.txt", three_columns(40));
    const auto xn_before = series().xn[3];
    open(std::nullopt);
    EXPECT_EQ(series().Preview_count, 0);
    ASSERT_TRUE(series().Data_lines.has_value());
    EXPECT_EQ(series().Data_lines->size(), 40u);  // the old lines stay in memory
    EXPECT_EQ(text(Control::Label_file_name), "file name=" + path);
    EXPECT_EQ(lines(Control::Memo_user_data).size(), 10u);
    EXPECT_TRUE(program.window.enabled(Control::Open_file_button));
    EXPECT_EQ(program.window.dialog_titles.size(), 2u);

    // "Show" now only corrects N.
    program.window.set_text(Control::Edit_N, "12");
    program.click(Control::Button_column_show);
    EXPECT_EQ(series().N, 12);
    EXPECT_EQ(series().xn[3], xn_before);
    EXPECT_EQ(series().xn[13], 13.0);  // not re-extracted
}

TEST_F(Series_actions, ShowBeforeAnyFileActsAsAFileOfNoLines)
{
    ASSERT_FALSE(series().Data_lines.has_value());
    program.click(Control::Button_column_show);
    EXPECT_TRUE(program.window.errors.empty());
    EXPECT_EQ(series().N, 5);
    EXPECT_EQ(text(Control::Edit_N), "5");
    EXPECT_EQ(text(Control::Label2_N), "N=5");
    EXPECT_EQ(text(Control::Edit_column), "1");
    EXPECT_EQ(series().Column_index, 0);
    EXPECT_TRUE(lines(Control::Memo_xn).empty());
    for (int k = 0; k <= Max_N; ++k) ASSERT_EQ(series().xn[k], 0.0);
    EXPECT_TRUE(program.window.enabled(Control::Button_column_show));
    EXPECT_FALSE(series().Data_lines.has_value());
}

TEST_F(Series_actions, OverflowEndsTheExtraction)
{
    program.window.set_text(Control::Edit_column, "2");
    open_text("overflow.txt", "1\t1.5\n2\t2.5\n3\t1e400\n4\t4.5\n5\t5.5\n6\t6.5\n");
    EXPECT_EQ(program.window.errors, Lines{"Floating point overflow."});
    EXPECT_EQ(series().xn[1], 1.5);
    EXPECT_EQ(series().xn[2], 2.5);
    for (int k = 3; k <= Max_N; ++k) ASSERT_EQ(series().xn[k], 0.0) << k;
    EXPECT_TRUE(lines(Control::Memo_xn).empty());
    EXPECT_FALSE(program.window.enabled(Control::Button_column_show));
    // The opening that triggered the extraction ends too: its button stays
    // disabled, as the general error display leaves it.
    EXPECT_FALSE(program.window.enabled(Control::Open_file_button));
    EXPECT_EQ(series().Preview_count, 6);
    EXPECT_EQ(series().N, 6);
}

TEST_F(Series_actions, OverflowWhenClickingShow)
{
    program.window.set_lines(Control::Memo3, init_lines("N=5"));
    open_text("overflow.txt", "1\n2\n3\n4\n5\n-1e400\n");
    EXPECT_TRUE(program.window.errors.empty());
    EXPECT_EQ(series().N, 5);
    program.window.set_text(Control::Edit_N, "6");
    program.session.click(Control::Button_column_show);
    EXPECT_EQ(program.window.errors, Lines{"Floating point overflow."});
    EXPECT_EQ(series().xn[5], 5.0);
    EXPECT_EQ(series().xn[6], 0.0);
    EXPECT_FALSE(program.window.enabled(Control::Button_column_show));
    EXPECT_TRUE(program.window.enabled(Control::Open_file_button));
}

TEST_F(Series_actions, MissingFileEndsTheOpening)
{
    open_text("data.txt", three_columns(40));
    const auto path = (dir.path() / "missing.txt").string();
    open(path);
    EXPECT_EQ(program.window.errors,
              Lines{"Cannot open file \"" + path + "\". No such file or directory."});
    ASSERT_TRUE(series().Data_lines.has_value());
    EXPECT_TRUE(series().Data_lines->empty());
    EXPECT_EQ(series().Preview_count, 0);
    EXPECT_TRUE(lines(Control::Memo_user_data).empty());
    EXPECT_FALSE(program.window.enabled(Control::Open_file_button));
    // The labels still name the previous file.
    EXPECT_EQ(text(Control::Label11), "data.txt");
}

TEST_F(Series_actions, BinaryFilesOpenWithoutTrouble)
{
    program.window.allow_any_message();
    std::string bytes;
    for (int i = 0; i < 200000; ++i) bytes += static_cast<char>(1 + (i * 7919) % 255);
    open_text("binary.txt", bytes);
    EXPECT_TRUE(program.window.errors.empty());
    EXPECT_TRUE(program.window.enabled(Control::Open_file_button));
    // What the file is shows beside its name.
    EXPECT_EQ(text(Control::Label11), "binary.txt (not a text file)");

    std::string with_nul = "1\n2\n3\n4\n5\n6\n";
    with_nul += '\0';
    with_nul += bytes;
    open_text("nul.txt", with_nul);
    EXPECT_TRUE(program.window.errors.empty());
    EXPECT_EQ(text(Control::Label_total_lines), "Total lines=6");
    EXPECT_EQ(series().N, 6);
    // The bytes after the NUL byte still tell what the file is.
    EXPECT_EQ(text(Control::Label11), "nul.txt (not a text file)");

    open_text("text-nul.txt", "1\n2\n3\n4\n5\n6\n7" + std::string(1, '\0') + "8\n9\n");
    EXPECT_EQ(text(Control::Label_total_lines), "Total lines=7");
    EXPECT_EQ(series().N, 7);
    EXPECT_EQ(text(Control::Label11), "text-nul.txt (NUL byte at line 7: the lines after it are not read)");

    const std::string utf16("\xFF\xFE" "1\0\n\0" "2\0\n\0" "3\0\n\0", 14);
    program.window.messages.clear();
    open_text("utf16.txt", utf16);
    EXPECT_EQ(program.window.messages, Lines{"File is not correct"});
    EXPECT_EQ(text(Control::Label_total_lines), "Total lines=1");
    EXPECT_EQ(text(Control::Label11), "utf16.txt (UTF-16 text: save it as UTF-8 or ASCII)");

    open_text("plain.txt", three_columns(5));
    EXPECT_EQ(text(Control::Label11), "plain.txt");
}

TEST_F(Series_actions, ByteOrderMarkIsNoPartOfTheFirstValue)
{
    program.window.set_text(Control::Edit_column, "1");
    open_text("marked.txt", "\xEF\xBB\xBF" + three_columns(6));
    EXPECT_EQ(lines(Control::Memo_user_data).front(), "1\t0.500000\t-1");
    EXPECT_EQ(series().Column_count, 3);
    EXPECT_EQ(series().xn[1], 1.0);
    EXPECT_EQ(text(Control::Label11), "marked.txt");
}

TEST_F(Series_actions, HugeFilesOpenQuickly)
{
    // A 10 MB first line of 10001 columns, and a million short lines.
    std::string line(10 * 1000 * 1000, '0');
    for (std::size_t i = 1000; i < line.size(); i += 1000) line[i] = '\t';
    std::string text_lines = line + "\n";
    for (int k = 2; k <= 1000000; ++k) text_lines += std::to_string(k) + "\t0.5\n";
    const auto path = dir.write("huge.txt", text_lines);
    program.window.set_text(Control::Edit_column, "2");

    const auto start = std::chrono::steady_clock::now();
    open(path);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 2.0);
    EXPECT_TRUE(program.window.errors.empty());
    EXPECT_EQ(text(Control::Label_total_lines), "Total lines=1000000");
    EXPECT_EQ(series().Column_count, 10000);
    EXPECT_EQ(series().N, Max_N);
    EXPECT_EQ(series().xn[1], 0.0);  // 999 zeros
    EXPECT_EQ(series().xn[2], 0.5);
    EXPECT_EQ(series().xn[Max_N], 0.5);
}

TEST_F(Series_actions, ExtractionReadsTheFieldsAgainAfterItsPumps)
{
    open_text("first.txt", three_columns(50));
    ASSERT_EQ(series().N, 50);
    std::string second;
    for (int k = 1; k <= 7; ++k) second += std::to_string(100 + k) + "\n";
    const auto second_path = dir.write("second.txt", second);

    // While the extraction pumps after correcting the column, the user opens
    // another file (its own extraction runs inside the pump). The
    // interrupted extraction then takes N, the column and the lines as the
    // nested opening left them.
    program.window.reset_pumps();
    program.window.on_pump(2, [&] {
        program.window.answer_dialog(second_path);
        program.click(Control::Open_file_button);
    });
    program.click(Control::Button_column_show);
    EXPECT_EQ(program.window.pumps, 4);
    EXPECT_TRUE(program.window.errors.empty());
    EXPECT_EQ(series().N, 7);
    EXPECT_EQ(series().Column_index, 1);
    for (int k = 1; k <= 7; ++k) EXPECT_EQ(series().xn[k], 100.0 + k) << k;
    for (int k = 8; k <= Max_N; ++k) ASSERT_EQ(series().xn[k], 0.0) << k;
    EXPECT_EQ(lines(Control::Memo_xn).size(), 7u);
    EXPECT_TRUE(program.window.enabled(Control::Button_column_show));
    EXPECT_TRUE(program.window.enabled(Control::Open_file_button));
}

}  // namespace
}  // namespace vantel
