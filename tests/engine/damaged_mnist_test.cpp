// Step 2 over MNIST-10 files whose header or size is not the published one:
// each is refused, before any of its records is read, with a message that
// names the file and gives what was found and what was expected.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/datasets.h"
#include "engine/vantel.h"
#include "support/synthetic_mnist.h"

namespace vantel::test {
namespace {

namespace fs = std::filesystem;

struct Damaged_file {
    std::string name;          // which of the four files
    std::size_t at;            // where `bytes` replace those of the published header
    std::string bytes;
    std::uint64_t size;        // the damaged file's size
    std::string found;         // the message after the file's name
};

constexpr std::uint64_t Train_images_size = 16 + 60000ull * 784;
constexpr std::uint64_t Train_labels_size = 8 + 60000;
constexpr std::uint64_t Test_images_size = 16 + 10000ull * 784;
constexpr std::uint64_t Test_labels_size = 8 + 10000;

const char* const Train_images = "train-images.idx3-ubyte";
const char* const Train_labels = "train-labels.idx1-ubyte";
const char* const Test_images = "t10k-images.idx3-ubyte";
const char* const Test_labels = "t10k-labels.idx1-ubyte";

// The published header with `bytes` written at `at`, then zeros up to the
// size: the records of a refused file are never read.
std::string write_damaged(const Temp_dir& folder, const Damaged_file& d)
{
    const bool images = d.name.find("images") != std::string::npos;
    std::string header = idx_header(images, d.name.starts_with("train") ? 60000 : 10000);
    header.replace(d.at, d.bytes.size(), d.bytes);
    if (header.size() > d.size) header.resize(d.size);
    const std::string path = folder.write("MNIST_10/" + d.name, header);
    fs::resize_file(path, d.size);
    return path;
}

TEST(Datasets_damaged, each_file_with_another_header_or_size_is_named_with_what_was_found)
{
    const std::string train_images = " is not an MNIST-10 images file of 60000 images: ";
    const std::string train_labels = " is not an MNIST-10 labels file of 60000 labels: ";
    const std::string test_images = " is not an MNIST-10 images file of 10000 images: ";
    const std::string test_labels = " is not an MNIST-10 labels file of 10000 labels: ";
    const std::vector<Damaged_file> cases = {
        // Cut short, one byte too long, a labels file of another length.
        {Train_images, 0, "", Train_images_size - 1, train_images + "it holds 47040015 bytes, 47040016 expected"},
        {Test_images, 0, "", Test_images_size - 784, test_images + "it holds 7839232 bytes, 7840016 expected"},
        {Train_labels, 0, "", Train_labels_size + 1, train_labels + "it holds 60009 bytes, 60008 expected"},
        {Train_labels, 0, "", 59999, train_labels + "it holds 59999 bytes, 60008 expected"},
        {Test_labels, 0, "", Train_labels_size, test_labels + "it holds 60008 bytes, 10008 expected"},
        // Shorter than a header, and empty.
        {Test_labels, 0, "", 5, test_labels + "it holds 5 bytes, 10008 expected"},
        {Test_images, 0, "", 0, test_images + "it holds 0 bytes, 7840016 expected"},
        // The magic number of each file: the other kind's, the bytes reversed, another.
        {Train_images, 3, "\x01", Train_images_size, train_images + "its header says 2049 where an images file says 2051"},
        {Train_labels, 3, "\x03", Train_labels_size, train_labels + "its header says 2051 where a labels file says 2049"},
        {Test_images, 0, std::string("\x03\x08\x00\x00", 4), Test_images_size,
         test_images + "its header says 50855936 where an images file says 2051"},
        {Test_labels, 3, "\x02", Test_labels_size, test_labels + "its header says 2050 where a labels file says 2049"},
        // The count: the other set's, one less.
        {Test_images, 4, std::string("\x00\x00\xEA\x60", 4), Test_images_size,
         test_images + "its header counts 60000 images, 10000 expected"},
        {Train_labels, 7, "\x5F", Train_labels_size, train_labels + "its header counts 59999 labels, 60000 expected"},
        // Rows and columns.
        {Train_images, 11, "\x1B", Train_images_size,
         train_images + "its header says images of 27 rows and 28 columns, 28 and 28 expected"},
        {Test_images, 15, "\x20", Test_images_size,
         test_images + "its header says images of 28 rows and 32 columns, 28 and 28 expected"},
        // The header is read before the size.
        {Test_labels, 3, "\x03", Test_labels_size + 100, test_labels + "its header says 2051 where a labels file says 2049"},
    };
    for (const Damaged_file& d : cases) {
        SCOPED_TRACE(d.name + ": " + d.found);
        Temp_dir folder;
        link_mnist(folder, d.name);
        const std::string path = write_damaged(folder, d);
        Test_program program;
        prepare(program, synthetic().app, "Path=" + folder.path().string() + "/MNIST_10/");
        program.click(Control::Button_Step_2);
        expect_failed_load(program, "\"" + path + "\"" + d.found + ".");
    }
}

TEST(Datasets_damaged, a_refused_file_is_not_read_and_the_files_before_it_are)
{
    Temp_dir folder;
    link_mnist(folder, Test_images);
    const std::string path = write_damaged(folder, {Test_images, 3, "\x01", Test_images_size, ""});
    const std::string message =
        "\"" + path + "\" is not an MNIST-10 images file of 10000 images: its header says 2049 where an images "
        "file says 2051";
    Test_program program;
    prepare(program, synthetic().app, "Path=" + folder.path().string() + "/MNIST_10/");
    program.click(Control::Button_Step_2);
    expect_failed_load(program, message + ".");
    const auto& d = program.state->datasets;
    EXPECT_EQ(d.Train_images[1][29], 11);
    EXPECT_EQ(d.Train_targets[60000][0], 1.0);
    EXPECT_EQ(d.Test_images[1][0], 1);  // reset, and not read: it would be 66
    EXPECT_EQ(d.Test_images[1][1], 0);
    EXPECT_EQ(program.window.text(Control::Label_load_status), "Test Data");

    // The computation, and so the command, refuses it in the same words.
    std::string error;
    try {
        Datasets::load({folder.path().string() + "/MNIST_10", synthetic().app + "T_pattern/T-pattern-3.VM"});
    } catch (const Vantel_error& e) {
        error = e.what();
    }
    EXPECT_EQ(error, message);
}

}  // namespace
}  // namespace vantel::test
