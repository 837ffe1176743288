#include "base/text_file.h"

#include <cerrno>
#include <cstdint>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/line_splitter.h"

namespace vantel {

namespace {

class Fd_closer {
public:
    explicit Fd_closer(int fd) : fd_(fd) {}
    ~Fd_closer() { ::close(fd_); }
    Fd_closer(const Fd_closer&) = delete;
    Fd_closer& operator=(const Fd_closer&) = delete;

private:
    int fd_;
};

}  // namespace

Vantel_error cannot_open_error(const std::string& path, int error_number)
{
    return Vantel_error("Cannot open file \"" + path + "\". " + std::strerror(error_number));
}

std::string load_text_file(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw cannot_open_error(path, errno);
    Fd_closer closer(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0) throw cannot_open_error(path, errno);
    // A folder opens for reading here but holds no text.
    if (S_ISDIR(info.st_mode)) throw cannot_open_error(path, EISDIR);
    const auto too_large = [&path] {
        return Vantel_error("File \"" + path + "\" is too large: it may hold at most " +
                            std::to_string(Max_text_file_bytes) + " bytes (16 MiB)");
    };
    if (S_ISREG(info.st_mode) && static_cast<std::uint64_t>(info.st_size) > Max_text_file_bytes)
        throw too_large();
    std::string text;
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw Vantel_error("Stream read error");
        if (got == 0) break;
        // Also what is not a regular file (a device reads without end).
        if (static_cast<std::size_t>(got) > Max_text_file_bytes - text.size()) throw too_large();
        text.append(chunk, static_cast<std::size_t>(got));
    }
    return text;
}

std::vector<std::string> split_lines(std::string_view text)
{
    Line_splitter splitter{Line_options{}};
    splitter.feed(text);
    return splitter.finish();
}

}  // namespace vantel
