#include "test_program.h"

#include <fstream>
#include <random>

#include "app/handlers.h"
#include "base/date_time.h"

namespace vantel::test {

Test_program::Test_program()
    : state(std::make_unique<Program_state>()), session(*state, window)
{
    session.timings = {0, 0};
    install_handlers(session);
}

void Test_program::click(Control button)
{
    if (window.enabled(button)) session.click(button);
}

std::string Test_program::start_on(const std::string& data, const std::vector<std::string>& init_lines, int column,
                                   int method, int epochs)
{
    session.executable_dir = built_app_dir();
    state->run.App_dir = built_app_dir();
    // As start-up sets it: without it every training image would pump.
    state->run.One_second = one_second_units();
    state->datasets.Datasets_pending = true;
    window.set_lines(Control::Memo3, init_lines);
    window.answer_dialog(data);
    click(Control::Open_file_button);
    window.set_text(Control::Edit_column, std::to_string(column));
    window.select_method(method);
    window.set_text(Control::Edit_epoch, std::to_string(epochs));
    click(Control::Button_start);
    return window.text(Control::Edit_Vantel);
}

Temp_dir::Temp_dir()
{
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("vantel-test-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(path_);
}

Temp_dir::~Temp_dir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string Temp_dir::write(const std::string& name, const std::string& bytes) const
{
    const auto file = path_ / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
}

std::string built_app_dir()
{
    return VANTEL_APP_DIR;
}

::testing::AssertionResult real_mnist_present()
{
    for (const char* name :
         {"train-images.idx3-ubyte", "train-labels.idx1-ubyte", "t10k-images.idx3-ubyte", "t10k-labels.idx1-ubyte"}) {
        const std::string path = built_app_dir() + "MNIST_10/" + name;
        if (!std::filesystem::is_regular_file(path))
            return ::testing::AssertionFailure()
                   << "MNIST-10 file " << path << " is missing: run 'make setup' (tools/setup.sh fetches the files"
                   << " into ~/.cache/vantel/mnist) and build again, which lays them into the program folder";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace vantel::test
