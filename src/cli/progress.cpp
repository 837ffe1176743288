#include "cli/progress.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>

namespace vantel::cli {

namespace {

std::atomic<bool> stop_flag{false};
// Set from a signal handler: only a lock-free atomic is safe there.
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void on_stop_signal(int)
{
    stop_flag.store(true);
}

std::string clock_text(long long seconds)
{
    char text[32];
    if (seconds >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
    return text;
}

}  // namespace

std::atomic<bool>& stop_requested()
{
    return stop_flag;
}

void catch_stop_signals()
{
    struct sigaction action {};
    action.sa_handler = on_stop_signal;
    sigemptyset(&action.sa_mask);
    // The first signal asks for a clean stop; the handler is then reset, so
    // that a second one ends a process that does not stop soon enough.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

std::string progress_text(Work_done done, Work_done total, std::chrono::steady_clock::duration passed)
{
    const long long seconds = std::chrono::duration_cast<std::chrono::seconds>(passed).count();
    std::string text = std::to_string(done.runs) + "/" + std::to_string(total.runs) + " runs done, " +
                       std::to_string(done.epochs) + "/" + std::to_string(total.epochs) + " epochs, " +
                       clock_text(seconds) + " passed, ";
    if (done.epochs == 0 || total.epochs < done.epochs) return text + "? left";
    const double left = std::chrono::duration<double>(passed).count() *
                        static_cast<double>(total.epochs - done.epochs) / static_cast<double>(done.epochs);
    return text + "about " + clock_text(static_cast<long long>(left + 0.5)) + " left";
}

Progress_line::Progress_line(Work_done total) : total_(total), terminal_(::isatty(STDERR_FILENO) == 1) {}

Progress_line::~Progress_line()
{
    clear();
}

void Progress_line::show(Work_done done)
{
    if (!terminal_) return;
    const std::string text = progress_text(done, total_, std::chrono::steady_clock::now() - start_);
    std::fprintf(stderr, "\rvantel: %s\033[K", text.c_str());
    std::fflush(stderr);
    shown_ = true;
}

void Progress_line::clear()
{
    if (!shown_) return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    shown_ = false;
}

}  // namespace vantel::cli
