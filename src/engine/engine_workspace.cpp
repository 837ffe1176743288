#include "engine/engine_workspace.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>

#include "engine/extended_arithmetic.h"
#include "engine/image_loop.h"
#include "engine/input_vector.h"
#include "engine/raw_sums.h"

namespace vantel {

namespace {

constexpr int W1_cells = (Last_input + 1) * (Neurons + 1);
constexpr int Bound_cells = 3 * (Neurons + 1);

bool same_doubles(const std::vector<double>& saved, const double* current, std::size_t count)
{
    return saved.size() == count && std::memcmp(saved.data(), current, count * sizeof(double)) == 0;
}

bool W1_all_finite(const Vedero_network& net)
{
    for (int i = 0; i <= Last_input; ++i)
        for (int j = 1; j <= Neurons; ++j)
            if (!std::isfinite(net.W1[i][j])) return false;
    return true;
}

// Offset in the image record of the pixel that feeds input m, or -1 when the
// T-pattern entry lies outside the image (the builder then feeds 0).
std::array<int, Last_input + 1> gather_offsets(const Pattern_datasets& datasets)
{
    std::array<int, Last_input + 1> offsets{};
    offsets[0] = -1;
    for (int m = 1; m <= Last_input; ++m) {
        const T_pair p = datasets.T_pattern_table[m];
        offsets[static_cast<std::size_t>(m)] = inside_image(p) ? Image_side * (p.column - 1) + p.row : -1;
    }
    return offsets;
}

void make_sparse(const std::uint8_t (*images)[Record_bytes], int count,
                 const std::array<int, Last_input + 1>& offsets, Sparse_images& sparse)
{
    sparse.start.assign(static_cast<std::size_t>(count) + 2, 0);
    // First the number of nonzero inputs of each image, then the entries
    // (integers only: no floating-point mode matters here).
#pragma omp parallel for schedule(dynamic, Image_chunk)
    for (int k = 1; k <= count; ++k) {
        std::uint32_t n = 0;
        for (int m = 1; m <= Last_input; ++m) {
            const int at = offsets[static_cast<std::size_t>(m)];
            if (at >= 0 && images[k][at] != 0) ++n;
        }
        sparse.start[static_cast<std::size_t>(k) + 1] = n;
    }
    for (int k = 1; k <= count; ++k) sparse.start[k + 1] += sparse.start[k];
    sparse.input.resize(sparse.start[static_cast<std::size_t>(count) + 1]);
    sparse.pixel.resize(sparse.input.size());
#pragma omp parallel for schedule(dynamic, Image_chunk)
    for (int k = 1; k <= count; ++k) {
        std::uint32_t t = sparse.start[k];
        for (int m = 1; m <= Last_input; ++m) {
            const int at = offsets[static_cast<std::size_t>(m)];
            if (at < 0 || images[k][at] == 0) continue;
            sparse.input[t] = static_cast<std::uint16_t>(m);
            sparse.pixel[t] = images[k][at];
            ++t;
        }
    }
}

bool same_pattern(const std::vector<T_pair>& saved, const Pattern_datasets& datasets)
{
    return saved.size() == Last_input + 1 &&
           std::memcmp(saved.data(), datasets.T_pattern_table, sizeof datasets.T_pattern_table) == 0;
}

void refresh_sparse(Engine_workspace& ws, const Pattern_datasets& datasets)
{
    if (!ws.sparse_cache) ws.sparse_cache = std::make_shared<Sparse_image_cache>();
    auto set = ws.sparse_cache->current(datasets, ws.counts);
    if (set == ws.sparse) return;
    ws.sparse = std::move(set);
    // Raw sums made from the old images are stale too.
    ws.train_raw.valid = false;
    ws.test_raw.valid = false;
    ws.hidden_valid = false;
}

void raw_sums_dense(const double (*W1)[Neurons + 1], const double* Y, double* sums)
{
    double acc[Neurons];
    for (int j = 0; j < Neurons; ++j) acc[j] = 0.0;
    for (int i = 0; i <= Last_input; ++i) {
        const double y = Y[i];
        const double* w = &W1[i][1];
        for (int j = 0; j < Neurons; ++j) acc[j] = add_product(acc[j], y, w[j]);
    }
    std::memcpy(sums, acc, sizeof acc);
}

bool raw_made_from_current(const Raw_sums& raw, const Engine_workspace& ws, const Vedero_network& net,
                           const Pattern_datasets& datasets)
{
    return raw.made_from_datasets == datasets.Identity && ws.sparse && raw.made_from_sparse == ws.sparse->serial &&
           same_doubles(raw.made_from_W1, &net.W1[0][0], W1_cells);
}

const Raw_sums& refresh_raw(Engine_workspace& ws, const Vedero_network& net, const Pattern_datasets& datasets,
                            Raw_sums& raw, const Sparse_images& sparse, const std::uint8_t (*images)[Record_bytes],
                            int count)
{
    const double* W1 = &net.W1[0][0];
    if (raw.valid && raw_made_from_current(raw, ws, net, datasets)) return raw;

    if (ws.lean && &raw == &ws.train_raw) {
        // The hidden vectors live in this buffer and go now. Room for them is
        // taken at once: growing the buffer later would hold two copies.
        ws.hidden_valid = false;
        raw.sums.reserve(static_cast<std::size_t>(count + 1) * Hidden_width);
    }
    raw.sums.resize(static_cast<std::size_t>(count + 1) * Neurons);
    raw.overflowed.assign(static_cast<std::size_t>(count) + 1, 0);
    // A zero input adds 0 x W1[i][j], which is a signed zero only while
    // W1[i][j] is finite; an infinite or NaN weight makes it NaN, so then
    // every input is summed.
    const bool sparse_ok = W1_all_finite(net);
    const Distinct_columns columns = distinct_columns(net.W1);
    if (sparse_ok && columns.count < Neurons)
        raw_sums_by_distinct_columns(net.W1, columns, sparse, 1, count, raw.sums.data(), raw.overflowed.data());
    else
        for_each_image(
        count,
        [&](int k) {
            double* out = &raw.sums[static_cast<std::size_t>(k) * Neurons];
            if (sparse_ok) {
                const std::uint32_t from = sparse.start[k];
                raw_sums_of_image(net.W1, &sparse.input[from], &sparse.pixel[from], sparse.start[k + 1] - from,
                                  out);
            } else {
                double Y[Last_input + 1];
                build_input_vector(datasets, images[k], Y);
                raw_sums_dense(net.W1, Y, out);
            }
        },
        [&](int k) { raw.overflowed[k] = 1; });
    raw.made_from_W1.assign(W1, W1 + W1_cells);
    raw.made_from_datasets = datasets.Identity;
    raw.made_from_sparse = ws.sparse->serial;
    ++raw.version;
    raw.valid = true;
    return raw;
}

void bounds_of(const Vedero_network& net, double* bounds)
{
    std::memcpy(bounds, net.Sh_max, sizeof net.Sh_max);
    std::memcpy(bounds + Neurons + 1, net.Sh_min, sizeof net.Sh_min);
    std::memcpy(bounds + 2 * (Neurons + 1), net.Sh_mean, sizeof net.Sh_mean);
}

// The hidden vectors in place of the raw sums: row k moves from [k x 25] to
// [k x 26]. Going from the last image down, every row is written only over
// raw sums that have been read already.
void make_hidden_in_place(const Vedero_network& net, Raw_sums& raw, std::vector<std::uint8_t>& overflowed,
                          int count)
{
    raw.sums.resize(static_cast<std::size_t>(count + 1) * Hidden_width);
    overflowed.resize(static_cast<std::size_t>(count) + 1);
    double* rows = raw.sums.data();
    clear_overflow();
    for (int k = count; k >= 1; --k) {
        hidden_from_raw(net, rows + static_cast<std::size_t>(k) * Neurons,
                        rows + static_cast<std::size_t>(k) * Hidden_width);
        overflowed[k] = raw.overflowed[k];
        if (overflow_raised()) {
            overflowed[k] = 1;
            clear_overflow();
        }
    }
    // The buffer holds no raw sums any more; what they were made from stays
    // recorded, for telling whether the hidden vectors are current.
    raw.valid = false;
}

}  // namespace

std::shared_ptr<const Sparse_set> Sparse_image_cache::current(const Pattern_datasets& datasets,
                                                              Image_counts counts)
{
    static std::atomic<std::uint64_t> serials{0};
    const std::lock_guard<std::mutex> hold(lock_);
    if (set_ && set_->datasets_identity == datasets.Identity && same_pattern(set_->pattern, datasets) &&
        set_->counts.train == counts.train && set_->counts.test == counts.test)
        return set_;
    auto made = std::make_shared<Sparse_set>();
    const auto offsets = gather_offsets(datasets);
    make_sparse(datasets.Train_images, counts.train, offsets, made->train_images);
    make_sparse(datasets.Test_images, counts.test, offsets, made->test_images);
    made->pattern.assign(datasets.T_pattern_table, datasets.T_pattern_table + Last_input + 1);
    made->datasets_identity = datasets.Identity;
    made->counts = counts;
    made->serial = ++serials;
    set_ = std::move(made);
    return set_;
}

void prepare_sparse_images(Engine_workspace& ws, const Pattern_datasets& datasets)
{
    refresh_sparse(ws, datasets);
}

const double* train_hidden_rows(const Engine_workspace& ws)
{
    return ws.lean ? ws.train_raw.sums.data() : ws.hidden.data();
}

void raw_sums_of_image(const double (*W1)[Neurons + 1], const std::uint16_t* input,
                       const std::uint8_t* pixel, std::uint32_t nonzero, double* sums)
{
    // The literal sum runs over all 785 inputs in order. Leaving out the
    // inputs that are 0 changes no value: with W1 finite such a term is a
    // zero, and acc + (+-0) is acc itself unless acc is a zero, where at most
    // the sign of that zero can differ. A signed zero cannot change any later
    // result either: comparisons treat -0 and +0 as equal, a sum or product
    // with a zero operand differs only in the sign of a zero result, expl
    // gives 1 for both, and the only divisor made from data, Sh_max - Sh_min,
    // is used only when it is not zero. So the bounds, the means, the weights
    // and the accuracy agree with the literal sum, up to the sign of zeros.
    const std::array<double, 256>& value = scaled_pixels();
    double acc[Neurons];
    for (int j = 0; j < Neurons; ++j) acc[j] = add_product(0.0, 1.0, W1[0][j + 1]);  // bias, Y[0] = 1
    for (std::uint32_t t = 0; t < nonzero; ++t) {
        const double y = value[pixel[t]];
        const double* w = &W1[input[t]][1];
        for (int j = 0; j < Neurons; ++j) acc[j] = add_product(acc[j], y, w[j]);
    }
    std::memcpy(sums, acc, sizeof acc);
}

void hidden_from_raw(const Vedero_network& net, const double* raw, double* Sh)
{
    for (int j = Neurons; j >= 1; --j)
        Sh[j] = normalized_value(raw[j - 1], net.Sh_max[j], net.Sh_min[j], net.Sh_mean[j]);
    Sh[0] = 1.0;
}

const Raw_sums& current_train_raw_sums(Engine_workspace& ws, const Vedero_network& net,
                                       const Pattern_datasets& datasets)
{
    refresh_sparse(ws, datasets);
    return refresh_raw(ws, net, datasets, ws.train_raw, ws.sparse->train_images, datasets.Train_images,
                       ws.counts.train);
}

const Raw_sums& current_test_raw_sums(Engine_workspace& ws, const Vedero_network& net,
                                      const Pattern_datasets& datasets)
{
    refresh_sparse(ws, datasets);
    return refresh_raw(ws, net, datasets, ws.test_raw, ws.sparse->test_images, datasets.Test_images,
                       ws.counts.test);
}

void refresh_train_hidden(Engine_workspace& ws, const Vedero_network& net, const Pattern_datasets& datasets)
{
    double bounds[Bound_cells];
    bounds_of(net, bounds);
    const int count = ws.counts.train;

    if (ws.lean) {
        refresh_sparse(ws, datasets);
        if (ws.hidden_valid && raw_made_from_current(ws.train_raw, ws, net, datasets) &&
            ws.hidden_raw_version == ws.train_raw.version && same_doubles(ws.hidden_made_from, bounds, Bound_cells))
            return;
        current_train_raw_sums(ws, net, datasets);
        make_hidden_in_place(net, ws.train_raw, ws.hidden_overflowed, count);
        ws.hidden_made_from.assign(bounds, bounds + Bound_cells);
        ws.hidden_raw_version = ws.train_raw.version;
        ws.hidden_valid = true;
        return;
    }

    const Raw_sums& raw = current_train_raw_sums(ws, net, datasets);
    if (ws.hidden_valid && ws.hidden_raw_version == raw.version &&
        same_doubles(ws.hidden_made_from, bounds, Bound_cells))
        return;

    ws.hidden.resize(static_cast<std::size_t>(count + 1) * Hidden_width);
    ws.hidden_overflowed.resize(static_cast<std::size_t>(count) + 1);
    for_each_image(
        count,
        [&](int k) {
            hidden_from_raw(net, &raw.sums[static_cast<std::size_t>(k) * Neurons],
                            &ws.hidden[static_cast<std::size_t>(k) * Hidden_width]);
            ws.hidden_overflowed[k] = raw.overflowed[k];
        },
        [&](int k) { ws.hidden_overflowed[k] = 1; });
    ws.hidden_made_from.assign(bounds, bounds + Bound_cells);
    ws.hidden_raw_version = raw.version;
    ws.hidden_valid = true;
}

}  // namespace vantel
