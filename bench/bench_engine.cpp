// Benchmark of steps 5, 7 and 8 on the real MNIST-10 files, against the
// literal engine. Prints seconds, microseconds per image, the literal / fast
// ratio and the peak memory; asserts nothing about time.
#include <omp.h>
#include <sys/resource.h>
#include <time.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "base/program_folder.h"
#include "engine/engine_workspace.h"
#include "engine/extended_arithmetic.h"
#include "engine/fast_sigmoid.h"
#include "engine/vantel.h"
#include "model/control.h"
#include "support/literal_engine.h"
#include "support/test_program.h"

using namespace vantel;
using namespace vantel::test;

namespace {

// Wall-clock seconds of the work; the process's processor seconds (all
// threads) go to *cpu, which shows how much a busy machine slowed the wall
// clock down.
double seconds(const std::function<void()>& work, double* cpu = nullptr)
{
    const auto processor = [] {
        timespec ts{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
        return ts.tv_sec + ts.tv_nsec * 1e-9;
    };
    const double cpu_start = processor();
    const auto start = std::chrono::steady_clock::now();
    work();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (cpu) *cpu = processor() - cpu_start;
    return wall;
}

// A series of the kind the program is fed: a noisy oscillation.
void set_series(Program_state& state, int n, double phase)
{
    state.series.N = n;
    for (int k = 1; k <= Max_N; ++k)
        state.series.xn[k] = k <= n ? 3.0 * std::sin(0.37 * k + phase) + std::cos(1.3 * k * k + phase) : 0.0;
}

void fill_W1(Test_program& p, int method)
{
    p.window.select_method(method);
    p.session.trigger(Control::Button_Step_3);
    p.session.trigger(Control::Button_Step_4);
}

bool same(const double* a, const double* b, int count)
{
    for (int i = 0; i < count; ++i)
        if (!(a[i] == b[i])) return false;
    return true;
}

long peak_megabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

}  // namespace

int main()
{
    Test_program p;
    Program_state& state = *p.state;
    p.session.executable_dir = built_app_dir();
    state.run.App_dir = built_app_dir();
    p.window.set_lines(Control::Memo3, {"1", "2", "AUTO=NO", "METHOD=5", "N=19625", "Path="});
    state.datasets.Datasets_pending = true;
    state.run.One_second = 1.0 / 86400;
    const double load = seconds([&] { p.session.trigger(Control::Button_Step_2); });
    if (state.datasets.Datasets_pending || !p.window.errors.empty()) {
        std::printf("MNIST-10 could not be loaded from %s\n", built_app_dir().c_str());
        return 1;
    }
    std::printf("step 2 (loading MNIST-10)          %8.3f s\n", load);

    double cpu5_cold = 0, cpu5 = 0, cpu8 = 0, cpu_epoch = 0, cpu_full = 0;
    set_series(state, 5000, 0.0);
    fill_W1(p, 5);
    const double step5_cold = seconds([&] { p.session.trigger(Control::Button_Step_5); }, &cpu5_cold);
    set_series(state, 5000, 0.5);
    fill_W1(p, 5);
    const double step5 = seconds([&] { p.session.trigger(Control::Button_Step_5); }, &cpu5);
    const double step8 = seconds([&] { p.session.trigger(Control::Button_Step_8); }, &cpu8);
    state.run.Epochs = 1;
    const double epoch = seconds([&] { p.session.trigger(Control::Button_Step_7); }, &cpu_epoch);
    std::printf("%d threads; wall-clock seconds, processor seconds of all threads in brackets\n",
                omp_get_max_threads());
    std::printf("step 5 (first, with sparse images) %8.3f s  (%.3f)\n", step5_cold, cpu5_cold);
    std::printf("step 5 (new W1)                    %8.3f s  (%.3f)\n", step5, cpu5);
    std::printf("step 8 (new W1)                    %8.3f s  (%.3f)\n", step8, cpu8);
    std::printf("step 7, one epoch                  %8.3f s  (%.3f)  %.3f us per image\n", epoch, cpu_epoch,
                epoch / Train_count * 1e6);

    // The fast results of one epoch, kept to compare with the literal ones.
    double fast_max[Neurons + 1], fast_min[Neurons + 1], fast_mean[Neurons + 1];
    double fast_W2[Neurons + 1][Outputs];
    std::memcpy(fast_max, state.net.Sh_max, sizeof fast_max);
    std::memcpy(fast_min, state.net.Sh_min, sizeof fast_min);
    std::memcpy(fast_mean, state.net.Sh_mean, sizeof fast_mean);
    std::memcpy(fast_W2, state.net.W2, sizeof fast_W2);

    // A full run of a new series: steps 3 to 8 at 100 epochs.
    set_series(state, 5000, 1.0);
    p.window.set_text(Control::Edit_epoch, "100");
    const double full = seconds([&] {
        fill_W1(p, 5);
        p.session.trigger(Control::Button_Step_5);
        p.session.trigger(Control::Button_Step_6);
        p.session.trigger(Control::Button_Step_7);
        p.session.trigger(Control::Button_Step_8);
    }, &cpu_full);
    std::printf("full run, steps 3..8, %d epochs   %8.3f s  (%.3f)  Accuracy %.2f\n", state.run.Epochs, full,
                cpu_full, state.run.Accuracy);

    // How often the fast sigmoid hands over to expl on real arguments: the
    // output sums of every training image with the W2 that run trained.
    Engine_workspace& ws = *p.session.engine_workspace;
    refresh_train_hidden(ws, state.net, state.datasets);
    const double* rows = train_hidden_rows(ws);
    long calls = 0, fallbacks = 0;
    for (int k = 1; k <= Train_count; ++k) {
        const double* Sh = rows + static_cast<std::size_t>(k) * (Neurons + 1);
        for (int o = 0; o < Outputs; ++o) {
            double sum = 0.0;
            for (int h = 0; h <= Neurons; ++h) sum = add_product(sum, Sh[h], state.net.W2[h][o]);
            double out = 0;
            fallbacks += !try_fast_sigmoid(sum, out);
            ++calls;
        }
    }
    std::printf("sigmoid fallbacks to expl          %ld of %ld output sums (%.3f %%): training images, trained W2\n",
                fallbacks, calls, 100.0 * static_cast<double>(fallbacks) / static_cast<double>(calls));

    // The same run through the computation API (what the command and the
    // Python module use): the same training loop without pumps. One epoch
    // is told from runs of 1 and 11 epochs.
    const auto datasets = Datasets::load({default_mnist_folder(built_app_dir()), default_t_pattern_file(built_app_dir())});
    Network network(datasets);
    const std::vector<double> series(state.series.xn + 1, state.series.xn + 1 + state.series.N);
    Run_result api;
    double cpu_api = 0, cpu_api1 = 0, cpu_api11 = 0;
    const auto run_api = [&](int epochs) {
        Run_options options;
        options.method = 5;
        options.epochs = epochs;
        api = network.compute(series, options);
    };
    const double api1 = seconds([&] { run_api(1); }, &cpu_api1);
    const double api11 = seconds([&] { run_api(11); }, &cpu_api11);
    const double api_epoch = (api11 - api1) / 10;
    const double api_full = seconds([&] { run_api(100); }, &cpu_api);
    const bool api_same = same(&api.w2[0], &state.net.W2[0][0], (Neurons + 1) * Outputs) &&
                          api.correct_count == state.run.Correct_count;
    std::printf("API, one epoch (11 less 1, / 10)   %8.3f s  (%.3f)  %.3f us per image\n", api_epoch,
                (cpu_api11 - cpu_api1) / 10, api_epoch / Train_count * 1e6);
    std::printf("API, full run, 100 epochs          %8.3f s  (%.3f)  W2 and count as the window's: %s\n", api_full,
                cpu_api, api_same ? "yes" : "NO");

    // The literal engine on the series of the one-epoch measurement.
    set_series(state, 5000, 0.5);
    fill_W1(p, 5);
    const double literal5 = seconds([&] { literal_step_5(state); });
    const double literal_epoch = seconds([&] { literal_step_7(state, 1); });
    const double literal8 = seconds([&] { literal_step_8(state); });
    const bool identical = same(&fast_max[0], state.net.Sh_max, Neurons + 1) &&
                           same(&fast_min[0], state.net.Sh_min, Neurons + 1) &&
                           same(&fast_mean[1], state.net.Sh_mean + 1, Neurons) &&
                           same(&fast_W2[0][0], &state.net.W2[0][0], (Neurons + 1) * Outputs);
    const double literal_full = literal5 + 100 * literal_epoch + literal8;
    std::printf("literal step 5                     %8.3f s\n", literal5);
    std::printf("literal step 7, one epoch          %8.3f s  (%.3f us per image)\n", literal_epoch,
                literal_epoch / Train_count * 1e6);
    std::printf("literal step 8                     %8.3f s\n", literal8);
    std::printf("literal full run estimate          %8.3f s  (step 5 + 100 epochs + step 8)\n", literal_full);
    std::printf("ratio literal / fast, full run     %8.1f  (through the API %.1f)\n", literal_full / full,
                literal_full / api_full);
    std::printf("ratio literal / fast, step 5       %8.1f\n", literal5 / step5);
    std::printf("ratio literal / fast, one epoch    %8.1f  (through the API %.1f)\n", literal_epoch / epoch,
                literal_epoch / api_epoch);
    std::printf("literal and fast bounds, means, W2 %s\n", identical ? "identical" : "DIFFER");
    std::printf("peak memory                        %8ld MB\n", peak_megabytes());
    return identical && api_same ? 0 : 1;
}
