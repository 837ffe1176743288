// The all-files batch over the real single run, engine and extraction, on the
// real MNIST-10 files of the build.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "base/date_time.h"
#include "support/test_program.h"

namespace vantel::test {
namespace {

std::string read_file(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(Real_batch, a_tiny_file_is_computed_twice_per_column_and_both_files_are_written)
{
    ASSERT_TRUE(real_mnist_present());
    Temp_dir dir;
    const std::string app_dir = dir.path().string() + "/";
    for (const char* shared : {"MNIST_10", "T_pattern"})
        std::filesystem::create_directory_symlink(built_app_dir() + shared, dir.path() / shared);
    std::string rows;
    for (int k = 1; k <= 20; ++k) rows += std::to_string(k % 7) + "." + std::to_string(k % 3) + "\r\n";
    dir.write("DATA/tiny.txt", rows);

    Test_program program;
    program.session.executable_dir = app_dir;
    program.state->run.App_dir = app_dir;
    program.state->run.One_second = one_second_units();
    program.state->datasets.Datasets_pending = true;
    program.window.set_lines(Control::Memo3, {"1", "1", "AUTO=NO", "METHOD=5", "N=20", "Path="});
    program.window.set_lines(Control::Memo4, {});
    program.window.set_lines(Control::Memo5, {"tiny.txt"});
    program.click(Control::Open_ALL_file_button);

    EXPECT_TRUE(program.window.messages.empty());
    EXPECT_TRUE(program.window.errors.empty());
    // Both runs train one epoch on the same series, so they agree exactly.
    const std::string result = read_file(dir.path() / "DATA_RESULT/tiny_Result.txt");
    EXPECT_TRUE(std::regex_match(result, std::regex("(0,\\d{4}) \\1  0,0000\r\n"))) << result;
    EXPECT_NE(result.substr(0, 6), "0,0000");

    std::vector<std::filesystem::path> logs;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "Results"))
        logs.push_back(entry.path());
    ASSERT_EQ(logs.size(), 1u);
    const std::string value = result.substr(0, 6);
    const std::string row = "1\t" + value.substr(0, 1) + "." + value.substr(2) +
                            "\t1\t20\tfile name=" + app_dir + "DATA/tiny.txt\r\n";
    EXPECT_EQ(read_file(logs[0]), row + row);
    EXPECT_EQ(program.window.close_requests, 1);
}

}  // namespace
}  // namespace vantel::test
