// Step 2 in the window: progress captions and pumps, the folder from init
// line 5, a failed load that leaves the step to be done again, and a step 2
// triggered while the datasets load.
#include <filesystem>
#include <numeric>

#include <gtest/gtest.h>

#include "support/synthetic_mnist.h"
#include "support/test_program.h"

namespace vantel::test {
namespace {

namespace fs = std::filesystem;

TEST(Datasets, progress_captions_and_pumps_follow_the_load_once_per_process)
{
    Test_program program;
    prepare(program, synthetic().app, "Path=");
    std::vector<std::string> captions;
    program.window.every_pump = [&] { captions.push_back(program.window.text(Control::Label_load_status)); };
    program.click(Control::Button_Step_2);

    const auto& progress = program.window.progress_history;
    ASSERT_EQ(progress.size(), 120u);
    EXPECT_EQ(std::vector<int>(progress.begin(), progress.begin() + 6), (std::vector<int>{2, 3, 5, 7, 8, 10}));
    EXPECT_EQ(progress[29], 50);   // k = 30000
    EXPECT_EQ(progress[59], 100);  // k = 60000
    EXPECT_EQ(progress[60], 2);    // labels start again
    EXPECT_EQ(progress[119], 100);
    EXPECT_EQ(program.window.progress(), 100);

    ASSERT_EQ(captions.size(), 123u);
    EXPECT_EQ(captions[0], "Training Data");
    EXPECT_EQ(captions[59], "Training Data");
    EXPECT_EQ(captions[60], "Training Label");
    EXPECT_EQ(captions[120], "Test Data");
    EXPECT_EQ(captions[121], "Test Label");
    EXPECT_EQ(captions[122], "Load T_pattern");
    EXPECT_EQ(program.window.text(Control::Label_load_status), "Load T_pattern");

    // Later calls return at once: no pause, no pump, no reset, no error.
    const auto identity = program.state->datasets.Identity;
    program.state->datasets.Train_images[5][5] = 200;
    program.window.set_lines(Control::Memo3, {});
    program.click(Control::Button_Step_2);
    EXPECT_EQ(program.window.sleeps, 1);
    EXPECT_EQ(program.window.pumps, 123);
    EXPECT_EQ(program.state->datasets.Train_images[5][5], 200);
    EXPECT_EQ(program.state->datasets.Identity, identity);
    EXPECT_TRUE(program.window.errors.empty());
}

TEST(Datasets, folder_comes_from_init_line_5)
{
    const std::string folder = synthetic().mnist;
    const std::vector<std::string> lines = {"Path=" + folder, folder, "Path=Path=" + folder};
    for (const auto& line : lines) {
        Test_program program;
        Temp_dir app;  // has no MNIST_10 of its own
        prepare(program, app.path().string() + "/", line);
        program.window.expect_message(No_t_pattern);  // the T-pattern stays next to the program
        program.click(Control::Button_Step_2);
        EXPECT_TRUE(program.window.errors.empty()) << line;
        EXPECT_EQ(program.state->datasets.Mnist_dir, folder) << line;
        EXPECT_EQ(program.state->datasets.Train_images[1][29], 11) << line;
    }
    // Without line 5 the bare names are opened in the working folder.
    Test_program program;
    prepare(program, synthetic().app, "");
    program.window.set_lines(Control::Memo3, {"100", "20", "AUTO=NO", "METHOD=5", "N=19625"});
    const auto before = fs::current_path();
    fs::current_path(synthetic().mnist);
    program.click(Control::Button_Step_2);
    fs::current_path(before);
    EXPECT_TRUE(program.window.errors.empty());
    EXPECT_EQ(program.state->datasets.Mnist_dir, "");
    EXPECT_EQ(program.state->datasets.Test_images[10000][29], 55);
}

TEST(Datasets, missing_file_ends_the_step_with_the_path_and_reason)
{
    Test_program program;
    prepare(program, synthetic().app, "Path=/nonexistent-vantel/");
    program.click(Control::Button_Step_2);
    expect_failed_load(program,
                       "Cannot open file \"/nonexistent-vantel/train-images.idx3-ubyte\". No such file or directory.");

    Temp_dir folder;
    link_mnist(folder, "t10k-labels.idx1-ubyte");
    Test_program late;
    prepare(late, synthetic().app, "Path=" + folder.path().string() + "/MNIST_10/");
    late.click(Control::Button_Step_2);
    expect_failed_load(late, "Cannot open file \"" + folder.path().string() +
                                 "/MNIST_10/t10k-labels.idx1-ubyte\". No such file or directory.");
    // What was read before the failure stays.
    EXPECT_EQ(late.state->datasets.Test_images[10000][29], 55);
}

TEST(Datasets, cut_short_file_is_refused_before_its_records_and_a_retry_reloads)
{
    Temp_dir folder;
    link_mnist(folder, "train-images.idx3-ubyte");
    std::string images = idx_header(true, 60000);
    images.resize(16 + 2 * 784 + 100, '\0');
    images[16 + 784 + 1] = 9;  // record 2, row 1, column 2
    const std::string short_file = folder.write("MNIST_10/train-images.idx3-ubyte", images);

    Test_program program;
    prepare(program, synthetic().app, "Path=" + folder.path().string() + "/MNIST_10/");
    program.click(Control::Button_Step_2);
    expect_failed_load(program, "\"" + short_file +
                                    "\" is not an MNIST-10 images file of 60000 images: it holds 1684 bytes, "
                                    "47040016 expected.");
    EXPECT_EQ(program.state->datasets.Train_images[2][29], 0);  // no record was read
    EXPECT_EQ(program.window.progress_history.size(), 0u);

    // A later run triggers step 2 whatever the button's state and loads anew.
    fs::remove(short_file);
    fs::create_symlink(synthetic().mnist + "train-images.idx3-ubyte", short_file);
    program.window.errors.clear();
    program.session.click(Control::Button_Step_2);
    EXPECT_TRUE(program.window.errors.empty());
    EXPECT_FALSE(program.state->datasets.Datasets_pending);
    EXPECT_EQ(program.state->datasets.Train_images[2][29], 0);
    EXPECT_EQ(program.state->datasets.Train_images[1][29], 11);
    EXPECT_TRUE(program.window.enabled(Control::Button_Step_2));
}

TEST(Datasets, label_outside_0_to_9_ends_the_step_naming_file_and_record)
{
    Temp_dir folder;
    link_mnist(folder, "train-labels.idx1-ubyte");
    std::string labels = synthetic().train_labels;
    labels[8 + 344] = 12;
    const std::string path = folder.write("MNIST_10/train-labels.idx1-ubyte", labels);

    Test_program program;
    prepare(program, synthetic().app, "Path=" + folder.path().string() + "/MNIST_10/");
    program.click(Control::Button_Step_2);
    expect_failed_load(program, "Label 12 of record 345 in \"" + path + "\" is outside 0..9.");
    const auto& targets = program.state->datasets.Train_targets;
    EXPECT_EQ(targets[344][344 % 10], 1.0);
    EXPECT_EQ(std::accumulate(targets[345], targets[345] + 10, 0.0), 0.0);
    EXPECT_EQ(std::accumulate(targets[346], targets[346] + 10, 0.0), 0.0);
}

TEST(Datasets, step_2_triggered_during_the_load_is_refused)
{
    Test_program program;
    prepare(program, synthetic().app, "Path=");
    bool loading_seen = false;
    program.window.on_pump(30, [&] {
        loading_seen = program.session.flags.Datasets_loading;
        program.session.trigger(Control::Button_Step_2);  // as START would
    });
    program.window.expect_message("Please wait until the MNIST-10 datasets have loaded.");
    program.click(Control::Button_Step_2);

    EXPECT_TRUE(loading_seen);
    EXPECT_EQ(program.window.messages,
              std::vector<std::string>{"Please wait until the MNIST-10 datasets have loaded."});
    EXPECT_EQ(program.window.sleeps, 1);
    EXPECT_EQ(program.window.progress_history.size(), 120u);
    EXPECT_FALSE(program.session.flags.Datasets_loading);
    EXPECT_FALSE(program.state->datasets.Datasets_pending);
    EXPECT_EQ(program.state->datasets.Train_images[1][29], 11);
}

}  // namespace
}  // namespace vantel::test
