// Step 5: each reservoir neuron's range over the training images and its
// mean over the first 1000, from the cached raw sums.
#include "engine/normalization.h"

#include <algorithm>

#include "base/error.h"
#include "engine/extended_arithmetic.h"
#include "engine/input_vector.h"

namespace vantel {

namespace {

constexpr int Mean_images = 1000;

}  // namespace

void measure_bounds(Engine_workspace& ws, Vedero_network& net, const Pattern_datasets& datasets)
{
    for (int j = 0; j <= Neurons; ++j) net.Sh_max[j] = 0.0;
    for (int j = 0; j <= Neurons; ++j) net.Sh_min[j] = 100.0;

    const Raw_sums& raw = current_train_raw_sums(ws, net, datasets);
    const int count = ws.counts.train;
    const auto& images = datasets.Train_images;

    // The range, in image order: a strict comparison keeps the first of
    // equal values, as the scan over the images does.
    for (int k = 1; k <= count; ++k) {
        const double* sums = &raw.sums[static_cast<std::size_t>(k) * Neurons];
        net.Sh_max[0] = 1.0;
        net.Sh_min[0] = 1.0;
        for (int j = 1; j <= Neurons; ++j) {
            const double v = sums[j - 1];
            if (v > net.Sh_max[j]) net.Sh_max[j] = v;
            if (v < net.Sh_min[j]) net.Sh_min[j] = v;
        }
        if (raw.overflowed[k]) {
            build_input_vector(datasets, images[k], net.Y);
            net.Sh[0] = 1.0;
            std::copy(sums, sums + Neurons, net.Sh + 1);
            throw Overflow_error();
        }
    }
    if (count >= 1) {
        const double* last = &raw.sums[static_cast<std::size_t>(count) * Neurons];
        net.Sh[0] = 1.0;
        std::copy(last, last + Neurons, net.Sh + 1);
    }

    // The mean of the normalized value, neuron by neuron, with the running
    // sum rounded after every addition.
    const int summed = std::min(Mean_images, count);
    clear_overflow();
    for (int j = 1; j <= Neurons; ++j) {
        double S = 0.0;
        for (int k = 1; k <= summed; ++k) {
            const double raw_sum = raw.sums[static_cast<std::size_t>(k) * Neurons + j - 1];
            net.Sh[j] = normalized_value(raw_sum, net.Sh_max[j], net.Sh_min[j], 0.0);
            S = sum_rounded(S, net.Sh[j]);
            if (overflow_raised()) {
                build_input_vector(datasets, images[k], net.Y);
                throw Overflow_error();
            }
        }
        net.Sh_mean[j] = static_cast<double>(static_cast<Extended>(S) / summed);
    }
    // The pass over neuron 25 ends with image 1000 in Y.
    if (summed >= 1) build_input_vector(datasets, images[summed], net.Y);
}

}  // namespace vantel
