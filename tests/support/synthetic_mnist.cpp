#include "support/synthetic_mnist.h"

#include <filesystem>

#include <gtest/gtest.h>

namespace vantel::test {

namespace fs = std::filesystem;

std::string identity_t_pattern()
{
    std::string text = "784\r\n";
    for (int m = 1; m <= 784; ++m)
        text += std::to_string((m - 1) % 28 + 1) + " " + std::to_string((m - 1) / 28 + 1) + "\r\n";
    return text;
}

std::string idx_header(bool images, std::uint32_t count)
{
    std::string header;
    const auto field = [&header](std::uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8) header += char((value >> shift) & 0xFF);
    };
    field(images ? 2051 : 2049);
    field(count);
    if (images) {
        field(28);
        field(28);
    }
    return header;
}

Synthetic_files::Synthetic_files()
{
    const auto record = [](int k) { return 16 + std::size_t(k - 1) * 784; };
    std::string images = idx_header(true, 60000);
    images.resize(16 + 60000 * 784, '\0');
    images[record(1) + 0] = 33;
    images[record(1) + 1] = 11;    // row 1, column 2
    images[record(1) + 28] = 22;   // row 2, column 1
    images[record(1) + 783] = 44;  // row 28, column 28
    images[record(Marked_train) + 2 * 28 + 4] = 77;
    images[record(60000) + 783] = 99;
    dir.write("MNIST_10/train-images.idx3-ubyte", images);

    train_labels = idx_header(false, 60000);
    for (int k = 1; k <= 60000; ++k) train_labels += char(k % 10);
    dir.write("MNIST_10/train-labels.idx1-ubyte", train_labels);

    std::string test_images = idx_header(true, 10000);
    test_images.resize(16 + 10000 * 784, '\0');
    test_images[record(1)] = 66;
    test_images[record(10000) + 1] = 55;
    dir.write("MNIST_10/t10k-images.idx3-ubyte", test_images);

    std::string test_labels = idx_header(false, 10000);
    for (int k = 1; k <= 10000; ++k) test_labels += char(k * 3 % 10);
    dir.write("MNIST_10/t10k-labels.idx1-ubyte", test_labels);

    dir.write("T_pattern/T-pattern-3.VM", identity_t_pattern());
}

const Synthetic_files& synthetic()
{
    static const Synthetic_files files;
    return files;
}

void link_mnist(const Temp_dir& dir, const std::string& except)
{
    fs::create_directories(dir.path() / "MNIST_10");
    for (const auto& name : Mnist_names)
        if (name != except) fs::create_symlink(synthetic().mnist + name, dir.path() / "MNIST_10" / name);
}

void prepare(Test_program& program, const std::string& app, const std::string& path_line)
{
    program.session.executable_dir = app;
    program.state->run.App_dir = app;
    program.state->datasets.Datasets_pending = true;
    program.window.set_lines(Control::Memo3, {"100", "20", "AUTO=NO", "METHOD=5", "N=19625", path_line});
}

void expect_failed_load(const Test_program& program, const std::string& shown_error)
{
    EXPECT_EQ(program.window.errors, std::vector<std::string>{shown_error});
    EXPECT_TRUE(program.state->datasets.Datasets_pending);
    EXPECT_FALSE(program.window.enabled(Control::Button_Step_2));
    EXPECT_FALSE(program.session.flags.Datasets_loading);
}

}  // namespace vantel::test
