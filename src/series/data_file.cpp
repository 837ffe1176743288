#include "series/data_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/error.h"
#include "base/line_splitter.h"

namespace vantel {

namespace {

[[noreturn]] void too_many_lines(std::string_view name, std::size_t max_lines)
{
    throw Vantel_error("File \"" + std::string(name) + "\" has too many lines: a data file may hold at most " +
                       std::to_string(max_lines) + " lines");
}

[[noreturn]] void too_large(std::string_view name)
{
    throw Vantel_error("File \"" + std::string(name) +
                       "\" is too large: a data file may hold at most " +
                       std::to_string(Max_data_file_bytes) + " bytes (1 GiB)");
}

[[noreturn]] void line_too_long(std::string_view name, std::size_t line)
{
    throw Vantel_error("File \"" + std::string(name) + "\" line " + std::to_string(line) +
                       " is too long: a line of a data file may hold at most " +
                       std::to_string(Max_data_line_bytes) + " bytes (16 MiB)");
}

void refuse_data_line(Line_limit which, std::string_view name, std::size_t number)
{
    if (which == Line_limit::lines) too_many_lines(name, number);
    line_too_long(name, number);
}

// The splitter of data files; see split_data_text.
Line_splitter data_splitter(std::size_t max_lines, std::string_view name)
{
    Line_options options;
    options.max_lines = max_lines;
    options.max_line_bytes = Max_data_line_bytes;
    options.nul_ends_text = true;
    options.skip_byte_order_mark = true;
    options.refuse = refuse_data_line;
    options.name = name;
    return Line_splitter(options);
}

class File_descriptor {
public:
    explicit File_descriptor(int fd) : fd_(fd) {}
    ~File_descriptor()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    File_descriptor(const File_descriptor&) = delete;
    File_descriptor& operator=(const File_descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// One read(), again when a signal interrupts it; 0 at the end of the file.
std::size_t read_some(int fd, char* buffer, std::size_t size, const std::string& name)
{
    for (;;) {
        const ssize_t got = ::read(fd, buffer, size);
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno == EINTR) continue;
        const int reason = errno;
        throw Vantel_error("Cannot read file \"" + name + "\". " + std::strerror(reason));
    }
}

Data_text read_text(int fd, const std::string& name, std::size_t chunk_bytes)
{
    // A regular file over the limit is refused before anything is read.
    struct stat info {};
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (regular && static_cast<std::uint64_t>(info.st_size) > Max_data_file_bytes) too_large(name);

    Line_splitter splitter = data_splitter(Max_data_file_lines, name);
    // A small file needs no buffer of full size.
    std::size_t chunk_size = chunk_bytes > 0 ? chunk_bytes : 1;
    if (regular && static_cast<std::uint64_t>(info.st_size) < chunk_size)
        chunk_size = static_cast<std::size_t>(info.st_size) + 1;

    // The first bytes are gathered whole before any is split: a NUL byte
    // among them ends the text but must not hide what the file is. They are
    // still split in pieces of the read size.
    Data_text text;
    char head[Text_kind_head_bytes];
    std::size_t head_size = 0;
    while (head_size < sizeof head) {
        const std::size_t wanted = std::min(chunk_size, sizeof head - head_size);
        const std::size_t got = read_some(fd, head + head_size, wanted, name);
        if (got == 0) break;
        head_size += got;
    }
    text.kind = text_kind_of(std::string_view(head, head_size));
    bool going = true;
    for (std::size_t at = 0; going && at < head_size; at += chunk_size)
        going = splitter.feed(std::string_view(head + at, std::min(chunk_size, head_size - at)));

    if (going && head_size == sizeof head) {
        const std::unique_ptr<char[]> chunk(new char[chunk_size]);
        std::uint64_t total = head_size;
        for (;;) {
            const std::size_t got = read_some(fd, chunk.get(), chunk_size, name);
            if (got == 0) break;
            const std::string_view piece(chunk.get(), got);
            // Files that are not regular (or that grow) are held to the limit by
            // the bytes actually read; reading stops at a NUL byte.
            if (!splitter.feed(piece)) break;
            total += piece.size();
            if (total > Max_data_file_bytes) too_large(name);
        }
    }
    text.lines = splitter.finish();
    text.nul_line = splitter.nul_line();
    return text;
}

}  // namespace

std::string full_path(const std::string& path)
{
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

std::vector<std::string> split_data_text(std::string_view bytes, std::size_t max_lines, std::string_view name)
{
    return examine_data_text(bytes, max_lines, name).lines;
}

Data_text examine_data_text(std::string_view bytes, std::size_t max_lines, std::string_view name)
{
    Data_text text;
    text.kind = text_kind_of(bytes.substr(0, Text_kind_head_bytes));
    Line_splitter splitter = data_splitter(max_lines, name);
    splitter.feed(bytes);
    text.lines = splitter.finish();
    text.nul_line = splitter.nul_line();
    return text;
}

std::vector<std::string> read_data_file(const std::string& path, std::size_t chunk_bytes)
{
    return read_data_text(path, chunk_bytes).lines;
}

Data_text read_data_text(const std::string& path, std::size_t chunk_bytes)
{
    const std::string name = full_path(path);
    File_descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        const int reason = errno;
        throw Vantel_error("Cannot open file \"" + name + "\". " + std::strerror(reason));
    }
    // Within the limits a file can still outgrow the memory of a small
    // machine; what was read so far is freed on the way out.
    try {
        return read_text(file.get(), name, chunk_bytes);
    } catch (const std::bad_alloc&) {
        throw Vantel_error("File \"" + name + "\" does not fit into the memory available");
    }
}

std::int32_t column_count(std::string_view line)
{
    std::int64_t tabs = 0;
    std::size_t last_tab = std::string_view::npos;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\t') {
            ++tabs;
            last_tab = i;
        }
    }
    std::int64_t count;
    if (tabs == 0)
        count = line.empty() ? 0 : 1;
    else
        count = last_tab + 1 < line.size() ? tabs + 1 : tabs;
    // A line of a data file (16 MiB at most) has fewer tabs than INT32_MAX.
    return static_cast<std::int32_t>(count);
}

std::string_view field_text(std::string_view line, std::int32_t column)
{
    const std::size_t length = line.size();
    if (length == 0) return "0";
    const std::int64_t c = column;
    std::int64_t tabs = 0;
    std::size_t a = 0;  // 1-based position of the tab before the field, 0 for none
    std::size_t e = 0;  // 1-based position of the tab after the field, 0 for none
    for (std::size_t p = 1; p <= length; ++p) {
        if (line[p - 1] != '\t') continue;
        ++tabs;
        if (tabs == c) e = p;
        if (tabs == c - 1) a = p;
        if (e != 0) break;
    }
    if (e == 0) e = length + 1;
    // Characters a + 1 .. e - 1 (1-based), i.e. from index a, e - 1 - a long.
    return line.substr(a, e - 1 - a);
}

}  // namespace vantel
