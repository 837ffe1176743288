// Reading data files into lines, the column count and the field text.
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "model/session.h"
#include "series/data_file.h"
#include "support/test_program.h"

namespace vantel {
namespace {

using Lines = std::vector<std::string>;
using test::Temp_dir;

TEST(SplitDataText, LineEnds)
{
    EXPECT_EQ(split_data_text("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(split_data_text("a\r\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(split_data_text("a\n\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(split_data_text("a\n\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(split_data_text("a\r\n\r\nb"), (Lines{"a", "", "b"}));
}

TEST(SplitDataText, LastLine)
{
    EXPECT_EQ(split_data_text(""), Lines{});
    EXPECT_EQ(split_data_text("a"), Lines{"a"});
    EXPECT_EQ(split_data_text("a\n"), Lines{"a"});
    EXPECT_EQ(split_data_text("a\r\n"), Lines{"a"});
    EXPECT_EQ(split_data_text("a\r"), Lines{"a"});
    EXPECT_EQ(split_data_text("\n"), Lines{""});
    EXPECT_EQ(split_data_text("\r\n"), Lines{""});
    EXPECT_EQ(split_data_text("\n\n"), (Lines{"", ""}));
    EXPECT_EQ(split_data_text("a\n\n"), (Lines{"a", ""}));
}

TEST(SplitDataText, NulEndsTheText)
{
    using namespace std::string_literals;
    EXPECT_EQ(split_data_text("a\0b\nc"s), Lines{"a"});
    EXPECT_EQ(split_data_text("\0abc\n"s), Lines{});
    EXPECT_EQ(split_data_text("a\nb\0"s), (Lines{"a", "b"}));
    EXPECT_EQ(split_data_text("a\n\0\n"s), Lines{"a"});
    EXPECT_EQ(split_data_text("a\r\0\nb"s), Lines{"a"});
}

TEST(SplitDataText, ByteOrderMarkAtTheStartIsSkipped)
{
    using namespace std::string_literals;
    const std::string mark = "\xEF\xBB\xBF";
    const struct {
        std::string text;
        Lines lines;
    } cases[] = {
        {mark + "1\t2\r\n3", {"1\t2", "3"}},
        {mark, {}},
        {mark + "\n1", {"", "1"}},
        {mark + mark + "1", {mark + "1"}},         // only the first
        {"1\n" + mark + "2", {"1", mark + "2"}},   // only at the start
        {" " + mark + "1", {" " + mark + "1"}},
        {"\xEF\xBB", {"\xEF\xBB"}},                // the start of a mark is text
        {"\xEF\xBBx\n", {"\xEF\xBBx"}},
        {"\xEF\n2", {"\xEF", "2"}},
        {"\xEF\r\n", {"\xEF"}},
        {"\xEF\xBB\0z"s, {"\xEF\xBB"}},
        {mark + "\0z"s, {}},
    };
    Temp_dir dir;
    for (const auto& c : cases) {
        EXPECT_EQ(split_data_text(c.text), c.lines) << c.text;
        const auto path = dir.write("f.txt", c.text);
        for (std::size_t chunk = 1; chunk <= 4; ++chunk) EXPECT_EQ(read_data_file(path, chunk), c.lines) << chunk;
    }
}

TEST(SplitDataText, KeepsTabsSpacesAndEightBitBytes)
{
    EXPECT_EQ(split_data_text("1\t2\t\t 3 \n\xE4\xF6\xFF\x01"), (Lines{"1\t2\t\t 3 ", "\xE4\xF6\xFF\x01"}));
}

TEST(SplitDataText, LineLimit)
{
    EXPECT_EQ(split_data_text("1\n2\n3\n", 3).size(), 3u);
    EXPECT_EQ(split_data_text("1\n2\n3", 3).size(), 3u);
    try {
        split_data_text("1\n2\n3\n4", 3, "/x/many.txt");
        ADD_FAILURE() << "no error";
    } catch (const Vantel_error& error) {
        EXPECT_STREQ(error.what(),
                     "File \"/x/many.txt\" has too many lines: a data file may hold at most 3 lines");
    }
}

TEST(SplitDataText, LongestLine)
{
    const std::string longest(Max_data_line_bytes, '5');
    const auto lines = split_data_text("1\n" + longest + "\r\n2");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].size(), Max_data_line_bytes);
    try {
        split_data_text("1\n2\n" + longest + "5", Max_data_file_lines, "/x/wide.txt");
        ADD_FAILURE() << "no error";
    } catch (const Vantel_error& error) {
        EXPECT_STREQ(error.what(), "File \"/x/wide.txt\" line 3 is too long: a line of a data file "
                                   "may hold at most 16777216 bytes (16 MiB)");
    }
}

TEST(ReadDataFile, SameLinesAsTheSplitter)
{
    Temp_dir dir;
    for (const std::string text : {"", "a", "a\n", "a\r\nb\rc\nd\n", "\n\n", "1\t2\r\n3\t4\r\n"}) {
        const auto path = dir.write("f.txt", text);
        EXPECT_EQ(read_data_file(path), split_data_text(text)) << text;
    }
}

TEST(ReadDataFile, CrLfAcrossTheReadBuffer)
{
    // The reader takes 1 MiB at a time; put the pair on the boundary.
    Temp_dir dir;
    const std::string first((1 << 20) - 1, 'x');
    auto lines = read_data_file(dir.write("f.txt", first + "\r\ny"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], first);
    EXPECT_EQ(lines[1], "y");
    lines = read_data_file(dir.write("g.txt", first + "\rz\r"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "z");
    lines = read_data_file(dir.write("h.txt", first + "\r\r\n"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "");
}

TEST(ReadDataFile, AnyReadSizeGivesTheSameLines)
{
    // Line breaks, CR LF pairs and NUL bytes fall across reads of every size.
    using namespace std::string_literals;
    Temp_dir dir;
    for (const std::string& text : {"a\r\nb\rc\nd"s, "\r\n\r\r\n\n\r"s, "1\t2\r\n3\t4\r\n5"s,
                                   "ab\rcd\0ef\ngh"s, "abc\r\0\n"s}) {
        const auto path = dir.write("f.txt", text);
        for (std::size_t chunk = 1; chunk <= 8; ++chunk)
            EXPECT_EQ(read_data_file(path, chunk), split_data_text(text)) << chunk;
    }
}

TEST(ReadDataFile, LineOverTheLimitAcrossReadsIsRefused)
{
    // The line grows over 17 reads of 1 MiB before it is found too long.
    Temp_dir dir;
    const auto path = dir.write("wide.txt", "1\t2\r\n" + std::string(Max_data_line_bytes + 1, '7') + "\r\n");
    try {
        read_data_file(path);
        ADD_FAILURE() << "no error";
    } catch (const Vantel_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "File \"" + path + "\" line 2 is too long: a line of a data file may hold at most "
                                    "16777216 bytes (16 MiB)");
    }
}

TEST(ReadDataFile, FileBeyondTheMemoryAvailableGivesAMessage)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer keeps address space of its own; the limit below would stop it";
#else
    // 8 million short lines need some 256 MiB as strings; a child process
    // that may grow by 64 MiB at most reads them.
    Temp_dir dir;
    std::string text;
    text.reserve(64u << 20);
    for (int i = 0; i < 8'000'000; ++i) text += "1.25\t7\n";
    const auto path = dir.write("big.txt", text);
    text = std::string();

    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        long pages = 0;
        std::FILE* statm = std::fopen("/proc/self/statm", "r");
        if (!statm || std::fscanf(statm, "%ld", &pages) != 1) ::_exit(2);
        const rlim_t now = static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
        const rlimit limit{now + (64u << 20), now + (64u << 20)};
        if (::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(3);
        std::string said = "no error";
        try {
            read_data_file(path);
        } catch (const Vantel_error& error) {
            said = error.what();
        } catch (...) {
            said = "another error";
        }
        if (::write(channel[1], said.data(), said.size()) < 0) ::_exit(4);
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string said;
    char piece[256];
    for (ssize_t got; (got = ::read(channel[0], piece, sizeof piece)) > 0;) said.append(piece, got);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(said, "File \"" + path + "\" does not fit into the memory available");
#endif
}

TEST(ReadDataFile, NulByteEndsTheFile)
{
    Temp_dir dir;
    using namespace std::string_literals;
    EXPECT_EQ(read_data_file(dir.write("f.txt", "1\n2\n3\0\n4\n5\n"s)), (Lines{"1", "2", "3"}));
    // Far beyond the first read buffer as well.
    const std::string big(3 << 20, 'a');
    EXPECT_EQ(read_data_file(dir.write("g.txt", "1\n"s + "\0"s + big)), Lines{"1"});
}

TEST(ReadDataFile, MissingFile)
{
    Temp_dir dir;
    const auto path = (dir.path() / "missing.txt").string();
    try {
        read_data_file(path);
        ADD_FAILURE() << "no error";
    } catch (const Vantel_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open file \"" + path + "\". No such file or directory");
    }
}

TEST(ReadDataFile, RelativeNameIsReportedWithItsFullPath)
{
    const std::string name = "vantel-surely-missing-file.txt";
    const auto full = (std::filesystem::current_path() / name).string();
    try {
        read_data_file(name);
        ADD_FAILURE() << "no error";
    } catch (const Vantel_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open file \"" + full + "\". No such file or directory");
    }
}

TEST(ReadDataFile, FolderCannotBeRead)
{
    Temp_dir dir;
    try {
        read_data_file(dir.path().string());
        ADD_FAILURE() << "no error";
    } catch (const Vantel_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot read file \"" + dir.path().string() + "\". Is a directory");
    }
}

TEST(ReadDataFile, EmptyAndBinaryFiles)
{
    Temp_dir dir;
    EXPECT_EQ(read_data_file(dir.write("empty.txt", "")), Lines{});

    std::mt19937 random(7);
    std::string binary(1 << 20, '\0');
    for (auto& c : binary) c = static_cast<char>(random());
    const auto with_nul = read_data_file(dir.write("bin1.txt", binary));
    EXPECT_EQ(with_nul, split_data_text(binary));

    for (auto& c : binary)
        if (c == '\0') c = '\x01';
    const auto without_nul = read_data_file(dir.write("bin2.txt", binary));
    EXPECT_EQ(without_nul, split_data_text(binary));
    EXPECT_GT(without_nul.size(), 1000u);
}

TEST(ReadDataFile, DeviceEndingInNul)
{
    // Not a regular file: read until the first NUL byte.
    EXPECT_EQ(read_data_file("/dev/zero"), Lines{});
}

TEST(ReadDataFile, TenMegabyteLine)
{
    Temp_dir dir;
    std::string line(10 * 1024 * 1024, '7');
    for (std::size_t i = 1000; i < line.size(); i += 1000) line[i] = '\t';
    const auto path = dir.write("long.txt", line + "\r\n1\n");
    const auto lines = read_data_file(path);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], line);
    EXPECT_EQ(column_count(lines[0]), static_cast<std::int32_t>(line.size() / 1000) + 1);
}

