// The run log of a batch without a window never replaces another log.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "batch/result_files.h"
#include "base/date_time.h"
#include "support/test_program.h"

namespace vantel::test {
namespace {

std::string contents(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(New_run_log, takes_a_free_name_and_leaves_a_log_of_the_same_second_alone)
{
    Temp_dir dir;
    const std::string app_dir = dir.path().string() + "/";
    // A log of another batch, written this very second.
    const std::string other = run_log_path(app_dir, local_now());
    ASSERT_FALSE(save_lines(other, {"another batch"}));

    const Run_log_outcome first = save_new_run_log(app_dir, {"1\t0.8123", "1\t0.8200"});
    const Run_log_outcome second = save_new_run_log(app_dir, {"2\t0.5000"});
    ASSERT_FALSE(first.failure) << *first.failure;
    ASSERT_FALSE(second.failure) << *second.failure;
    EXPECT_NE(first.path, other);
    EXPECT_NE(second.path, first.path);
    EXPECT_EQ(contents(other), "another batch\r\n");
    EXPECT_EQ(contents(first.path), "1\t0.8123\r\n1\t0.8200\r\n");
    EXPECT_EQ(contents(second.path), "2\t0.5000\r\n");
    // The names keep the run log's form, and no temporary file is left.
    for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "Results"))
        EXPECT_TRUE(std::regex_match(entry.path().filename().string(),
                                     std::regex("last_result_\\d\\d-\\d\\d-\\d{4}-\\d{6}\\.txt")))
            << entry.path();
}

TEST(New_run_log, reports_a_folder_it_cannot_write_in)
{
    Temp_dir dir;
    dir.write("Results", "a file where the folder should be");
    const Run_log_outcome outcome = save_new_run_log(dir.path().string() + "/", {"row"});
    ASSERT_TRUE(outcome.failure);
    EXPECT_EQ(outcome.failure->rfind("Cannot write file \"" + outcome.path + "\". ", 0), 0u) << *outcome.failure;
}

}  // namespace
}  // namespace vantel::test
