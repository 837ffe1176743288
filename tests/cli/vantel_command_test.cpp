// The vantel command, run as a user runs it: its arguments, its output, and
// its value against the window's START on the same inputs.
#include <gtest/gtest.h>

#include <string>

#include "engine/vantel.h"
#include "engine/vantel_detail.h"
#include "base/date_time.h"
#include "cli/command_runner.h"

namespace vantel::test {
namespace {

std::string two_column_series(int rows)
{
    std::string text;
    for (int k = 1; k <= rows; ++k)
        text += std::to_string(k % 7) + "\t" + std::to_string((k * 37) % 101 - 50) + ".25\r\n";
    return text;
}

TEST(Vantel_command, help_explains_every_option)
{
    Temp_dir dir;
    const auto result = run_vantel("--help", dir);
    EXPECT_EQ(result.status, 0);
    for (const char* option : {"--columns", "--column", "--n", "--method", "--epochs", "--threads", "--format",
                               "--output", "--resume", "--overwrite", "--batch", "--init", "--mnist", "--tpattern", "--json"})
        EXPECT_NE(result.out.find(option), std::string::npos) << option;
}

TEST(Vantel_command, bad_arguments_give_one_line_and_status_2)
{
    Temp_dir dir;
    const std::string data = dir.write("series.txt", two_column_series(20));
    for (const std::string& arguments :
         {std::string("--bogus ") + data, std::string(""), dir.path().string() + "/missing.txt",
          "--method 7 " + data, "--method 0 " + data, "--epochs 0 " + data, "--column 0 " + data,
          "--column x " + data, std::string("--epochs"), "--mnist " + dir.path().string() + " " + data,
          "--tpattern " + dir.path().string() + "/none.VM " + data}) {
        const auto result = run_vantel(arguments, dir);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_EQ(line_count(result.err), 1) << arguments << ": " << result.err;
        EXPECT_TRUE(result.out.empty()) << arguments;
    }
}

TEST(Vantel_command, gives_the_value_that_start_shows_in_the_window)
{
    ASSERT_TRUE(real_mnist_present());
    Temp_dir dir;
    const std::string data = dir.write("series.txt", two_column_series(700));

    const auto result =
        run_vantel("--column 2 --n 600 --method 3 --epochs 1 --json " + data, dir);
    ASSERT_EQ(result.status, 0) << result.err;

    // The same inputs through the window's own buttons.
    Test_program program;
    program.start_on(data, {"1", "2", "AUTO=NO", "METHOD=3", "N=600", "Path="}, 2, 3, 1);
    ASSERT_TRUE(program.window.errors.empty()) << program.window.errors.front();
    const std::string value = program.window.text(Control::Edit_Vantel);
    ASSERT_EQ(value.size(), 6u);

    EXPECT_NE(result.out.find("\"value\": " + value + ","), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("\"correct_count\": " + std::to_string(program.state->run.Correct_count)),
              std::string::npos) << result.out;
    EXPECT_NE(result.out.find("\"w2_sha256\": \"" + w2_fingerprint(program.state->net) + "\""),
              std::string::npos) << result.out;
    EXPECT_NE(result.out.find("\"n\": 600, \"column\": 2, \"method\": 3, \"epochs\": 1"),
              std::string::npos) << result.out;

    const auto plain = run_vantel("--column 2 --n 600 --method 3 --epochs 1 " + data, dir);
    EXPECT_EQ(plain.out, value + "\n");
}

}  // namespace
}  // namespace vantel::test