TEST(ReadDataFile, AMillionLines)
{
    Temp_dir dir;
    std::string text;
    for (int i = 0; i < 1000000; ++i) text += std::to_string(i) + "\t" + std::to_string(i * 0.5) + "\n";
    const auto path = dir.write("million.txt", text);
    const auto lines = read_data_file(path);
    ASSERT_EQ(lines.size(), 1000000u);
    EXPECT_EQ(lines[0], "0\t0.000000");
    EXPECT_EQ(lines[999999], "999999\t499999.500000");
}

TEST(ReadDataFile, FileOverTheSizeLimitIsRefused)
{
    Temp_dir dir;
    const auto path = dir.path() / "huge.txt";
    dir.write("huge.txt", "");
    std::filesystem::resize_file(path, Max_data_file_bytes + 1);  // sparse, and never read
    try {
        read_data_file(path.string());
        ADD_FAILURE() << "no error";
    } catch (const Vantel_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "File \"" + path.string() +
                      "\" is too large: a data file may hold at most 1073741824 bytes (1 GiB)");
    }
}

TEST(ColumnCount, worked_examples)
{
    EXPECT_EQ(column_count("a\tb\tc"), 3);
    EXPECT_EQ(column_count("a\tb\t"), 2);
    EXPECT_EQ(column_count("1.5"), 1);
    EXPECT_EQ(column_count(""), 0);
}

