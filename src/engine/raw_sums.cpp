#include "engine/raw_sums.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <utility>

#include "engine/extended_arithmetic.h"
#include "engine/fp_environment.h"
#include "engine/input_vector.h"

namespace vantel {

namespace {

bool same_column(const double (*W1)[Neurons + 1], int a, int b)
{
    for (int i = 0; i <= Last_input; ++i)
        if (std::memcmp(&W1[i][a], &W1[i][b], sizeof(double)) != 0) return false;
    return true;
}

// Independent chains the kernel keeps in flight: one step of a chain (a
// multiply, an add and the rounding store) takes about ten times as long as
// the unit needs to start the next independent one.
constexpr int Chains_in_flight = 12;

// Images per piece of work handed to a thread: the side-by-side chains run
// short of work only at the end of a piece.
constexpr int Piece = 2048;

// D distinct columns of W1, summed for `Slots` images side by side. Each
// slot walks one image's nonzero inputs; when it has added the last, its
// sums are copied out and it takes the next image of the range. A chain's
// terms are the bias, then the nonzero inputs in input order, each added by
// add_product: the order raw_sums_of_image keeps.
//
// An image overflowed when one of its sums is infinite: every product is
// finite (a pixel value of at most 1 times a finite weight), so a running
// sum becomes infinite only by a rounding that overflows, and then stays
// infinite, since adding a finite product to an infinity gives it back.
template <int D>
void sum_side_by_side(const double (*W1)[Neurons + 1], const Distinct_columns& columns, const Sparse_images& sparse,
                      int first, int last, double* sums, std::uint8_t* overflowed)
{
    constexpr int Slots = (Chains_in_flight + D - 1) / D;
    const double* value = scaled_pixels().data();
    int column[D];
    for (int c = 0; c < D; ++c) column[c] = columns.neuron[c];

    double acc[Slots][D];
    const std::uint16_t* input[Slots];
    const std::uint8_t* pixel[Slots];
    std::uint32_t left[Slots];
    int image[Slots];
    int next = first;

    // Slot s takes the next image; false when there is none.
    const auto take = [&](int s) {
        if (next > last) {
            image[s] = 0;
            left[s] = 0;
            return false;
        }
        const int k = next++;
        image[s] = k;
        const std::uint32_t from = sparse.start[k];
        input[s] = &sparse.input[from];
        pixel[s] = &sparse.pixel[from];
        left[s] = sparse.start[k + 1] - from;
        for (int c = 0; c < D; ++c) acc[s][c] = add_product(0.0, 1.0, W1[0][column[c]]);  // bias, Y[0] = 1
        return true;
    };
    const auto finish = [&](int s) {
        const int k = image[s];
        double* row = sums + static_cast<std::size_t>(k) * Neurons;
        bool infinite = false;
        for (int c = 0; c < D; ++c) infinite |= std::isinf(acc[s][c]);
        for (int j = 1; j <= Neurons; ++j) row[j - 1] = acc[s][columns.column_of[j]];
        if (infinite) overflowed[k] = 1;
    };

    int running = 0;
    for (int s = 0; s < Slots; ++s) running += take(s);
    while (running > 0) {
        for (int s = 0; s < Slots; ++s) {
            if (left[s] != 0) {
                const double y = value[*pixel[s]];
                const double* w = W1[*input[s]];
                for (int c = 0; c < D; ++c) acc[s][c] = add_product(acc[s][c], y, w[column[c]]);
                ++pixel[s];
                ++input[s];
                --left[s];
            } else if (image[s] != 0) {
                finish(s);
                if (!take(s)) --running;
            }
        }
    }
}

using Kernel = void (*)(const double (*)[Neurons + 1], const Distinct_columns&, const Sparse_images&, int, int,
                        double*, std::uint8_t*);

template <std::size_t... D>
constexpr auto kernel_table(std::index_sequence<D...>)
{
    return std::array<Kernel, sizeof...(D)>{&sum_side_by_side<static_cast<int>(D) + 1>...};
}

constexpr auto kernels = kernel_table(std::make_index_sequence<Neurons>());

}  // namespace

Distinct_columns distinct_columns(const double (*W1)[Neurons + 1])
{
    Distinct_columns d;
    for (int j = 1; j <= Neurons; ++j) {
        int c = 0;
        while (c < d.count && !same_column(W1, d.neuron[c], j)) ++c;
        if (c == d.count) d.neuron[d.count++] = j;
        d.column_of[j] = c;
    }
    return d;
}

void raw_sums_by_distinct_columns(const double (*W1)[Neurons + 1], const Distinct_columns& columns,
                                  const Sparse_images& sparse, int first, int last, double* sums,
                                  std::uint8_t* overflowed)
{
    const Kernel kernel = kernels[static_cast<std::size_t>(columns.count - 1)];
    const int pieces = last < first ? 0 : (last - first) / Piece + 1;
#pragma omp parallel
    {
        const Fp_mode_scope mode;
#pragma omp for schedule(dynamic, 1)
        for (int p = 0; p < pieces; ++p) {
            const int from = first + p * Piece;
            kernel(W1, columns, sparse, from, std::min(last, from + Piece - 1), sums, overflowed);
        }
        // The flag is read per image from the sums, never from here.
        clear_overflow();
    }
}

}  // namespace vantel
