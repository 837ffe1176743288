// Start-up over any "init.txt": FormCreate loads it into the Init tab and
// takes the method, N and automatic-start lines from it, then the MNIST
// folder is taken from its Path line as step 2 does. The init file is a
// user's file, so nothing in it may raise an error or break the window.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/memory_window.h"
#include "app/startup.h"
#include "model/session.h"
#include "model/step_handlers.h"
#include "engine/input_vector.h"
#include "engine/datasets.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vantel;
    static const auto state = std::make_unique<Program_state>();
    const std::string& app = fuzz::scratch_dir();
    fuzz::write_file(app + "init.txt", std::string_view(reinterpret_cast<const char*>(data), size));

    Memory_window window;
    Session session(*state, window);
    session.executable_dir = app;
    session.run_action([&session] { FormCreate(session); });

    FUZZ_CHECK(window.errors.empty());
    FUZZ_CHECK(state->run.App_dir == app);
    const std::vector<std::string> lines = window.lines(Control::Memo3);
    for (const std::string& line : lines)
        FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);

    const std::string method_line = init_line(session, 3);
    int method = 5;
    for (int k = 1; k <= 6; ++k)
        if (method_line == "METHOD=" + std::to_string(k)) method = k;
    FUZZ_CHECK(window.selected_method() == method);

    // Removing "N=" never adds text.
    FUZZ_CHECK(window.text(Control::Edit_N).size() <= init_line(session, 4).size());
    FUZZ_CHECK(window.timer_enabled() == (init_line(session, 2) == "AUTO=YES"));

    const std::string path_line = init_line(session, 5);
    const std::string folder = mnist_folder(session);
    if (path_line == "Path=")
        FUZZ_CHECK(folder == app + "MNIST_10/");
    else
        FUZZ_CHECK(folder.size() <= path_line.size() && (path_line.find("Path=") != std::string::npos) ==
                                                             (folder.size() < path_line.size()));
    return 0;
}