TEST(ColumnCount, MoreCases)
{
    EXPECT_EQ(column_count("\t"), 1);
    EXPECT_EQ(column_count("\t\t"), 2);
    EXPECT_EQ(column_count("\ta"), 2);
    EXPECT_EQ(column_count("a\t\tb"), 3);
    EXPECT_EQ(column_count(" "), 1);
    EXPECT_EQ(column_count("1 2 3"), 1);
    EXPECT_EQ(column_count("a\t "), 2);
}

TEST(FieldText, Columns)
{
    EXPECT_EQ(field_text("a\tb\tc", 1), "a");
    EXPECT_EQ(field_text("a\tb\tc", 2), "b");
    EXPECT_EQ(field_text("a\tb\tc", 3), "c");
    EXPECT_EQ(field_text("a\t\tb", 2), "");
    EXPECT_EQ(field_text("a\t\tb", 3), "b");
    EXPECT_EQ(field_text("\ta", 1), "");
    EXPECT_EQ(field_text("\ta", 2), "a");
    EXPECT_EQ(field_text("a\tb\t", 3), "");
}

TEST(FieldText, short_lines_empty_fields_and_tabs_at_the_ends)
{
    EXPECT_EQ(field_text("", 1), "0");
    EXPECT_EQ(field_text("", 5), "0");
    // No tab: the single value whatever the column.
    EXPECT_EQ(field_text("3.5", 2), "3.5");
    EXPECT_EQ(field_text("3.5", 100), "3.5");
    // Fewer than c - 1 tabs: the whole line.
    EXPECT_EQ(field_text("1\t2", 3), "1\t2");
    EXPECT_EQ(field_text("a\tb\tc", 4), "a\tb\tc");
    // Exactly c - 1 tabs: the text after the last one.
    EXPECT_EQ(field_text("1\t", 2), "");
    EXPECT_EQ(field_text("1\t2", 2), "2");
}

}  // namespace
}  // namespace vantel
