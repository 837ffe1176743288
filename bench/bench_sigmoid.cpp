// Benchmark of the sigmoid: the literal expl path against fast_sigmoid, in
// nanoseconds per call, on inputs like the output sums of training and on a
// wide range. Prints the figures, the literal / fast ratio and how often the
// fast path hands over to expl; asserts nothing about time.
//
// "independent" calls are what training does (ten outputs per image, none
// waiting for another); "chained" calls wait for the previous result, which
// shows the latency of one call.
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "engine/extended_arithmetic.h"
#include "engine/fast_sigmoid.h"

using namespace vantel;

namespace {

constexpr int Inputs = 1 << 16;  // 512 KB of inputs, swept again and again
constexpr int Sweeps = 40;
constexpr int Repeats = 7;       // the best of these counts: the machine is shared

struct Input_set {
    std::string name;
    std::vector<double> x;
};

std::vector<Input_set> input_sets()
{
    std::mt19937_64 random(20240611);
    const auto fill = [&](auto&& draw) {
        std::vector<double> x(Inputs);
        for (double& v : x) v = draw();
        return x;
    };
    std::normal_distribution<double> output_sum(0.0, 6.0);
    std::uniform_real_distribution<double> within_20(-20.0, 20.0);
    std::uniform_real_distribution<double> within_50(-50.0, 50.0);
    std::uniform_real_distribution<double> exponent(-20.0, 14.0);
    return {
        {"training-like: normal, mean 0, sd 6", fill([&] { return output_sum(random); })},
        {"uniform in [-20, 20]", fill([&] { return within_20(random); })},
        {"uniform in [-50, 50]", fill([&] { return within_50(random); })},
        {"wide: +-2^[-20, 14], log-uniform", fill([&] {
             return std::copysign(std::exp2(exponent(random)), random() & 1 ? 1.0 : -1.0);
         })},
    };
}

double thread_seconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

// Nanoseconds per call, the best of Repeats; the sum keeps the calls alive.
template <class Sigmoid>
double ns_per_call(const std::vector<double>& x, Sigmoid sigmoid, bool chained, double& sum)
{
    double best = 1e30;
    for (int repeat = 0; repeat < Repeats; ++repeat) {
        const double start = thread_seconds();
        double previous = 0.0;
        for (int sweep = 0; sweep < Sweeps; ++sweep)
            for (double v : x) {
                // previous - previous is 0 but the compiler may not drop it,
                // so the call waits for the one before.
                previous = sigmoid(chained ? v + (previous - previous) : v);
                sum += previous;
            }
        best = std::min(best, (thread_seconds() - start) * 1e9 / (double(Sweeps) * x.size()));
    }
    return best;
}

}  // namespace

int main()
{
    std::printf("sigmoid: literal expl path against fast_sigmoid, ns per call (best of %d, thread CPU time)\n\n",
                Repeats);
    double sum = 0.0;
    for (const Input_set& set : input_sets()) {
        long fallbacks = 0, different = 0;
        for (double v : set.x) {
            double out;
            if (!try_fast_sigmoid(v, out)) ++fallbacks;
            const double fast = fast_sigmoid(v), literal = sigmoid(v);
            if (std::memcmp(&fast, &literal, sizeof fast) != 0) ++different;
        }
        std::printf("%s\n", set.name.c_str());
        for (bool chained : {false, true}) {
            const double literal = ns_per_call(set.x, [](double v) { return sigmoid(v); }, chained, sum);
            const double fast = ns_per_call(set.x, [](double v) { return fast_sigmoid(v); }, chained, sum);
            std::printf("  %-11s literal %6.1f ns  fast %6.1f ns  ratio %5.2f\n", chained ? "chained" : "independent",
                        literal, fast, literal / fast);
        }
        std::printf("  fallbacks to expl: %ld of %d (%.3f %%); results differing from the literal path: %ld\n\n",
                    fallbacks, Inputs, 100.0 * fallbacks / Inputs, different);
    }
    std::printf("(checksum %g)\n", sum);
}
