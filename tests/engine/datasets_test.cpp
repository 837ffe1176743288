#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <numeric>

#include <gtest/gtest.h>

#include "base/program_folder.h"
#include "base/text_file.h"
#include "engine/input_vector.h"
#include "engine/datasets.h"
#include "engine/t_pattern_reader.h"
#include "support/synthetic_mnist.h"
#include "support/test_program.h"

namespace vantel::test {
namespace {

namespace fs = std::filesystem;

TEST(Datasets, loads_synthetic_files_transposed_with_one_hot_targets)
{
    Test_program program;
    prepare(program, synthetic().app, "Path=");
    const auto identity = program.state->datasets.Identity;
    program.click(Control::Button_Step_2);

    const auto& d = program.state->datasets;
    EXPECT_TRUE(program.window.errors.empty());
    EXPECT_TRUE(program.window.messages.empty());
    EXPECT_EQ(d.Mnist_dir, synthetic().mnist);
    EXPECT_FALSE(d.Datasets_pending);
    EXPECT_TRUE(program.window.enabled(Control::Button_Step_2));
    EXPECT_EQ(program.window.sleeps, 1);
    EXPECT_NE(d.Identity, identity);

    EXPECT_EQ(d.Train_images[1][0], 1);
    EXPECT_EQ(d.Train_images[1][1], 33);
    EXPECT_EQ(d.Train_images[1][29], 11);   // file byte 1: row 1, column 2
    EXPECT_EQ(d.Train_images[1][2], 22);    // file byte 28: row 2, column 1
    EXPECT_EQ(d.Train_images[1][784], 44);
    EXPECT_EQ(d.Train_images[Marked_train][28 * 4 + 3], 77);
    EXPECT_EQ(d.Train_images[60000][784], 99);
    EXPECT_EQ(d.Test_images[1][1], 66);
    EXPECT_EQ(d.Test_images[10000][29], 55);
    EXPECT_EQ(d.Test_images[10000][0], 1);
    int marked = 0;
    for (int k = 1; k <= 60000; ++k)
        for (int s = 1; s <= 784; ++s) marked += d.Train_images[k][s] != 0;
    EXPECT_EQ(marked, 6);

    for (int k = 1; k <= 60000; ++k) {
        const double* row = d.Train_targets[k];
        ASSERT_EQ(row[k % 10], 1.0) << "record " << k;
        ASSERT_EQ(std::accumulate(row, row + 10, 0.0), 1.0) << "record " << k;
    }
    for (int k = 1; k <= 10000; ++k) ASSERT_EQ(d.Test_labels[k], k * 3 % 10) << "record " << k;

    for (int m = 1; m <= 784; ++m) {
        ASSERT_EQ(d.T_pattern_table[m].row, (m - 1) % 28 + 1);
        ASSERT_EQ(d.T_pattern_table[m].column, (m - 1) / 28 + 1);
    }
}

// The T-pattern step with the synthetic MNIST files and a T-pattern file of
// the test's own (or none).
struct T_pattern_load {
    Temp_dir app;
    Test_program program;

