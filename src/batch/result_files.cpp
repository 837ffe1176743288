#include "batch/result_files.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string_view>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/strings.h"
#include "base/date_time.h"
#include "base/number_format.h"
#include "series/text_readers.h"

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
    static std::atomic<unsigned long long> serial{0};
    const std::string name = "." + target.filename().string() + ".part-" +
                             std::to_string(::getpid()) + "-" + std::to_string(++serial);
    return target.parent_path() / name;
}

}  // namespace

std::filesystem::path written_path(const std::filesystem::path& path)
{
    std::filesystem::path at = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!std::filesystem::is_symlink(at, error)) return at;
        const std::filesystem::path next = std::filesystem::read_symlink(at, error);
        if (error) return at;
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
    return at;  // a loop of links: writing it reports the error
}

namespace {

// Into a device or a FIFO, which a rename would replace by a file.
std::optional<std::string> write_in_place(const std::string& shown, const std::filesystem::path& target,
                                          std::string_view text)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return write_failure(shown, std::strerror(errno));
    bool written = write_all(fd, text);
    int reason = written ? 0 : errno;
    if (::close(fd) != 0 && written) {
        written = false;
        reason = errno;
    }
    if (!written) return write_failure(shown, std::strerror(reason));
    return std::nullopt;
}

}  // namespace

std::string relative_change_text(double first, double second, char decimal_separator)
{
    if (second == 0) return "n/a";
    const double change =
        static_cast<double>((static_cast<long double>(second) - first) / second);
    return format_value_text(change, decimal_separator);
}

std::string batch_result_line(const std::string& first, const std::string& second,
                              char decimal_separator)
{
    std::string change;
    if (!first.empty() && !second.empty())
        change = relative_change_text(parse_number(first), parse_number(second), decimal_separator);
    std::string line = first + " " + second + "  " + change;
    std::replace(line.begin(), line.end(), '.', ',');
    return line;
}

std::string run_log_path(const std::string& app_dir, Date_time when)
{
    return app_dir + "Results/last_result_" + format_file_stamp(when) + ".txt";
}

std::string batch_result_path(const std::string& app_dir, const std::string& data_file_name)
{
    // Only the file's own name loses its ".txt": a folder of the path may
    // hold one too ("/data/runs.txt/", an --output named so).
    return app_dir + "DATA_RESULT/" + remove_every(data_file_name + "_Result", ".txt") + ".txt";
}

namespace {

enum class Existing { replace, keep };

std::string crlf_text(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

// Failure text, or nothing; `taken` tells that `keep` found the name in use.
std::optional<std::string> write_text(const std::string& path, std::string_view text, Existing existing,
                                      bool* taken = nullptr)
{
    // A link is followed and its target replaced; a device or FIFO is
    // written, never replaced; a file replaced keeps its permission bits.
    const std::filesystem::path target =
        existing == Existing::replace ? written_path(path) : std::filesystem::path(path);
    struct stat status {};
    const bool exists = existing == Existing::replace && ::stat(target.c_str(), &status) == 0;
    if (exists && !S_ISREG(status.st_mode)) return write_in_place(path, target, text);
    if (target.has_parent_path()) {
        std::error_code error;
        std::filesystem::create_directories(target.parent_path(), error);
        if (error) return write_failure(path, error.message());
    }

    std::filesystem::path part;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        part = temporary_name(target);
        fd = ::open(part.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return write_failure(path, std::strerror(errno));
    if (exists) ::fchmod(fd, status.st_mode & 07777);

    // fsync before the rename: otherwise a crash could leave the new name on
    // a file whose bytes never reached the disk.
    bool written = write_all(fd, text) && ::fsync(fd) == 0;
    int reason = written ? 0 : errno;
    if (::close(fd) != 0 && written) {
        written = false;
        reason = errno;
    }
    if (!written) {
        ::unlink(part.c_str());
        return write_failure(path, std::strerror(reason));
    }
    if (existing == Existing::replace) {
        if (std::rename(part.c_str(), target.c_str()) == 0) return std::nullopt;
        reason = errno;
        ::unlink(part.c_str());
        return write_failure(path, std::strerror(reason));
    }
    // A hard link takes the name only while it is free, in one step.
    const int linked = ::link(part.c_str(), path.c_str()) == 0 ? 0 : errno;
    ::unlink(part.c_str());
    if (linked == EEXIST && taken) {
        *taken = true;
        return std::nullopt;
    }
    if (linked != 0) return write_failure(path, std::strerror(linked));
    return std::nullopt;
}

}  // namespace

std::optional<std::string> save_lines(const std::string& path, const std::vector<std::string>& lines)
{
    return write_text(path, crlf_text(lines), Existing::replace);
}

std::optional<std::string> save_text(const std::string& path, const std::string& text)
{
    return write_text(path, text, Existing::replace);
}

Run_log_outcome save_new_run_log(const std::string& app_dir, const std::vector<std::string>& lines)
{
    const std::string text = crlf_text(lines);
    for (;;) {
        Run_log_outcome outcome;
        outcome.path = run_log_path(app_dir, local_now());
        bool taken = false;
        outcome.failure = write_text(outcome.path, text, Existing::keep, &taken);
        if (!taken) return outcome;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

}  // namespace vantel
