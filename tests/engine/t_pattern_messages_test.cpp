// What the window and the computation say about a T-pattern file that does
// not give each input a pixel: the same faults, named by the file as it was
// given and the line, with what each of them does about it.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/vantel.h"
#include "support/synthetic_mnist.h"

namespace vantel::test {
namespace {

struct Flawed_t_pattern {
    std::string what;
    std::string text;
    std::string window;    // the window's message ("<F>" stands for the file in quotes)
    bool window_error;     // shown on the error display: step 2 ends there
    std::string refused;   // why the computation refuses the file
};

// The identity pattern with its count line and pair lines changed.
std::string pattern_with(const std::string& count, int changed_line = 0, const std::string& changed = "",
                         const std::string& after = "")
{
    std::string text = count + "\r\n";
    for (int m = 1; m <= 784; ++m)
        text += (m + 1 == changed_line ? changed
                                       : std::to_string((m - 1) % 28 + 1) + " " + std::to_string((m - 1) / 28 + 1)) +
                "\r\n";
    return text + after;
}

std::string named(std::string text, const std::string& file)
{
    for (auto at = text.find("<F>"); at != std::string::npos; at = text.find("<F>", at + file.size() + 2))
        text.replace(at, 3, "\"" + file + "\"");
    return text;
}

const std::string Refused =
    "\n<F> is refused: it must give each of the 784 inputs a row and a column of 1..28, one pair per line after "
    "the count";

TEST(T_pattern_messages, name_the_file_as_given_and_the_line_and_say_what_happens)
{
    const std::vector<Flawed_t_pattern> cases = {
        {"letters in a pair", pattern_with("784", 7, "3x 5"), "<F> line 7: \"3x\" is not a whole number.", true,
         "<F> line 7: \"3x\" is not a whole number"},
        {"a word for the count", "pairs: 784\r\n1 1\r\n", "<F> line 1: \"pairs:\" is not a whole number.", true,
         "<F> line 1: \"pairs:\" is not a whole number"},
        {"words after the count", pattern_with("784 pairs follow"), "", false, ""},
        {"an entry outside the image", pattern_with("784", 7, "0 5"),
         "<F> line 7: row 0, column 5 is outside the image, whose rows and columns are 1..28; the inputs of such "
         "entries will be 0",
         false, "<F> line 7: row 0, column 5 is outside the image, whose rows and columns are 1..28" + Refused},
        {"a count of 700 before 784 pairs", pattern_with("700"),
         "<F> announces 700 pairs instead of 784; the entries without a line keep their previous value (0 before "
         "the first load)\n"
         "<F> announces 700 pairs, but 84 more lines follow from line 702 on; they are not read",
         false,
         "<F> announces 700 pairs instead of 784\n<F> announces 700 pairs, but 84 more lines follow from line 702 on" +
             Refused},
        {"one line after the 784 pairs, and blank ones", pattern_with("784", 0, "", "\r\n  \r\n28 28\r\n\r\n"),
         "<F> announces 784 pairs, but 1 more line follows on line 788; it is not read", false,
         "<F> announces 784 pairs, but 1 more line follows on line 788" + Refused},
        {"a count above the inputs", pattern_with("785"),
         "<F> announces 785 pairs, more than the 784 inputs; the file is not used and the T-pattern stays as it "
         "was",
         false, "<F> announces 785 pairs, more than the 784 inputs" + Refused},
        {"fewer pairs than announced", "784\r\n1 1\r\n1 2\r\n",
         "<F> ends after 2 of its 784 pairs; the missing numbers read as 0, so the inputs of those entries will "
         "be 0",
         false, "<F> ends after 2 of its 784 pairs" + Refused},
        {"a sound file", pattern_with("784"), "", false, ""},
    };
    Temp_dir folder;
    for (const Flawed_t_pattern& c : cases) {
        SCOPED_TRACE(c.what);
        // Not the program folder's file: a file named as the command's --tpattern names one.
        const std::string file = folder.write("patterns/my pattern.VM", c.text);

        Test_program program;
        prepare(program, synthetic().app, "Path=");
        program.session.t_pattern_file = file;
        const std::string shown = named(c.window, file);
        if (!shown.empty() && !c.window_error) program.window.expect_message(shown);
        program.click(Control::Button_Step_2);
        if (c.window_error) {
            expect_failed_load(program, shown);
        } else {
            EXPECT_EQ(program.window.messages, shown.empty() ? std::vector<std::string>{} : std::vector{shown});
            EXPECT_FALSE(program.state->datasets.Datasets_pending);  // the window goes on
        }

        std::string refusal;
        try {
            Datasets::load({synthetic().mnist, file});
        } catch (const Vantel_error& error) {
            refusal = error.what();
        }
        EXPECT_EQ(refusal, named(c.refused, file));
    }
}

}  // namespace
}  // namespace vantel::test
