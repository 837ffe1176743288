// Replacing a result file: the old contents stay whole until the new ones
// are complete, whatever happens while they are written.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "batch/result_files.h"
#include "support/test_program.h"

namespace vantel::test {
namespace {

std::string contents(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(Result_files, a_replacement_never_writes_into_the_old_file)
{
    Temp_dir dir;
    const std::string target = dir.write("DATA_RESULT/a_Result.txt", "old lines\r\n");
    // A second name of the same file: written in place, it would change too.
    std::filesystem::create_hard_link(target, dir.path() / "DATA_RESULT/kept.txt");
    EXPECT_FALSE(save_lines(target, {"0,5000 0,6000  0,1667"}));
    EXPECT_EQ(contents(target), "0,5000 0,6000  0,1667\r\n");
    EXPECT_EQ(contents(dir.path() / "DATA_RESULT/kept.txt"), "old lines\r\n");
}

TEST(Result_files, a_write_that_fails_part_way_leaves_the_old_file_whole_and_no_part_behind)
{
    Temp_dir dir;
    const std::string target = dir.write("DATA_RESULT/a_Result.txt", "old lines\r\n");
    // A child whose files may not grow beyond 4 KiB writes 64 KiB.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        const auto failure = save_text(target, std::string(65536, 'x'));
        _exit(failure && failure->rfind("Cannot write file \"" + target + "\". ", 0) == 0 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the failure was not reported with the file's name";
    EXPECT_EQ(contents(target), "old lines\r\n");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "DATA_RESULT"))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"a_Result.txt"});
}

}  // namespace
}  // namespace vantel::test
