// The series reader: the values "Show" reads, and the words on what it read
// as 0, on the file's layout and on files that are not plain text.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/control.h"
#include "model/session.h"
#include "series/series_reader.h"
#include "series/text_readers.h"
#include "support/test_program.h"

namespace vantel {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;
using test::Temp_dir;
using test::Test_program;

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(IsNumberText, NumbersAndNotNumbers)
{
    for (const char* number : {"0", "-0", "+0", "0.0", "0,", ",5", "-.5", "1e5", "1E-5", " 2.5 ", "1,5e+3",
                               "007", "1e400", "1e-400", "123456789012345678901234567890"})
        EXPECT_TRUE(is_number_text(number)) << '"' << number << '"';
    for (const char* not_number : {"", " ", "nan", "inf", "-inf", "abc", "0x10", "1.5.5", "1,5.5", "1e",
                                   "1e+", "e5", ".", "-,", ".e5", "+", "1 2", "1\t", "\t1", "1-", "--1",
                                   "\xEF\xBB\xBF" "1"})
        EXPECT_FALSE(is_number_text(not_number)) << '"' << not_number << '"';
}

// Every short text over the characters that matter: a text that is not a
// number parses to 0; one that is parses to the value that the C library
// reads from it in extended precision, rounded once to double, or overflows
// where that is beyond the double range.
TEST(IsNumberText, AgreesWithTheNumberParserOnRandomTexts)
{
    const std::string alphabet = "0123456789.,+-eE \tx";
    std::mt19937 random(20240607);
    std::size_t numbers = 0, not_numbers = 0;
    for (int i = 0; i < 300000; ++i) {
        std::string text(random() % 9, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];

        std::string plain;  // the number in the C library's notation
        for (char c : text)
            if (c != ' ') plain += c == ',' ? '.' : c;
        const auto expected = static_cast<double>(std::strtold(plain.c_str(), nullptr));

        if (!is_number_text(text)) {
            ++not_numbers;
            ASSERT_EQ(parse_number(text), 0.0) << '"' << text << '"';
        } else if (std::isinf(expected)) {
            ++numbers;
            ASSERT_THROW(parse_number(text), Vantel_error) << '"' << text << '"';
        } else {
            ++numbers;
            ASSERT_TRUE(same_bits(parse_number(text), expected)) << '"' << text << '"';
        }
    }
    // Both kinds were met often, so the loop proved something.
    EXPECT_GT(numbers, 10000u);
    EXPECT_GT(not_numbers, 10000u);
}

// Init lines as the Init tab shows them; line 4 is the N line.
Lines init_lines(const std::string& n_line) { return {"2", "10", "5", "0", n_line, "Path="}; }

// xn[1..n] as the window's "Show" reads column `column` of the file.
std::vector<double> shown_values(const std::string& path, int column, int n)
{
    Test_program program;
    program.window.set_lines(Control::Memo3, init_lines("N=" + std::to_string(n)));
    program.window.set_text(Control::Edit_column, std::to_string(column));
    program.window.answer_dialog(path);
    program.click(Control::Open_file_button);
    EXPECT_TRUE(program.window.errors.empty());
    return std::vector<double>(program.state->series.xn + 1, program.state->series.xn + 1 + n);
}

// Eight lines "k<TAB>k/8<TAB>-k"; one field of column 2 (or a whole line)
// replaced by a text that is not a number.
struct Bad_field_case {
    const char* what;
    std::string bytes;
    int bad_line;       // 0: every field is a number
    const char* shown;  // the text the warning quotes
    int shift;          // line k holds (k - shift) / 8
};

std::string data_line(int k, const std::string& field) { return std::to_string(k) + "\t" + field + "\t-1\n"; }

std::string eight_lines(int bad_line, const std::string& bad_field)
{
    std::string text;
    for (int k = 1; k <= 8; ++k) text += data_line(k, k == bad_line ? bad_field : std::to_string(k / 8.0));
    return text;
}

std::string empty_line_at(int bad_line)
{
    std::string text;
    for (int k = 1; k <= 8; ++k) text += k == bad_line ? "\n" : data_line(k, std::to_string(k / 8.0));
    return text;
}

std::string header_and_seven_lines()
{
    std::string text = "time\tvalue\tother\n";
    for (int k = 1; k <= 7; ++k) text += data_line(k, std::to_string(k / 8.0));
    return text;
}

TEST(ReadColumn, FieldsThatAreNotNumbersAreReadAsZeroAndReported)
{
    const std::vector<Bad_field_case> cases = {
        {"nan", eight_lines(3, "nan"), 3, "nan", 0},
        {"inf", eight_lines(3, "inf"), 3, "inf", 0},
        {"-inf", eight_lines(8, "-inf"), 8, "-inf", 0},
        {"empty field", eight_lines(2, ""), 2, "", 0},
        {"empty line", empty_line_at(5), 5, "", 0},
        {"letters", eight_lines(1, "abc"), 1, "abc", 0},
        {"hexadecimal", eight_lines(4, "0x10"), 4, "0x10", 0},
        {"two separators", eight_lines(6, "1.5.5"), 6, "1.5.5", 0},
        {"spaces inside", eight_lines(7, "1 000"), 7, "1 000", 0},
        {"header row", header_and_seven_lines(), 1, "value", 1},
        {"byte-order mark", "\xEF\xBB\xBF" + eight_lines(0, ""), 0, "", 0},
        {"all numbers", eight_lines(0, ""), 0, "", 0},
    };
    Temp_dir dir;
    for (const Bad_field_case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.write("data.txt", c.bytes);
        const Data_table table = read_data_table(path);
        ASSERT_EQ(table.lines.size(), 8u);
        const Column_read read = read_column(table, 2, 1, 8);

        // The values are those of "Show", bit for bit; the bad field reads as 0.
        const std::vector<double> shown = shown_values(path, 2, 8);
        ASSERT_EQ(read.values.size(), 8u);
        for (int k = 1; k <= 8; ++k) {
            EXPECT_TRUE(same_bits(read.values[k - 1], shown[k - 1])) << "line " << k;
            EXPECT_EQ(read.values[k - 1], k == c.bad_line ? 0.0 : (k - c.shift) / 8.0) << "line " << k;
        }

        const auto warning = not_number_warning(table, read);
        if (c.bad_line == 0) {
            EXPECT_EQ(read.not_numbers, 0u);
            EXPECT_EQ(warning, std::nullopt);
        } else {
            EXPECT_EQ(read.not_numbers, 1u);
            EXPECT_EQ(read.first_not_number_line, static_cast<std::size_t>(c.bad_line));
            EXPECT_EQ(warning, path + " column 2: 1 of 8 values is not a number (at line " +
                                   std::to_string(c.bad_line) + ": \"" + c.shown + "\"), read as 0");
        }
        // Only the empty line makes the file ragged.
        if (c.bad_line == 5)
            EXPECT_EQ(table.warnings, Lines{path + ": the first line has 3 fields, 1 line has fewer (at line 5)"});
        else
            EXPECT_EQ(table.warnings, Lines{});
    }
}

TEST(ReadColumn, WarningCountsTheFieldsAndQuotesTheFirst)
{
    const std::string long_text = "a very long header that goes on and on past forty characters";
    const Data_table table =
        data_table("in.txt", Lines{"1", "x", "2", "", "3", "nan", long_text, "\xC3\xA9t\xC3\xA9\x01"});
    EXPECT_EQ(not_number_warning(table, read_column(table, 1, 1, 8)),
              "in.txt column 1: 5 of 8 values are not numbers (first at line 2: \"x\"), read as 0");
    EXPECT_EQ(not_number_warning(table, read_column(table, 1, 3, 3)),
              "in.txt column 1: 1 of 3 values is not a number (at line 4: \"\"), read as 0");
    EXPECT_EQ(not_number_warning(table, read_column(table, 1, 7, 1)),
              "in.txt column 1: 1 of 1 values is not a number (at line 7: "
              "\"a very long header that goes on and on p...\"), read as 0");
    // Characters, not bytes, are counted; control bytes are written out.
    EXPECT_EQ(not_number_warning(table, read_column(table, 1, 8, 1)),
              "in.txt column 1: 1 of 1 values is not a number (at line 8: \"\xC3\xA9t\xC3\xA9\\x01\"), read as 0");
    EXPECT_EQ(not_number_warning(table, read_column(table, 1, 1, 1)), std::nullopt);
    EXPECT_EQ(read_column(table, 1, 3, 0).values.size(), 0u);
}

TEST(ReadColumn, LinesTooShortForTheColumnAndColumnsWithoutNumbersAreSaid)
{
    const Data_table table = data_table("in.txt", Lines{"1\t2\t3", "4", "5\t6", "7\t8\t9", "x\ty\tz", "a"});
    struct Case {
        int column;
        std::size_t first, count;
        std::vector<double> values;
        Lines warnings;
        std::optional<std::string> problem;
    };
    const Case cases[] = {
        {1, 1, 4, {1, 4, 5, 7}, {}, std::nullopt},
        {3, 1, 4, {3, 4, 0, 9},
         {"in.txt column 3: 1 of 4 values is not a number (at line 3: \"5\\t6\"), read as 0",
          "in.txt column 3: 2 of 4 lines have no field 3 (first at line 2); the whole line was read there"},
         std::nullopt},
        {2, 2, 1, {4}, {"in.txt column 2: 1 of 1 lines has no field 2 (at line 2); the whole line was read there"},
         std::nullopt},
        {2, 5, 2, {0, 0},
         {"in.txt column 2: 2 of 2 values are not numbers (first at line 5: \"y\"), read as 0",
          "in.txt column 2: 1 of 2 lines has no field 2 (at line 6); the whole line was read there"},
         "in.txt column 2: none of its 2 fields is a number; it holds no series"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("column " + std::to_string(c.column) + " from line " + std::to_string(c.first));
        const Column_read read = read_column(table, c.column, c.first, c.count);
        EXPECT_EQ(read.values, c.values);
        EXPECT_EQ(column_warnings(table, read), c.warnings);
        EXPECT_EQ(column_problem(table, read), c.problem);
    }
}

TEST(ReadColumn, OverflowNamesTheFileLineAndColumn)
{
    const Data_table table = data_table("big.txt", Lines{"1\t2", "3\t-1e400", "5\t6"});
    EXPECT_EQ(read_column(table, 1, 1, 3).values, (std::vector<double>{1, 3, 5}));
    try {
        read_column(table, 2, 1, 3);
        ADD_FAILURE() << "no error";
    } catch (const Vantel_error& error) {
        EXPECT_STREQ(error.what(), "big.txt line 2 column 2: \"-1e400\": Floating point overflow");
    }
}

TEST(ReadColumn, RefusesColumnsAndLinesOutsideTheTable)
{
    const Data_table table = data_table("in.txt", Lines{"1", "2", "3"});
    EXPECT_EQ(read_column(table, 1, 1, 3).values.size(), 3u);
    EXPECT_EQ(read_column(table, 1, 4, 0).values.size(), 0u);
    EXPECT_THROW(read_column(table, 0, 1, 3), std::out_of_range);
    EXPECT_THROW(read_column(table, 1, 0, 3), std::out_of_range);
    EXPECT_THROW(read_column(table, 1, 2, 3), std::out_of_range);
    EXPECT_THROW(read_column(table, 1, 5, 0), std::out_of_range);
    EXPECT_THROW(read_column(table, 1, 2, SIZE_MAX), std::out_of_range);
}

// n lines of `fields` numbers joined by `separator`.
Lines joined_lines(int n, const std::string& separator, int fields = 3)
{
    Lines lines;
    for (int k = 1; k <= n; ++k) {
        std::string line = std::to_string(k);
        for (int f = 2; f <= fields; ++f) line += separator + std::to_string(k) + "." + std::to_string(f);
        lines.push_back(line);
    }
    return lines;
}

Lines with_first(std::string first, Lines lines)
{
    lines.insert(lines.begin(), std::move(first));
    return lines;
}

TEST(LayoutWarnings, SeparatorsAndRaggedLines)
{
    const std::string tabs_not = ": columns are separated by tabs, so each line is read as one column";
    Lines ragged = joined_lines(60, "\t");
    for (int k = 7; k <= 18; ++k) ragged[k - 1] = std::to_string(k);
    ragged[39] += "\t7";
    ragged[40] += "\t8\t9";
    Lines one_short = joined_lines(10, "\t");
    one_short[5] = "";
    Lines wide = joined_lines(20, "\t", 1);
    wide[0] = std::string(99999, '\t') + "1";  // 100000 fields

    const struct {
        const char* what;
        Lines lines;
        Lines warnings;
    } cases[] = {
        {"tabs", joined_lines(50, "\t"), {}},
        {"one column", joined_lines(50, "", 1), {}},
        {"decimal commas", {"0,5", "1,5", "-2,25", "3,0", "4"}, {}},
        {"no lines", {}, {}},
        {"semicolons", joined_lines(50, ";"), {"f.txt seems to separate its columns by \";\"" + tabs_not}},
        {"semicolons with decimal commas and a header",
         with_first("a;b", {"0,5;1,5", "1,5;2,5;", "2,5; 3,5", "3,5;4,5"}),
         {"f.txt seems to separate its columns by \";\"" + tabs_not}},
        {"commas", joined_lines(50, ","), {"f.txt seems to separate its columns by \",\"" + tabs_not}},
        {"commas and blanks", joined_lines(50, ", "), {"f.txt seems to separate its columns by \",\"" + tabs_not}},
        {"blanks", joined_lines(50, "  "), {"f.txt seems to separate its columns by blanks" + tabs_not}},
        {"a few lines with semicolons", with_first("1;2", joined_lines(5, "", 1)), {}},
        {"semicolons around words", {"a;b", "c;d", "e;f"}, {}},
        {"ragged", ragged,
         {"f.txt: the first line has 3 fields, 12 lines have fewer (first at line 7) "
          "and 2 have more (first at line 40)"}},
        {"one empty line", one_short, {"f.txt: the first line has 3 fields, 1 line has fewer (at line 6)"}},
        {"one of each", {"1\t2", "1\t2", "1", "1\t2\t3", "1\t2\t"},
         {"f.txt: the first line has 2 fields, 1 line has fewer (at line 3) and 1 has more (at line 4)"}},
        {"only more", {"1", "2", "1\t2", "3", "\t5", "6\t"},
         {"f.txt: the first line has 1 field, 2 lines have more (first at line 3)"}},
        {"a wide first line", wide,
         {"f.txt: the first line has 100000 fields, 19 lines have fewer (first at line 2)"}},
        {"commas and a one-field header", with_first("x", joined_lines(9, ",")),
         {"f.txt seems to separate its columns by \",\"" + tabs_not}},
        {"both", with_first("a\tb", joined_lines(9, ";")),
         {"f.txt seems to separate its columns by \";\"" + tabs_not,
          "f.txt: the first line has 2 fields, 9 lines have fewer (first at line 2)"}},
    };
    for (const auto& c : cases) EXPECT_EQ(layout_warnings("f.txt", c.lines), c.warnings) << c.what;
}

TEST(LayoutWarnings, LongFilesAreJudgedByTheirFirstAndLastLines)
{
    Lines lines = joined_lines(50000, "\t");
    lines[30000] = "1";  // between the lines examined: not seen
    EXPECT_TRUE(layout_warnings("f.txt", lines).empty());
    lines[10000 - 1] = "1";      // the last of the first lines
    lines[50000 - 1000] = "1";   // the first of the last lines
    EXPECT_EQ(layout_warnings("f.txt", lines),
              Lines{"f.txt: the first line has 3 fields, 2 lines have fewer (first at line 10000); "
                    "11000 of its 50000 lines were examined"});
    lines[10000] = "1";          // just after the first lines: not seen
    lines[50000 - 1001] = "1";   // just before the last lines: not seen
    EXPECT_EQ(layout_warnings("f.txt", lines),
              Lines{"f.txt: the first line has 3 fields, 2 lines have fewer (first at line 10000); "
                    "11000 of its 50000 lines were examined"});
}

TEST(DataTable, ColumnCountAndWarningsOfAFile)
{
    Temp_dir dir;
    const Data_table table = read_data_table(dir.write("semi.txt", "1;2;3\r\n4;5;6\r\n7;8;9\r\n"));
    EXPECT_EQ(table.lines, (Lines{"1;2;3", "4;5;6", "7;8;9"}));
    EXPECT_EQ(table.column_count, 1);
    ASSERT_EQ(table.warnings.size(), 1u);
    EXPECT_EQ(table.warnings[0].substr(0, table.name.size()), table.name);
    EXPECT_EQ(data_table("-", Lines{"1\t2\t", "3"}).column_count, 2);
    EXPECT_EQ(data_table("-", Lines{}).column_count, 0);
}

TEST(DataTable, FilesThatAreNotPlainTextAreRefused)
{
    std::string nul_at_100;
    for (int k = 1; k <= 2000; ++k) nul_at_100 += std::to_string(k) + (k == 100 ? "\0\n"s : "\n"s);
    std::string stray_controls;
    for (int k = 1; k <= 20; ++k) stray_controls += std::to_string(k) + (k == 10 ? "\f\n" : "\n");
    stray_controls += "\x1A";  // an old end-of-file mark
    std::string random_bytes;  // without NUL bytes: only the control bytes tell
    std::mt19937 random(7);
    for (int i = 0; i < 5000; ++i) random_bytes += static_cast<char>(1 + random() % 255);
    std::string nul_far_in = std::string(5000, '7') + "\n8\n9\n\0"s;

    const struct {
        const char* what;
        std::string bytes;
        Text_kind kind;
        std::size_t nul_line;
        std::size_t lines;
        const char* refusal;  // after File "<full path>"
    } cases[] = {
        {"plain", "1\n2\n3\n", Text_kind::plain, 0, 3, nullptr},
        {"stray control bytes", stray_controls, Text_kind::plain, 0, 21, nullptr},
        {"NUL at line 100", nul_at_100, Text_kind::plain, 100, 100,
         " holds a NUL byte at line 100: it is not plain text from there on"},
        {"NUL beyond the first bytes", nul_far_in, Text_kind::plain, 4, 3,
         " holds a NUL byte at line 4: it is not plain text from there on"},
        {"UTF-16 with its mark", "\xFF\xFE" "1\0\n\0" "2\0\n\0"s, Text_kind::utf16, 1, 1,
         " is UTF-16 text; save it as UTF-8 or ASCII"},
        {"big-endian UTF-16 with its mark", "\xFE\xFF\0" "1\0\n"s, Text_kind::utf16, 1, 1,
         " is UTF-16 text; save it as UTF-8 or ASCII"},
        {"UTF-16 without a mark", "1\0.\0" "5\0\n\0" "2\0\n\0"s, Text_kind::utf16, 1, 1,
         " is UTF-16 text; save it as UTF-8 or ASCII"},
        {"an executable", "\x7F" "ELF\x02\x01\x01\0\0\0"s, Text_kind::not_text, 1, 1, " is not a text file"},
        {"random bytes", random_bytes, Text_kind::not_text, 0, 0, " is not a text file"},
    };
    Temp_dir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.write("data.txt", c.bytes);
        // In one piece, a byte at a time and in memory alike.
        for (std::size_t chunk : {std::size_t{1}, std::size_t{3}, Data_file_chunk_bytes}) {
            const Data_text text = read_data_text(path, chunk);
            EXPECT_EQ(text.kind, c.kind) << chunk;
            EXPECT_EQ(text.nul_line, c.nul_line) << chunk;
            EXPECT_EQ(text.lines, examine_data_text(c.bytes).lines) << chunk;
        }
        const Data_text text = examine_data_text(c.bytes);
        EXPECT_EQ(text.kind, c.kind);
        EXPECT_EQ(text.nul_line, c.nul_line);
        if (c.lines != 0) {
            EXPECT_EQ(text.lines.size(), c.lines);
        }
        if (!c.refusal) {
            EXPECT_NO_THROW(read_data_table(path));
            continue;
        }
        try {
            read_data_table(path);
            ADD_FAILURE() << "not refused";
        } catch (const Vantel_error& error) {
            EXPECT_EQ(error.what(), "File \"" + path + "\"" + c.refusal);
        }
        try {
            data_table("-", examine_data_text(c.bytes));
            ADD_FAILURE() << "not refused";
        } catch (const Vantel_error& error) {
            EXPECT_EQ(error.what(), "File \"-\""s + c.refusal);
        }
    }
}

}  // namespace
}  // namespace vantel
