#include "engine/surrogates.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <memory>
#include <mutex>
#include <numeric>

#include "base/error.h"
#include "engine/random_generator.h"

namespace vantel {

namespace {

// FFTW's planner is not safe to call from two threads at once; executing
// a plan is.
std::mutex& planner_lock()
{
    static std::mutex lock;
    return lock;
}

template <typename T>
struct Fftw_array {
    explicit Fftw_array(std::size_t count)
        : data(static_cast<T*>(fftw_malloc(sizeof(T) * std::max<std::size_t>(count, 1))))
    {
        if (!data) throw std::bad_alloc();
    }
    ~Fftw_array() { fftw_free(data); }
    Fftw_array(const Fftw_array&) = delete;
    Fftw_array& operator=(const Fftw_array&) = delete;
    T* data;
};

// A forward and a backward real transform of n values, on arrays of their own.
class Real_transforms {
public:
    explicit Real_transforms(std::size_t n) : n_(n), values_(n), spectrum_(n / 2 + 1)
    {
        const std::lock_guard<std::mutex> hold(planner_lock());
        const int length = static_cast<int>(n);
        // FFTW_ESTIMATE chooses the plan from the size alone, without timing
        // candidates: the same plan on every run of the same machine.
        forward_ = fftw_plan_dft_r2c_1d(length, values_.data, spectrum_.data, FFTW_ESTIMATE);
        backward_ = fftw_plan_dft_c2r_1d(length, spectrum_.data, values_.data, FFTW_ESTIMATE);
        if (!forward_ || !backward_) {
            destroy();
            throw Vantel_error("cannot plan the Fourier transforms of the iaaft surrogates");
        }
    }
    ~Real_transforms()
    {
        const std::lock_guard<std::mutex> hold(planner_lock());
        destroy();
    }
    Real_transforms(const Real_transforms&) = delete;
    Real_transforms& operator=(const Real_transforms&) = delete;

    double* values() { return values_.data; }
    std::complex<double>* spectrum() { return reinterpret_cast<std::complex<double>*>(spectrum_.data); }
    std::size_t spectrum_size() const { return n_ / 2 + 1; }
    void forward() { fftw_execute(forward_); }
    // Unnormalized: the values come back n times as large (the ranks do not care).
    void backward() { fftw_execute(backward_); }

private:
    void destroy()
    {
        if (forward_) fftw_destroy_plan(forward_);
        if (backward_) fftw_destroy_plan(backward_);
    }
    std::size_t n_;
    Fftw_array<double> values_;
    Fftw_array<fftw_complex> spectrum_;
    fftw_plan forward_ = nullptr;
    fftw_plan backward_ = nullptr;
};

// Gives `sorted` to `target` by the ranks of `order_of`: the place with
// the k-th smallest value of order_of gets sorted[k]; equal values keep
// their places' order. `ranked` is the places in that order.
void assign_by_rank(const double* order_of, const std::vector<double>& sorted, std::vector<std::size_t>& ranked,
                    std::span<double> target)
{
    std::iota(ranked.begin(), ranked.end(), std::size_t{0});
    std::stable_sort(ranked.begin(), ranked.end(),
                     [order_of](std::size_t a, std::size_t b) { return order_of[a] < order_of[b]; });
    for (std::size_t k = 0; k < ranked.size(); ++k) target[ranked[k]] = sorted[k];
}

std::vector<double> iaaft(std::span<const double> series, Random_generator& random)
{
    const std::size_t n = series.size();
    Real_transforms transforms(n);
    std::copy(series.begin(), series.end(), transforms.values());
    transforms.forward();
    std::vector<double> amplitudes(transforms.spectrum_size());
    for (std::size_t k = 0; k < amplitudes.size(); ++k) amplitudes[k] = std::abs(transforms.spectrum()[k]);
    std::vector<double> sorted(series.begin(), series.end());
    std::sort(sorted.begin(), sorted.end());

    std::vector<double> current(series.begin(), series.end());
    random_permutation(current, random);
    std::vector<std::size_t> ranked(n), previous;
    for (int iteration = 0; iteration < Iaaft_iterations; ++iteration) {
        std::copy(current.begin(), current.end(), transforms.values());
        transforms.forward();
        std::complex<double>* spectrum = transforms.spectrum();
        for (std::size_t k = 0; k < amplitudes.size(); ++k) {
            const double magnitude = std::abs(spectrum[k]);
            spectrum[k] =
                magnitude > 0 ? spectrum[k] * (amplitudes[k] / magnitude) : std::complex<double>(amplitudes[k]);
        }
        transforms.backward();
        assign_by_rank(transforms.values(), sorted, ranked, current);
        if (ranked == previous) break;
        previous = ranked;
    }
    return current;
}

}  // namespace

bool parse_surrogate_kind(std::string_view text, Surrogate_kind& kind)
{
    if (text == "shuffle") kind = Surrogate_kind::shuffle;
    else if (text == "iaaft") kind = Surrogate_kind::iaaft;
    else return false;
    return true;
}

std::string_view surrogate_kind_name(Surrogate_kind kind)
{
    return kind == Surrogate_kind::iaaft ? "iaaft" : "shuffle";
}

std::string surrogates_problem(long long count)
{
    if (count < 1 || count > Max_surrogates)
        return "the number of surrogates must be a whole number from 1 to " + std::to_string(Max_surrogates) +
               ", got " + std::to_string(count);
    return {};
}

std::vector<double> surrogate(std::span<const double> series, Surrogate_kind kind, std::uint64_t seed,
                              std::size_t index)
{
    if (series.size() < 2) throw Vantel_error("a surrogate needs a series of at least 2 values");
    Random_generator random(seed);
    for (std::size_t k = 0; k < index; ++k) random.jump();
    if (kind == Surrogate_kind::iaaft) return iaaft(series, random);
    std::vector<double> shuffled(series.begin(), series.end());
    random_permutation(shuffled, random);
    return shuffled;
}

std::vector<double> variant_series(std::span<const double> series, const Surrogate_options& options,
                                   std::size_t variant)
{
    if (variant == 0) return {series.begin(), series.end()};
    return surrogate(series, options.kind, options.seed, variant - 1);
}

Surrogate_summary summarize_surrogates(double value, std::span<const double> surrogate_values)
{
    if (surrogate_values.empty()) throw Vantel_error("no surrogate values to compare the value with");
    const double count = static_cast<double>(surrogate_values.size());
    Surrogate_summary summary;
    double sum = 0;
    for (const double v : surrogate_values) sum += v;
    summary.mean = sum / count;
    double squares = 0;
    for (const double v : surrogate_values) squares += (v - summary.mean) * (v - summary.mean);
    summary.sd = surrogate_values.size() > 1 ? std::sqrt(squares / (count - 1)) : std::nan("");
    summary.z_score = summary.sd > 0 ? (value - summary.mean) / summary.sd : std::nan("");
    const double distance = std::abs(value - summary.mean);
    std::size_t as_far = 0;
    for (const double v : surrogate_values) as_far += std::abs(v - summary.mean) >= distance;
    summary.p_value = (1 + static_cast<double>(as_far)) / (count + 1);
    return summary;
}

}  // namespace vantel
