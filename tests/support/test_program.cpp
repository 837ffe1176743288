#include "test_program.h"

#include <fstream>
#include <random>

#include "app/handlers.h"

namespace vantel::test {

Test_program::Test_program()
    : state(std::make_unique<Engine_state>()), session(*state, window)
{
    session.timings = {0, 0};
    install_handlers(session);
}

void Test_program::click(Control button)
{
    if (window.enabled(button)) session.click(button);
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
