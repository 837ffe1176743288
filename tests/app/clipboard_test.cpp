#include <gtest/gtest.h>

#include "support/test_program.h"

namespace vantel::test {
namespace {

TEST(Clipboard, copies_result_rows_with_crlf_and_reenables_button)
{
    Test_program program;
    program.window.set_lines(Control::Memo_Result, {"1\t0.5000\t100\t19625\tfile name=/a.txt",
                                                     "2\t0.6000\t100\t19625\tfile name=/a.txt"});
    program.click(Control::Button_copy_result);
    EXPECT_EQ(program.window.clipboard,
              "1\t0.5000\t100\t19625\tfile name=/a.txt\r\n2\t0.6000\t100\t19625\tfile name=/a.txt");
    EXPECT_TRUE(program.window.enabled(Control::Button_copy_result));
}

TEST(Clipboard, copies_the_published_value)
{
    Test_program program;
    program.window.set_text(Control::Edit_Vantel, "0.8765");
    program.click(Control::Button8);
    EXPECT_EQ(program.window.clipboard, "0.8765");
}

}  // namespace
}  // namespace vantel::test
