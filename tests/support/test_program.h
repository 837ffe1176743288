// Test_program: a whole program without Qt (Program_state, the fake window,
// the session with every handler installed) with the pauses shortened.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/session.h"
#include "support/fake_window.h"

namespace vantel::test {

struct Test_program {
    Test_program();

    // A user's click: refused when the button is disabled, as the window does.
    void click(Control button);

    // As start-up leaves the program in the build's program folder (with
    // the real MNIST-10 files), with these init lines; then "Open file" on
    // `data` and START with the column, method and epochs given. Returns
    // the value START published (empty when there is none).
    std::string start_on(const std::string& data, const std::vector<std::string>& init_lines, int column, int method,
                         int epochs);

    std::unique_ptr<Program_state> state;
    Fake_window window;
    Session session;
};

// A fresh temporary folder, removed when the object goes away.
class Temp_dir {
public:
    Temp_dir();
    ~Temp_dir();
    Temp_dir(const Temp_dir&) = delete;
    Temp_dir& operator=(const Temp_dir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    // Writes bytes to a file below the folder and returns its full path.
    std::string write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

// The program folder of the build (the folder of the executables), with
// the real MNIST_10 files and T-pattern, ending in '/'.
std::string built_app_dir();

// Whether the program folder holds the four MNIST-10 files; when one is
// missing, the failure names it and the set-up command that fetches it.
// Tests on the real data start with ASSERT_TRUE(real_mnist_present()): they
// fail, never skip, on a machine without the files.
::testing::AssertionResult real_mnist_present();

}  // namespace vantel::test
