// vantel: Vantel values without the window, for many series at once.
//
// The data files are read with the window's own readers (lines, fields, the
// number parser, N and the column corrected as Show corrects them) and every
// value is computed through the computation API, so it is the one START
// shows for the same inputs, whatever the number of threads. See Usage in
// options.cpp.
#include <cstdio>
#include <string>
#include <vector>

#include "base/program_folder.h"
#include "base/version.h"
#include "cli/batch_command.h"
#include "cli/driving.h"
#include "cli/file_runs.h"
#include "cli/options.h"
#include "cli/progress.h"

int main(int argc, char** argv)
{
    using namespace vantel::cli;
    // From the start: a Ctrl-C at any moment ends the process cleanly.
    catch_stop_signals();
    std::vector<std::string> problems;
    const Options options = parse_arguments(std::vector<std::string>(argv + 1, argv + argc), problems);
    if (options.help) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (options.version) {
        std::printf("vantel %s\n", std::string(vantel::Program_version).c_str());
        return 0;
    }
    if (!problems.empty()) return report_problems(problems);
    std::string program_dir = vantel::executable_folder();
    if (program_dir.empty()) program_dir = "./";
    return options.batch_dir.empty() ? run_files(options, program_dir) : run_batch(options, program_dir);
}
