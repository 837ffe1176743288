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

// "3/8 runs done, 0:12 passed, about 0:20 left" from the runs done and the
// time passed; "?" while no run has finished.
std::string progress_text(std::size_t done, std::size_t total, std::chrono::steady_clock::duration passed);

// Redraws one line on standard error while it is a terminal; otherwise
// does nothing.
class Progress_line {
public:
    explicit Progress_line(std::size_t total);
    ~Progress_line();
    void show(std::size_t done);
    // Removes the line, so that the messages after it start on a clean one.
    void clear();

private:
    const std::size_t total_;
    const bool terminal_;
    bool shown_ = false;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace vantel::cli
