// The progress line on a terminal, and stopping on Ctrl-C.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>

namespace vantel::cli {

// Set by the first SIGINT or SIGTERM; a second one ends the process at once.
std::atomic<bool>& stop_requested();
void catch_stop_signals();

// "3/8 runs done, 70/400 epochs, 0:12 passed, about 0:20 left" from the
// runs done, the epochs trained (the several epoch counts of a series are
// trained once, so a series counts its largest) and the time passed; the
// time left comes from the epochs, "?" while none is trained.
struct Work_done {
    std::size_t runs = 0;
    std::size_t epochs = 0;
};
std::string progress_text(Work_done done, Work_done total, std::chrono::steady_clock::duration passed);

// Redraws one line on standard error while it is a terminal; otherwise
// does nothing.
class Progress_line {
public:
    explicit Progress_line(Work_done total);
    ~Progress_line();
    void show(Work_done done);
    // Removes the line, so that the messages after it start on a clean one.
    void clear();

private:
    const Work_done total_;
    const bool terminal_;
    bool shown_ = false;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace vantel::cli
