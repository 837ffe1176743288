// The four MNIST-10 files are read record by record into the datasets, the
// T-pattern after them.
#include "engine/datasets.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/sha256.h"
#include "base/text_file.h"
#include "engine/mnist_layout.h"

namespace vantel {

namespace {

constexpr int Pixel_bytes = Image_side * Image_side;

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
        size_ = static_cast<std::uint64_t>(info.st_size);
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

    // A file whose header or size differs from the layout is refused before
    // any record is read: records at fixed offsets of a file of another
    // layout would be wrong data that nothing else notices.
    void require(const Mnist_layout& layout)
    {
        std::uint8_t header[16] = {};
        const std::size_t wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>({layout.header_bytes, size_, sizeof header}));
        const std::size_t got = fill(0, header, wanted);
        const std::string problem = mnist_file_problem(layout, path_, std::span(header, got), size_);
        if (!problem.empty()) throw Vantel_error(problem);
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
    std::uint64_t size_ = 0;
    std::vector<std::uint8_t> window_;
    std::uint64_t window_start_ = 0;
    std::size_t window_filled_ = 0;
};

// Whatever way the loading ends, anything derived from the tables is stale.
class Changing_scope {
public:
    explicit Changing_scope(Pattern_datasets& datasets) : datasets_(datasets) { mark_datasets_changed(datasets_); }
    ~Changing_scope() { mark_datasets_changed(datasets_); }
    Changing_scope(const Changing_scope&) = delete;
    Changing_scope& operator=(const Changing_scope&) = delete;

private:
    Pattern_datasets& datasets_;
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
        throw Vantel_error("Label " + std::to_string(label) + " of record " + std::to_string(record) + " in \"" +
                           file.path() + "\" is outside 0..9");
    return label;
}

void report(const Load_progress& progress, const char* stage, int record)
{
    if (progress) progress(stage, record);
}

// `stage`: the training file reports every 1000th record, the test file
// once before it is read.
void load_images(Record_file& file, std::uint8_t (*images)[Record_bytes], int count, const char* stage,
                 bool each_thousand, const Load_progress& progress)
{
    if (!each_thousand) report(progress, stage, 0);
    const Mnist_layout layout = images_layout(count);
    file.require(layout);
    std::uint8_t bytes[Pixel_bytes];
    for (int k = 1; k <= count; ++k) {
        file.read_at(layout.header_bytes + static_cast<std::uint64_t>(k - 1) * Pixel_bytes, bytes, Pixel_bytes);
        store_transposed(bytes, images[k]);
        if (each_thousand && k % 1000 == 0) report(progress, stage, k);
    }
}

}  // namespace

void load_mnist(Pattern_datasets& d, const std::string& folder, const Load_progress& progress)
{
    const Changing_scope changing(d);
    reset_tables(d);
    {
        Record_file file(folder + Train_images_file);
        load_images(file, d.Train_images, Train_count, "Training Data", true, progress);
    }
    {
        Record_file file(folder + Train_labels_file);
        const Mnist_layout layout = labels_layout(Train_count);
        file.require(layout);
        for (int k = 1; k <= Train_count; ++k) {
            std::uint8_t label = 0;
            file.read_at(layout.header_bytes + static_cast<std::uint64_t>(k - 1), &label, 1);
            d.Train_targets[k][checked_label(label, k, file)] = 1.0;
            if (k % 1000 == 0) report(progress, "Training Label", k);
        }
    }
    {
        Record_file file(folder + Test_images_file);
        load_images(file, d.Test_images, Test_count, "Test Data", false, progress);
    }
    {
        Record_file file(folder + Test_labels_file);
        report(progress, "Test Label", 0);
        const Mnist_layout layout = labels_layout(Test_count);
        file.require(layout);
        for (int k = 1; k <= Test_count; ++k) {
            std::uint8_t label = 0;
            file.read_at(layout.header_bytes + static_cast<std::uint64_t>(k - 1), &label, 1);
            d.Test_labels[k] = checked_label(label, k, file);
        }
    }
}

std::string mnist_fingerprint(const std::string& folder)
{
    Sha256 hash;
    std::vector<char> piece(1 << 20);
    for (const char* name : {Train_images_file, Train_labels_file, Test_images_file, Test_labels_file}) {
        const std::string path = folder + name;
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) throw Vantel_error(path + ": cannot be read: " + std::strerror(errno));
        std::size_t got = 0;
        while ((got = std::fread(piece.data(), 1, piece.size(), file)) > 0) hash.update(piece.data(), got);
        const bool failed = std::ferror(file) != 0;
        std::fclose(file);
        if (failed) throw Vantel_error(path + ": Stream read error");
    }
    return hash.hex_digest();
}

std::string mnist_fingerprint_warning(const std::string& fingerprint, const std::string& folder)
{
    if (fingerprint == Published_mnist_sha256) return {};
    return "the MNIST-10 files of " + folder + " are not the published ones (SHA-256 " + fingerprint +
           "): values computed with them differ from everyone else's";
}

T_pattern_report load_t_pattern(Pattern_datasets& d, const std::string& path)
{
    std::string text = load_text_file(path);
    const Changing_scope changing(d);
    T_pattern_report report = read_t_pattern(std::move(text), d.T_pattern_table);
    if (const std::string error = t_pattern_error(report, path); !error.empty()) throw Vantel_error(error);
    return report;
}

}  // namespace vantel
