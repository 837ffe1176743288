// The init-file check of the command: each line that does not hold what it
// must gets one message naming the file, the line and what is expected.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/text_file.h"
#include "batch/init_file.h"

namespace vantel::test {
namespace {

const std::vector<std::string> Sound = {"100", "20", "AUTO=NO", "METHOD=5", "N=19625", "Path="};

std::vector<std::string> with_line(std::size_t index, const std::string& line)
{
    std::vector<std::string> lines = Sound;
    lines[index] = line;
    return lines;
}

std::string epochs(int line, const std::string& text)
{
    return "init.txt line " + std::to_string(line) + ": \"" + text +
           "\" is not an epoch count: a whole number of 1 or more is expected (the epochs of each column's " +
           (line == 1 ? "first" : "second") + " run)";
}

const std::string Not_auto = "\" is not an automatic-start line: AUTO=NO or AUTO=YES is expected";
const std::string Not_method = "\" is not a fill-method line: METHOD=1 to METHOD=6 is expected";
const std::string Not_length =
    "\" is not a series-length line: N= followed by a whole number from 5 to 19625 is expected";
const std::string Not_path =
    "\" is not an MNIST-folder line: Path= followed by the MNIST folder is expected (Path= alone: MNIST_10/ next "
    "to the program)";

TEST(Init_file_check, names_each_line_that_does_not_hold_what_it_must)
{
    struct Case {
        std::vector<std::string> lines;
        std::vector<std::string> problems;
    };
    const std::string long_line(100, '7');
    const std::vector<Case> cases = {
        {Sound, {}},
        {{"1", "2147483647", "AUTO=YES", "METHOD=1", "N=5", "Path=/data/MNIST_10/", "a seventh line"}, {}},
        {with_line(0, "$10"), {}},  // the integer reader's hexadecimal form
        {with_line(1, " 20"), {}},  // leading blanks, as the epochs field reads them
        {with_line(3, "METHOD=6"), {}},
        // Lines run together.
        {{"12AUTO=NOMETHOD=5N=19625Path="},
         {epochs(1, "12AUTO=NOMETHOD=5N=19625Path="), "init.txt holds 1 line: 6 are expected"}},
        {{}, {"init.txt holds 0 lines: 6 are expected"}},
        {{"100", "20", "AUTO=NO"},
         {"init.txt holds 3 lines: 6 are expected"}},
        // Epochs.
        {with_line(0, "abc"), {epochs(1, "abc")}},
        {with_line(0, "0"), {epochs(1, "0")}},
        {with_line(1, "-5"), {epochs(2, "-5")}},
        {with_line(1, "12x"), {epochs(2, "12x")}},
        {with_line(1, "20 "), {epochs(2, "20 ")}},
        {with_line(0, ""), {epochs(1, "")}},
        // The automatic start and the method: exact, case and all.
        {with_line(2, "AUTO=yes"), {"init.txt line 3: \"AUTO=yes" + Not_auto}},
        {with_line(2, "AUTO=NO "), {"init.txt line 3: \"AUTO=NO " + Not_auto}},
        {with_line(3, "METHOD=9"), {"init.txt line 4: \"METHOD=9" + Not_method}},
        {with_line(3, "METHOD=05"), {"init.txt line 4: \"METHOD=05" + Not_method}},
        {with_line(3, "method=5"), {"init.txt line 4: \"method=5" + Not_method}},
        // N.
        {with_line(4, "N=abc"), {"init.txt line 5: \"N=abc" + Not_length}},
        {with_line(4, "N=4"), {"init.txt line 5: \"N=4" + Not_length}},
        {with_line(4, "N=19626"), {"init.txt line 5: \"N=19626" + Not_length}},
        {with_line(4, "19625"), {"init.txt line 5: \"19625" + Not_length}},
        {with_line(4, "N=N=500"), {"init.txt line 5: \"N=N=500" + Not_length}},
        // The MNIST folder.
        {with_line(5, "/data/MNIST_10/"), {"init.txt line 6: \"/data/MNIST_10/" + Not_path}},
        {with_line(5, "path="), {"init.txt line 6: \"path=" + Not_path}},
        // Beyond 32 bits the integer reader would saturate.
        {with_line(0, "2147483648"), {epochs(1, "2147483648")}},
        // Several lines at once, in line order; a long line by its start.
        {{long_line, "-5", "AUTO", "METHOD=7", "N=", "Path="},
         {"init.txt line 1: \"" + long_line.substr(0, 60) +
              "...\" (100 characters) is not an epoch count: a whole number of 1 or more is expected (the epochs "
              "of each column's first run)",
          epochs(2, "-5"), "init.txt line 3: \"AUTO" + Not_auto, "init.txt line 4: \"METHOD=7" + Not_method,
          "init.txt line 5: \"N=" + Not_length}},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const auto& line : c.lines) shown += line + " | ";
        EXPECT_EQ(init_file_problems("init.txt", c.lines), c.problems) << shown;
    }
}

TEST(Init_file_check, the_shipped_init_file_is_sound_and_the_file_is_named_as_given)
{
    const std::string shipped = std::string(VANTEL_SOURCE_DIR) + "defaults/init.txt";
    EXPECT_EQ(init_file_problems(shipped, split_lines(load_text_file(shipped))), std::vector<std::string>{});
    EXPECT_EQ(init_file_problems("/etc/vantel/batch init.txt", with_line(3, "METHOD=")),
              std::vector<std::string>{"/etc/vantel/batch init.txt line 4: \"METHOD=" + Not_method});
}

}  // namespace
}  // namespace vantel::test
