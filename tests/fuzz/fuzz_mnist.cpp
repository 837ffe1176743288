// Step 2 over damaged MNIST-10 files: each of the four is missing, a folder,
// short, of about the published size with the published header, of any size,
// or of the published size with one header field changed, with fuzzed bytes
// at its start (after the header, where it has the published one) and at its
// end (the rest reads as zeros), followed by a fuzzed T-pattern file. The
// outcome is known in advance from the files: the first damaged file ends
// the load with its own message, and only a load without error marks the
// datasets as loaded, with one label per training image.
//
// Input, as FuzzedDataProvider takes it: for each file in turn its shape
// (one byte from the end), its head and tail (strings from the front, each
// ended by a backslash and another character) and, for the shapes that need
// them, its size or the changed field and its value (bytes from the end);
// then one byte from the end that says whether the T-pattern exists, and the
// rest of the front is its text.
#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "app/handlers.h"
#include "model/memory_window.h"
#include "model/session.h"
#include "engine/t_pattern_reader.h"
#include "fuzz_support.h"

namespace {

using namespace vantel;
namespace fs = std::filesystem;

struct Mnist_file {
    const char* name;
    std::uint32_t magic;
    std::uint64_t header;
    std::uint64_t record;
    std::uint64_t count;
    bool labels;
    std::uint64_t size() const { return header + record * count; }
};

constexpr std::array<Mnist_file, 4> Files = {{
    {"train-images.idx3-ubyte", 2051, 16, 784, Train_count, false},
    {"train-labels.idx1-ubyte", 2049, 8, 1, Train_count, true},
    {"t10k-images.idx3-ubyte", 2051, 16, 784, Test_count, false},
    {"t10k-labels.idx1-ubyte", 2049, 8, 1, Test_count, true},
}};

enum class Shape { missing, folder, short_file, near_full, any_size, changed_field, last = changed_field };

void put_big_endian(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (24 - 8 * i));
}

std::string published_header(const Mnist_file& file)
{
    std::string header(file.header, '\0');
    put_big_endian(header, 0, file.magic);
    put_big_endian(header, 4, static_cast<std::uint32_t>(file.count));
    if (!file.labels) {
        put_big_endian(header, 8, Image_side);
        put_big_endian(header, 12, Image_side);
    }
    return header;
}

struct Planned_file {
    Shape shape = Shape::missing;
    std::string start;  // the first bytes: the header, when the shape keeps one, then the head
    std::string tail;   // the last bytes, written over the start where they meet
    std::uint64_t size = 0;

    unsigned char byte_at(std::uint64_t offset) const
    {
        if (tail.size() <= size && offset >= size - tail.size()) return tail[offset - (size - tail.size())];
        if (offset < start.size()) return start[offset];
        return 0;
    }
};

Planned_file plan(FuzzedDataProvider& input, const Mnist_file& file)
{
    Planned_file p;
    p.shape = static_cast<Shape>(input.ConsumeIntegralInRange<int>(0, static_cast<int>(Shape::last)));
    std::string head = input.ConsumeRandomLengthString(2048);
    p.tail = input.ConsumeRandomLengthString(64);
    const auto full = static_cast<std::int64_t>(file.size());
    const auto record = static_cast<std::int64_t>(file.record);
    switch (p.shape) {
    case Shape::short_file:
        p.start = head;
        p.size = std::min<std::uint64_t>(head.size(), file.size() - 1);
        p.tail.clear();
        break;
    case Shape::near_full:
        p.start = published_header(file) + head;
        p.size = static_cast<std::uint64_t>(
            std::max<std::int64_t>(0, full + input.ConsumeIntegralInRange<std::int64_t>(-2 * record, record)));
        break;
    case Shape::any_size:
        p.start = head;
        p.size = input.ConsumeIntegralInRange<std::uint64_t>(0, file.size() + file.record);
        break;
    case Shape::changed_field: {
        p.start = published_header(file) + head;
        const auto fields = static_cast<int>(file.header / 4);
        const int field = input.ConsumeIntegralInRange<int>(0, fields - 1);
        put_big_endian(p.start, 4 * static_cast<std::size_t>(field), input.ConsumeIntegral<std::uint32_t>());
        p.size = file.size();
        break;
    }
    default:
        break;
    }
    return p;
}

void lay_out(const std::string& path, const Planned_file& p)
{
    if (p.shape == Shape::missing) return;
    if (p.shape == Shape::folder) {
        fs::create_directories(path);
        return;
    }
    fuzz::write_file(path, p.start, p.size);
    if (p.tail.size() <= p.size) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        FUZZ_CHECK(fd >= 0);
        FUZZ_CHECK(::pwrite(fd, p.tail.data(), p.tail.size(), static_cast<off_t>(p.size - p.tail.size())) ==
                   static_cast<ssize_t>(p.tail.size()));
        ::close(fd);
    }
}

std::uint32_t field_at(const Planned_file& p, std::uint64_t offset)
{
    std::uint32_t value = 0;
    for (std::uint64_t i = 0; i < 4; ++i) value = value << 8 | p.byte_at(offset + i);
    return value;
}

