// Step 2: reads the four MNIST-10 files record by record into Engine_state
// and the T-pattern after them, once per process.
#include "engine/datasets.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/t_pattern_reader.h"

namespace vantel {

namespace {

constexpr int Pixel_bytes = Image_side * Image_side;
constexpr std::uint64_t Image_header = 16;
constexpr std::uint64_t Label_header = 8;
constexpr const char* T_pattern_file = "T_pattern/T-pattern-3.VM";
// The name as the user knows it from the program's messages.
constexpr const char* T_pattern_shown = "T_pattern\\T-pattern-3.VM";

// A binary file read as records at fixed offsets. Every read positions the
// file and takes exactly the bytes asked for; a window of the file is kept
// in memory so that the 60000 small reads of a file do not each cost a
// system call. The window is allocated once per file, never per record.
class Record_file {
public:
    explicit Record_file(const std::string& path) : path_(path)
    {
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0) throw cannot_open_error(path, errno);
        struct stat info {};
        const int error = ::fstat(fd_, &info) != 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : 0;
        if (error != 0) {
            ::close(fd_);
            throw cannot_open_error(path, error);
        }
        window_.resize(Window_bytes);
    }
    ~Record_file() { ::close(fd_); }
    Record_file(const Record_file&) = delete;
    Record_file& operator=(const Record_file&) = delete;

    void read_at(std::uint64_t offset, std::uint8_t* into, std::size_t count)
    {
        if (offset < window_start_ || offset + count > window_start_ + window_filled_) {
            window_start_ = offset;
            window_filled_ = fill(offset, window_.data(), window_.size());
            if (window_filled_ < count) throw Vantel_error("Stream read error");
        }
        std::memcpy(into, window_.data() + (offset - window_start_), count);
    }

    const std::string& path() const { return path_; }

private:
    static constexpr std::size_t Window_bytes = 1 << 20;

    std::size_t fill(std::uint64_t offset, std::uint8_t* into, std::size_t wanted)
    {
        std::size_t got = 0;
        while (got < wanted) {
            const ssize_t n = ::pread(fd_, into + got, wanted - got, static_cast<off_t>(offset + got));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) throw Vantel_error("Stream read error");
            if (n == 0) break;
            got += static_cast<std::size_t>(n);
        }
        return got;
    }

    std::string path_;
    int fd_ = -1;
    std::vector<std::uint8_t> window_;
    std::uint64_t window_start_ = 0;
    std::size_t window_filled_ = 0;
};

// Whatever way step 2 ends, a later load may start again, and anything
// derived from the images or the T-pattern must be rebuilt.
class Loading_scope {
public:
    explicit Loading_scope(Session& session) : session_(session)
    {
        session_.flags.Datasets_loading = true;
    }
    ~Loading_scope()
    {
        session_.flags.Datasets_loading = false;
        ++session_.datasets().Generation;
    }
    Loading_scope(const Loading_scope&) = delete;
    Loading_scope& operator=(const Loading_scope&) = delete;

private:
    Session& session_;
};

void reset_tables(Pattern_datasets& d)
{
    for (int k = 1; k <= Train_count; ++k) {
        d.Train_images[k][0] = 1;
        std::fill(d.Train_images[k] + 1, d.Train_images[k] + Record_bytes, std::uint8_t{0});
        std::fill(d.Train_targets[k], d.Train_targets[k] + Outputs, 0.0);
    }
    for (int k = 1; k <= Test_count; ++k) {
        d.Test_images[k][0] = 1;
        std::fill(d.Test_images[k] + 1, d.Test_images[k] + Record_bytes, std::uint8_t{0});
        d.Test_labels[k] = 0;
    }
}

// The file holds the image row by row; the record holds it column by column.
void store_transposed(const std::uint8_t (&file_bytes)[Pixel_bytes], std::uint8_t* record)
{
    for (int r = 1; r <= Image_side; ++r)
        for (int c = 1; c <= Image_side; ++c)
            record[Image_side * (c - 1) + r] = file_bytes[(r - 1) * Image_side + (c - 1)];
}

// Labels index the ten targets and outputs; any other byte is a damaged file.
std::uint8_t checked_label(std::uint8_t label, int record, const Record_file& file)
{
    if (label > 9)
        throw Vantel_error("Label " + std::to_string(label) + " of record " + std::to_string(record) +
                           " in \"" + file.path() + "\" is outside 0..9");
    return label;
}

