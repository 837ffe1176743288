#include "batch/result_files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string_view>

#include <fcntl.h>
#include <unistd.h>

#include "batch/texts.h"
#include "engine/core/date_time.h"

namespace vantel {

namespace {

std::string write_failure(const std::string& path, const std::string& reason)
{
    return "Cannot write file \"" + path + "\". " + reason;
}

bool write_all(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A name of its own in the target's folder, so that two copies of the
// program finishing at once do not write into each other's file. The dot
// keeps it out of a plain listing while it exists.
std::filesystem::path temporary_name(const std::filesystem::path& target)
{
    static unsigned long long serial = 0;
    const std::string name = "." + target.filename().string() + ".part-" +
                             std::to_string(::getpid()) + "-" + std::to_string(++serial);
    return target.parent_path() / name;
}

}  // namespace

std::string run_log_path(const std::string& app_dir, Date_time when)
{
    return app_dir + "Results/last_result_" + format_file_stamp(when) + ".txt";
}

std::string batch_result_path(const std::string& app_dir, const std::string& data_file_name)
{
    return remove_every(app_dir + "DATA_RESULT/" + data_file_name + "_Result", ".txt") + ".txt";
}

std::optional<std::string> save_lines(const std::string& path, const std::vector<std::string>& lines)
{
    const std::filesystem::path target(path);
    if (target.has_parent_path()) {
        std::error_code error;
        std::filesystem::create_directories(target.parent_path(), error);
        if (error) return write_failure(path, error.message());
    }

    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }

    std::filesystem::path part;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        part = temporary_name(target);
        fd = ::open(part.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return write_failure(path, std::strerror(errno));

    // fsync before the rename: otherwise a crash could leave the new name on
    // a file whose bytes never reached the disk.
    bool written = write_all(fd, text) && ::fsync(fd) == 0;
    int reason = written ? 0 : errno;
    if (::close(fd) != 0 && written) {
        written = false;
        reason = errno;
    }
    if (written && std::rename(part.c_str(), path.c_str()) != 0) {
        written = false;
        reason = errno;
    }
    if (!written) {
        ::unlink(part.c_str());
        return write_failure(path, std::strerror(reason));
    }
    return std::nullopt;
}

}  // namespace vantel