// What is wrong with the file's header or size, or empty: the header's
// fields in their order, then the size.
std::string layout_problem(const Mnist_file& file, const Planned_file& p)
{
    const std::string kind = file.labels ? "labels" : "images";
    const std::string expected_size = std::to_string(file.size());
    if (p.size >= file.header) {
        const std::uint32_t magic = field_at(p, 0);
        if (magic != file.magic)
            return "its header says " + std::to_string(magic) + " where " + (file.labels ? "a labels" : "an images") +
                   " file says " + std::to_string(file.magic);
        const std::uint32_t count = field_at(p, 4);
        if (count != file.count)
            return "its header counts " + std::to_string(count) + " " + kind + ", " + std::to_string(file.count) +
                   " expected";
        if (!file.labels && (field_at(p, 8) != 28 || field_at(p, 12) != 28))
            return "its header says images of " + std::to_string(field_at(p, 8)) + " rows and " +
                   std::to_string(field_at(p, 12)) + " columns, 28 and 28 expected";
    }
    if (p.size != file.size()) return "it holds " + std::to_string(p.size) + " bytes, " + expected_size + " expected";
    return {};
}

// The message the first damaged file must give, or empty for a sound file.
// The header and the size are checked before any record is read; then the
// labels one at a time.
std::string expected_error(const std::string& path, const Mnist_file& file, const Planned_file& p)
{
    if (p.shape == Shape::missing) return "Cannot open file \"" + path + "\". No such file or directory.";
    if (p.shape == Shape::folder) return "Cannot open file \"" + path + "\". Is a directory.";
    if (const std::string problem = layout_problem(file, p); !problem.empty())
        return "\"" + path + "\" is not an MNIST-10 " + (file.labels ? "labels" : "images") + " file of " +
               std::to_string(file.count) + (file.labels ? " labels: " : " images: ") + problem + ".";
    if (!file.labels) return "";
    for (std::uint64_t k = 1; k <= file.count; ++k) {
        const std::uint64_t offset = file.header + k - 1;
        // Only the start and the tail can hold anything but 0.
        if (offset >= p.start.size() && offset + p.tail.size() < p.size) {
            k = p.size - p.tail.size() - file.header;  // on to the tail
            continue;
        }
        const unsigned label = p.byte_at(offset);
        if (label > 9)
            return "Label " + std::to_string(label) + " of record " + std::to_string(k) + " in \"" + path +
                   "\" is outside 0..9.";
    }
    return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const auto state = std::make_unique<Program_state>();
    const std::string app = fuzz::scratch_dir();
    const std::string mnist = app + "MNIST/";
    std::error_code ignored;
    fs::remove_all(mnist, ignored);
    fs::remove_all(app + "T_pattern", ignored);
    fs::create_directories(mnist);

    FuzzedDataProvider input(data, size);
    std::string expected;
    for (const Mnist_file& file : Files) {
        const std::string path = mnist + file.name;
        const Planned_file planned = plan(input, file);
        lay_out(path, planned);
        if (expected.empty()) expected = expected_error(path, file, planned);
    }
    const bool t_pattern_present = input.ConsumeBool();
    const std::string t_pattern = input.ConsumeRemainingBytesAsString();
    if (t_pattern_present) {
        fs::create_directories(app + "T_pattern");
        fuzz::write_file(app + "T_pattern/T-pattern-3.VM", t_pattern);
        if (expected.empty()) {
            T_pair scratch[Last_input + 1];
            const std::string error = t_pattern_error(read_t_pattern(t_pattern, scratch), app + "T_pattern/T-pattern-3.VM");
            if (!error.empty()) expected = error_display_text(error);
        }
    }

    Memory_window window;
    Session session(*state, window);
    session.timings = {0, 0};
    session.executable_dir = app;
    state->run.App_dir = app;
    state->datasets.Datasets_pending = true;
    install_handlers(session);
    window.set_lines(Control::Memo3, {"100", "20", "AUTO=NO", "METHOD=5", "N=19625", "Path=" + mnist});
    session.click(Control::Button_Step_2);

    const auto& d = state->datasets;
    FUZZ_CHECK(d.Mnist_dir == mnist);
    if (!expected.empty()) {
        FUZZ_CHECK(window.errors == std::vector<std::string>{expected});
        FUZZ_CHECK(d.Datasets_pending);
        FUZZ_CHECK(!window.enabled(Control::Button_Step_2));
        return 0;
    }
    FUZZ_CHECK(window.errors.empty());
    FUZZ_CHECK(!d.Datasets_pending);
    FUZZ_CHECK(window.enabled(Control::Button_Step_2));
    if (!t_pattern_present) {
        FUZZ_CHECK(window.messages == std::vector<std::string>{"No File T_pattern\\T-pattern-3.VM"});
    } else {
        // The T-pattern's warning names the file as step 2 opened it.
        T_pair scratch[Last_input + 1];
        const std::string warning = t_pattern_warning(read_t_pattern(t_pattern, scratch),
                                                      app + "T_pattern/T-pattern-3.VM", T_pattern_use::window_goes_on);
        FUZZ_CHECK(window.messages == (warning.empty() ? std::vector<std::string>{} : std::vector{warning}));
    }
    for (int k = 1; k <= Train_count; ++k) {
        FUZZ_CHECK(d.Train_images[k][0] == 1);
        FUZZ_CHECK(std::count(d.Train_targets[k], d.Train_targets[k] + Outputs, 1.0) == 1);
        FUZZ_CHECK(std::count(d.Train_targets[k], d.Train_targets[k] + Outputs, 0.0) == Outputs - 1);
    }
    for (int k = 1; k <= Test_count; ++k) FUZZ_CHECK(d.Test_labels[k] <= 9 && d.Test_images[k][0] == 1);
    return 0;
}