    explicit T_pattern_load(const std::optional<std::string>& t_pattern)
    {
        if (t_pattern) app.write("T_pattern/T-pattern-3.VM", *t_pattern);
        prepare(program, app.path().string() + "/", "Path=" + synthetic().mnist);
    }
    void run(const std::string& expected_message)
    {
        program.window.expect_message(expected_message);
        program.click(Control::Button_Step_2);
        EXPECT_EQ(program.window.messages, std::vector<std::string>{expected_message});
    }
    // The T-pattern file as step 2 opens it, in quotes.
    std::string file() const { return "\"" + app.path().string() + "/T_pattern/T-pattern-3.VM\""; }
    std::array<double, 785> input_of_training_image(int k)
    {
        std::array<double, 785> Y{};
        build_input_vector(program.state->datasets, program.state->datasets.Train_images[k], Y.data());
        return Y;
    }
};

TEST(Datasets_t_pattern, missing_file_is_reported_and_step_2_completes)
{
    T_pattern_load load(std::nullopt);
    load.run(No_t_pattern);
    EXPECT_FALSE(load.program.state->datasets.Datasets_pending);
    EXPECT_TRUE(load.program.window.enabled(Control::Button_Step_2));
    EXPECT_EQ(load.program.state->datasets.T_pattern_table[784].row, 0);

    load.program.click(Control::Button_Step_2);  // never again in this process
    EXPECT_EQ(load.program.window.messages.size(), 1u);
}

TEST(Datasets_t_pattern, line_3_5_takes_row_3_column_5)
{
    T_pattern_load load("1 trailing words\n3 5 ignored\n");
    load.run(load.file() + " announces 1 pair instead of 784; the entries without a line "
                           "keep their previous value (0 before the first load)");
    const auto Y = load.input_of_training_image(Marked_train);
    EXPECT_EQ(Y[0], 1.0);
    EXPECT_EQ(Y[1], 77 / 255.0);
    EXPECT_EQ(Y[2], 0.0);  // no line: row 0, column 0 feeds 0
}

TEST(Datasets_t_pattern, first_line_outside_1_to_28_is_named_once)
{
    std::string text = identity_t_pattern();
    const auto replace_line = [&text](int line, const std::string& content) {
        std::size_t start = 0;
        for (int i = 1; i < line; ++i) start = text.find("\r\n", start) + 2;
        text.replace(start, text.find("\r\n", start) - start, content);
    };
    replace_line(7, "0 5");
    replace_line(9, "29 1");
    T_pattern_load load(text);
    load.run(load.file() + " line 7: row 0, column 5 is outside the image, whose rows and columns are 1..28; "
                           "the inputs of such entries will be 0");
    EXPECT_FALSE(load.program.state->datasets.Datasets_pending);
    // An entry outside the image reads no pixel: the top-left pixel is 33.
    EXPECT_EQ(load.input_of_training_image(1)[6], 0.0);
    EXPECT_EQ(load.input_of_training_image(1)[1], 33 / 255.0);
}

TEST(Datasets_t_pattern, short_file_reads_the_missing_numbers_as_0)
{
    T_pattern_load load("784\r\n1 1\r\n1 2\r\n2");
    load.run(load.file() + " ends after 2 of its 784 pairs; the missing numbers read as 0, so "
                           "the inputs of those entries will be 0");
    const auto& table = load.program.state->datasets.T_pattern_table;
    EXPECT_EQ(table[2].column, 2);
    EXPECT_EQ(table[3].row, 2);
    EXPECT_EQ(table[3].column, 0);
    EXPECT_EQ(table[784].row, 0);
}

TEST(Datasets_t_pattern, count_above_784_is_refused_and_the_table_kept)
{
    T_pattern_load load("785\n1 1\n");
    load.program.state->datasets.T_pattern_table[1] = {9, 9};
    load.run(load.file() + " announces 785 pairs, more than the 784 inputs; the file is not "
                           "used and the T-pattern stays as it was");
    EXPECT_EQ(load.program.state->datasets.T_pattern_table[1].row, 9);
    EXPECT_FALSE(load.program.state->datasets.Datasets_pending);
}

TEST(Datasets_t_pattern, invalid_number_ends_step_2_after_the_lines_before_it)
{
    T_pattern_load load("784\n2 3\n4 x5\n");
    load.program.click(Control::Button_Step_2);
    expect_failed_load(load.program, load.file() + " line 3: \"x5\" is not a whole number.");
    const auto& table = load.program.state->datasets.T_pattern_table;
    EXPECT_EQ(table[1].row, 2);
    EXPECT_EQ(table[1].column, 3);
    EXPECT_EQ(table[2].row, 4);
    EXPECT_EQ(table[2].column, 0);
}

TEST(Dataset_reader, numbers_are_tokens_between_blanks_and_line_breaks)
{
    T_pair table[785] = {};
    // Tabs and blanks, CR-only and LF line breaks, signs, text after the
    // numbers, and a pair split over two lines (the column comes from the next line).
    const auto report = read_t_pattern("4 pairs follow\r+3\t-5 x\r\n  7\n\n 8 y 9\n10 11\n", table);
    EXPECT_EQ(report.count, 4);
    EXPECT_EQ(report.first_bad_line, 2);
    EXPECT_TRUE(report.ended_early);
    EXPECT_EQ(report.pairs_read, 3);
    EXPECT_EQ(table[1].row, 3);
    EXPECT_EQ(table[1].column, -5);
    EXPECT_EQ(table[2].row, 7);
    EXPECT_EQ(table[2].column, 8);  // "y 9" was the rest of that line
    EXPECT_EQ(table[3].row, 10);
    EXPECT_EQ(table[3].column, 11);
    EXPECT_EQ(table[4].row, 0);     // end of text reads 0
    EXPECT_EQ(read_t_pattern("1\n" + std::string(32, '0') + "7 1\n", table).first_bad_line, 2);
    EXPECT_EQ(table[1].row, 0);     // a token is at most 32 characters
    EXPECT_EQ(table[1].column, 7);
}

TEST(Dataset_reader, rejects_what_is_not_a_32_bit_decimal)
{
    T_pair table[785] = {};
    for (const char* text : {"12a", "0x10", "$10", "+", "-", "2147483648", "1.5", "1,5"}) {
        const T_pattern_report report = read_t_pattern(text, table);
        EXPECT_EQ(report.invalid_line, 1) << text;
        EXPECT_EQ(t_pattern_error(report, "T"), "\"T\" line 1: \"" + std::string(text) + "\" is not a whole number");
    }
    const T_pattern_report report = read_t_pattern("1\n-2147483648 2147483647\n", table);
    EXPECT_EQ(report.first_bad_line, 2);
    EXPECT_EQ(report.invalid_line, 0);
    EXPECT_EQ(t_pattern_error(report, "T"), "");
    EXPECT_EQ(table[1].row, -2147483647 - 1);
    EXPECT_EQ(table[1].column, 2147483647);
}

TEST(Dataset_reader, one_message_for_several_faults)
{
    T_pair table[785] = {};
    const auto report = read_t_pattern("5\n1 1\n30 2\n", table);
    EXPECT_EQ(t_pattern_warning(report, "T", T_pattern_use::window_goes_on),
              "\"T\" line 3: row 30, column 2 is outside the image, whose rows and columns are 1..28; the inputs "
              "of such entries will be 0\n"
              "\"T\" ends after 2 of its 5 pairs; the missing numbers read as 0, so the inputs of those "
              "entries will be 0\n"
              "\"T\" announces 5 pairs instead of 784; the entries without a line keep their previous "
              "value (0 before the first load)");
    EXPECT_EQ(t_pattern_warning(report, "T", T_pattern_use::refused),
              "\"T\" line 3: row 30, column 2 is outside the image, whose rows and columns are 1..28\n"
              "\"T\" ends after 2 of its 5 pairs\n"
              "\"T\" announces 5 pairs instead of 784\n"
              "\"T\" is refused: it must give each of the 784 inputs a row and a column of 1..28, one pair per "
              "line after the count");
    for (const auto use : {T_pattern_use::window_goes_on, T_pattern_use::refused})
        EXPECT_EQ(t_pattern_warning(read_t_pattern(identity_t_pattern(), table), "T", use), "");
    EXPECT_EQ(t_pattern_warning(read_t_pattern("", table), "T", T_pattern_use::window_goes_on),
              "\"T\" announces 0 pairs instead of 784; the entries without a line keep their previous "
              "value (0 before the first load)");
}

TEST(Dataset_reader, text_file_over_16_mib_is_refused)
{
    Temp_dir dir;
    std::string text = "1\r\n1 1\r\n";
    text.resize(Max_text_file_bytes, ' ');
    EXPECT_EQ(load_text_file(dir.write("at_limit.VM", text)), text);

    const std::string over = dir.write("over.VM", "1\r\n1 1\r\n");
    fs::resize_file(over, Max_text_file_bytes + 1);
    // A device has no size and reads without end; it is stopped at the limit.
    for (const std::string& path : {over, std::string("/dev/zero")}) {
        std::string error;
        try {
            load_text_file(path);
        } catch (const Vantel_error& e) {
            error = e.what();
        }
        EXPECT_EQ(error, "File \"" + path + "\" is too large: it may hold at most 16777216 bytes (16 MiB)");
    }
}

TEST(Datasets_real, published_files_load_with_their_known_first_labels)
{
    const std::string app = built_app_dir();
    ASSERT_TRUE(real_mnist_present());
    Test_program program;
    prepare(program, app, "Path=");
    program.click(Control::Button_Step_2);
    const auto& d = program.state->datasets;
    EXPECT_TRUE(program.window.errors.empty());
    EXPECT_TRUE(program.window.messages.empty());
    EXPECT_EQ(d.Train_targets[1][5], 1.0);
    EXPECT_EQ(d.Train_targets[2][0], 1.0);
    EXPECT_EQ(d.Test_labels[1], 7);
    EXPECT_EQ(d.Test_labels[2], 2);
    // Published images have an empty border: the corners are 0.
    EXPECT_EQ(d.Train_images[1][1], 0);
    EXPECT_EQ(d.Train_images[60000][784], 0);
    EXPECT_EQ(d.T_pattern_table[2].row, 1);
    EXPECT_EQ(d.T_pattern_table[2].column, 2);
}

TEST(Datasets_real, only_the_published_files_have_the_published_fingerprint)
{
    ASSERT_TRUE(real_mnist_present());
    const std::string published = default_mnist_folder(built_app_dir());
    EXPECT_EQ(mnist_fingerprint(published), Published_mnist_sha256);
    EXPECT_EQ(mnist_fingerprint_warning(mnist_fingerprint(published), published), "");
    // One changed pixel is told apart.
    Temp_dir copy;
    const std::string folder = copy.path().string() + "/";
    for (const std::string& name : Mnist_names)
        std::filesystem::copy_file(published + name, folder + name);
    {
        std::fstream images(folder + Mnist_names[2], std::ios::in | std::ios::out | std::ios::binary);
        images.seekg(16 + 300);
        const char pixel = static_cast<char>(images.get() ^ 1);
        images.seekp(16 + 300);
        images.put(pixel);
    }
    const std::string changed = mnist_fingerprint(folder);
    EXPECT_NE(changed, Published_mnist_sha256);
    EXPECT_EQ(mnist_fingerprint_warning(changed, folder),
              "the MNIST-10 files of " + folder + " are not the published ones (SHA-256 " + changed +
                  "): values computed with them differ from everyone else's");
    std::filesystem::remove(folder + Mnist_names[3]);
    EXPECT_THROW(mnist_fingerprint(folder), Vantel_error);
}

}  // namespace
}  // namespace vantel::test