void show_training_progress(Session& s, const char* caption, int k)
{
    s.window.set_text(Control::Label_load_status, caption);
    s.window.set_progress((k + Train_count / 200) / (Train_count / 100));  // nearest to k / 600
    s.window.pump();
}

// progress_caption: the training file shows its progress, the test file does not.
void load_images(Session& s, Record_file& file, std::uint8_t (*images)[Record_bytes], int count,
                 const char* progress_caption)
{
    std::uint8_t bytes[Pixel_bytes];
    for (int k = 1; k <= count; ++k) {
        file.read_at(Image_header + static_cast<std::uint64_t>(k - 1) * Pixel_bytes, bytes, Pixel_bytes);
        store_transposed(bytes, images[k]);
        if (progress_caption && k % 1000 == 0) show_training_progress(s, progress_caption, k);
    }
}

void load_t_pattern(Session& s)
{
    auto& d = s.datasets();
    const std::string path =
        s.t_pattern_file.empty() ? s.state.run.App_dir + T_pattern_file : s.t_pattern_file;
    std::error_code ignored;
    const auto status = std::filesystem::status(path, ignored);
    if (!std::filesystem::exists(status) || std::filesystem::is_directory(status)) {
        s.window.message(std::string("No File ") + T_pattern_shown);
        return;
    }
    const T_pattern_report report = read_t_pattern(load_text_file(path), d.T_pattern_table);
    ++d.Generation;
    const std::string warning = t_pattern_warning(report, T_pattern_shown);
    if (!warning.empty()) s.window.message(warning);
}

}  // namespace

std::string mnist_folder(const Session& s)
{
    const std::string line = init_line(s, 5);
    if (line == "Path=") return s.state.run.App_dir + "MNIST_10/";
    std::string folder;
    const std::string prefix = "Path=";
    std::size_t from = 0;
    for (std::size_t at; (at = line.find(prefix, from)) != std::string::npos; from = at + prefix.size())
        folder.append(line, from, at - from);
    folder.append(line, from, std::string::npos);
    return folder;
}

void Button_Step_2Click(Session& s)
{
    auto& d = s.datasets();
    if (!d.Datasets_pending) return;
    // The load pumps messages; a START meanwhile must not run a second load
    // inside this one over the same tables.
    if (s.flags.Datasets_loading) {
        s.window.message(Datasets_loading_message);
        return;
    }
    Loading_scope loading(s);

    s.window.set_enabled(Control::Button_Step_2, false);
    s.step_pause();

    reset_tables(d);
    ++d.Generation;

    d.Mnist_dir = mnist_folder(s);

    {
        Record_file file(d.Mnist_dir + "train-images.idx3-ubyte");
        load_images(s, file, d.Train_images, Train_count, "Training Data");
    }

    {
        Record_file file(d.Mnist_dir + "train-labels.idx1-ubyte");
        for (int k = 1; k <= Train_count; ++k) {
            std::uint8_t label = 0;
            file.read_at(Label_header + static_cast<std::uint64_t>(k - 1), &label, 1);
            d.Train_targets[k][checked_label(label, k, file)] = 1.0;
            if (k % 1000 == 0) show_training_progress(s, "Training Label", k);
        }
    }

    {
        Record_file file(d.Mnist_dir + "t10k-images.idx3-ubyte");
        s.window.set_text(Control::Label_load_status, "Test Data");
        s.window.pump();
        load_images(s, file, d.Test_images, Test_count, nullptr);
    }

    {
        Record_file file(d.Mnist_dir + "t10k-labels.idx1-ubyte");
        s.window.set_text(Control::Label_load_status, "Test Label");
        s.window.pump();
        for (int k = 1; k <= Test_count; ++k) {
            std::uint8_t label = 0;
            file.read_at(Label_header + static_cast<std::uint64_t>(k - 1), &label, 1);
            d.Test_labels[k] = checked_label(label, k, file);
        }
    }

    s.window.set_text(Control::Label_load_status, "Load T_pattern");
    s.window.pump();
    load_t_pattern(s);

    s.window.set_enabled(Control::Button_Step_2, true);
    d.Datasets_pending = false;
}

}  // namespace vantel
