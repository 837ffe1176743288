// Searches for the inputs that test the fast sigmoid's rounding margin
// hardest, and prints them as rows for the short test's table.
//
// The fast path keeps its estimate's rounding only when the estimate widened
// by the margin (12 u to each side) still rounds to one double; otherwise it
// hands the input to expl. For each handed-over input the program finds by
// bisection the narrowest margin that still hands it over. Two kinds count:
//   - at the edge: the estimate and the literal result round alike, and the
//     narrowest margin is close below 12 u, so a margin only slightly
//     narrower keeps the input on the fast path;
//   - crossing: the estimate rounds to another double than the literal
//     result, so any margin below the narrowest one returns a wrong double.
// Inputs come from the comparison's sample families (only those in the
// general path); for each family the program keeps the inputs of either
// kind whose narrowest margin is widest.
//
// Usage: find_sigmoid_hard_inputs [samples per family, default 20000000] [seed, default 1]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/sigmoid_comparison.h"

using namespace vantel;
using namespace vantel::test;

namespace {

constexpr std::size_t Kept = 6;  // of each kind, per family

struct Found {
    double x;
    double narrowest;  // margin in u that still hands x over
};

// The fast path's test with another margin: whether x goes to expl.
bool hands_over(double x, Extended margin)
{
    const Extended s = fast_sigmoid_detail::sigmoid_estimate(x);
    const Extended w = s * margin;
    return static_cast<double>(s - w) != static_cast<double>(s + w);
}

// The narrowest margin, in u, with which x still goes to expl (x must go
// with the full margin). The test is monotone in the margin.
double narrowest_margin(double x)
{
    Extended low = 0, high = fast_sigmoid_detail::Rounding_margin;
    for (int step = 0; step < 48; ++step) {
        const Extended middle = (low + high) / 2;
        (hands_over(x, middle) ? high : low) = middle;
    }
    return static_cast<double>(high * 0x1p64L);
}

// The `Kept` inputs of widest narrowest margin.
void keep_widest(std::vector<Found>& kept, Found found)
{
    for (const Found& k : kept)
        if (k.x == found.x) return;
    if (kept.size() < Kept) {
        kept.push_back(found);
        return;
    }
    auto least = std::min_element(kept.begin(), kept.end(),
                                  [](const Found& a, const Found& b) { return a.narrowest < b.narrowest; });
    if (found.narrowest > least->narrowest) *least = found;
}

void print(const char* kind, const std::string& family, std::vector<Found> kept)
{
    std::sort(kept.begin(), kept.end(), [](const Found& a, const Found& b) { return a.narrowest > b.narrowest; });
    for (const Found& k : kept)
        std::printf("        %a,  // %s, %s: %.6f u\n", k.x, kind, family.c_str(), k.narrowest);
}

}  // namespace

int main(int argc, char** argv)
{
    const long samples = argc > 1 ? std::atol(argv[1]) : 20'000'000;
    const std::uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    std::printf("// %ld samples per family, seed %llu: x, its kind, family and narrowest margin\n", samples,
                static_cast<unsigned long long>(seed));
    double widest_crossing = 0;
    std::uint64_t family_seed = seed * 1000;
    for (const Sample_family& family : sample_families()) {
        Random random(family_seed++);
        std::vector<Found> edge, crossing;
        long general = 0, handed_over = 0, crossings = 0;
        for (long i = 0; i < samples; ++i) {
            const double x = family.draw(random);
            if (!(x > fast_sigmoid_detail::Zero_from && x < fast_sigmoid_detail::One_from)) continue;
            ++general;
            double served;
            const bool fast = try_fast_sigmoid(x, served);
            if (fast == hands_over(x, fast_sigmoid_detail::Rounding_margin)) {
                std::fprintf(stderr, "the copy of the fast path's test differs from it at x = %a\n", x);
                return 1;
            }
            if (fast) continue;
            ++handed_over;
            const Found found{x, narrowest_margin(x)};
            if (static_cast<double>(fast_sigmoid_detail::sigmoid_estimate(x)) != sigmoid(x)) {
                ++crossings;
                keep_widest(crossing, found);
                widest_crossing = std::max(widest_crossing, found.narrowest);
            } else {
                keep_widest(edge, found);
            }
        }
        std::printf("// %s: %ld in the general path, %ld handed over, %ld crossings\n", family.name.c_str(),
                    general, handed_over, crossings);
        print("edge", family.name, edge);
        print("crossing", family.name, crossing);
    }
    std::printf("// widest narrowest margin of a crossing: %.6f u; only a margin below it returns a wrong double\n",
                widest_crossing);
}
