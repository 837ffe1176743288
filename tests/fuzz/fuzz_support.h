// Shared by the fuzz targets: a scratch folder for the files a target writes,
// and the check that turns a broken promise of a reader into a crash that
// libFuzzer reports and keeps.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <unistd.h>

#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);   \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)

namespace vantel::fuzz {

// A folder of this process, made on first use and removed at exit, ending '/'.
inline const std::string& scratch_dir()
{
    static const std::string dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantel-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        static const std::string remove_at_exit = pattern;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(remove_at_exit, ignored);
        });
        return pattern + "/";
    }();
    return dir;
}

// Writes `bytes` as the whole file; when `size` is larger the rest reads as
// zeros without being written (a sparse file), when smaller the bytes are cut.
inline void write_file(const std::string& path, std::string_view bytes, std::size_t size)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) std::abort();
    const std::size_t count = bytes.size() < size ? bytes.size() : size;
    if (count != 0 && ::pwrite(fd, bytes.data(), count, 0) != static_cast<ssize_t>(count)) std::abort();
    if (::ftruncate(fd, static_cast<off_t>(size)) != 0) std::abort();
    ::close(fd);
}

inline void write_file(const std::string& path, std::string_view bytes)
{
    write_file(path, bytes, bytes.size());
}

}  // namespace vantel::fuzz
