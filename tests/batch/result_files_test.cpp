// Replacing a result file: the old contents stay whole until the new ones
// are complete, whatever happens while they are written.
#include <gtest/gtest.h>

#include <signal.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

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

TEST(Result_files, a_link_is_followed_a_fifo_or_device_written_in_place_and_a_file_keeps_its_permissions)
{
    Temp_dir dir;
    const std::filesystem::path folder = dir.path();
    const std::string file = dir.write("kept.txt", "old\r\n");
    std::filesystem::permissions(file, std::filesystem::perms(0640));
    std::filesystem::create_symlink("kept.txt", folder / "link.txt");
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    const int reader = ::open((folder / "fifo").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    struct Case {
        std::string path;
        std::optional<std::string> failure;
    };
    std::vector<Case> cases = {{file, std::nullopt},
                               {(folder / "link.txt").string(), std::nullopt},
                               {(folder / "fifo").string(), std::nullopt}};
    // A device of our own that is always full, where the system lets us
    // make one (as root): never /dev/full itself, which a faulty
    // replacement would destroy.
    const std::string full = (folder / "full").string();
    if (::mknod(full.c_str(), S_IFCHR | 0600, makedev(1, 7)) == 0)
        cases.push_back({full, "Cannot write file \"" + full + "\". No space left on device"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(save_text(c.path, "new\r\n"), c.failure);
    }
    EXPECT_EQ(contents(file), "new\r\n");
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0640));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.txt"));
    char got[16] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 5);
    EXPECT_EQ(std::string(got), "new\r\n");
    ::close(reader);
    EXPECT_TRUE(std::filesystem::is_fifo(folder / "fifo"));
    if (cases.size() == 4) EXPECT_TRUE(std::filesystem::is_character_file(full));
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
