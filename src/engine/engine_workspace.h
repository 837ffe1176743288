// Engine_workspace: what steps 5, 7 and 8 compute once and reuse.
//
// A raw sum depends only on the image and W1, so each image's 25 raw sums are
// computed once per W1 (and per datasets identity) and kept; step 5, every
// epoch of step 7 and step 8 read them instead of repeating 785 terms per
// neuron. Step 7 also keeps the whole normalized hidden vector of every
// training image, which depends only on the raw sums, the bounds and the
// means. Every cache remembers the contents it was made from and is checked
// against the network and the datasets at the start of a step and after
// every pump, since a handler run inside a pump may change W1, the bounds,
// the means or the datasets; a stale cache is made again before the next
// image uses it.
//
// A workspace belongs to one network (the window's, or one Network of the
// computation API); its arrays are allocated once, at their full size.
//
// The sparse images depend only on the datasets, so networks that share one
// loaded set of datasets also share one Sparse_image_cache; a lean workspace
// keeps the training images' hidden vectors in the buffer of their raw sums
// (see Engine_workspace::lean).
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/engine_state.h"

namespace vantel {

// How many images the steps walk through. The program always uses the full
// datasets; tests shrink them so that a literal recomputation stays quick.
struct Image_counts {
    int train = Train_count;
    int test = Test_count;
};

// The pixels of each image that are not zero, in input order: the other
// inputs add only signed zeros to a raw sum (see raw_sums_of_image).
struct Sparse_images {
    std::vector<std::uint32_t> start;  // image k's entries are [start[k], start[k + 1])
    std::vector<std::uint16_t> input;  // the input index m of Y (1..784)
    std::vector<std::uint8_t> pixel;   // the byte that becomes Y[m] = pixel / 255
};

// The sparse images of one datasets identity, T-pattern and image counts.
// Never changed once made: a change of the datasets makes a new set, and a
// network still reading the old one keeps it alive.
struct Sparse_set {
    std::uint64_t serial = 0;  // tells sets apart, unique in the process
    std::uint64_t datasets_identity = 0;
    Image_counts counts;
    std::vector<T_pair> pattern;
    Sparse_images train_images;
    Sparse_images test_images;
};

// The current sparse set of one Pattern_datasets, for every network that
// works on it; safe to use from several threads at once.
class Sparse_image_cache {
public:
    // The set made from the datasets as they are now, made first when the
    // one held is stale; the first caller makes it, the others wait for it.
    std::shared_ptr<const Sparse_set> current(const Pattern_datasets& datasets, Image_counts counts);

private:
    std::mutex lock_;
    std::shared_ptr<const Sparse_set> set_;
};

// A hidden vector's width: the bias Sh[0] and neurons 1..25.
inline constexpr int Hidden_width = Neurons + 1;

// Raw sums of neurons 1..25 for images 1..count, row k at [k x 25].
struct Raw_sums {
    bool valid = false;
    std::uint64_t made_from_datasets = 0;  // identity of the datasets
    std::uint64_t made_from_sparse = 0;  // serial of the sparse set
    std::vector<double> made_from_W1;   // (785 x 26) copy of W1
    std::vector<double> sums;           // (count + 1) x 25
    std::vector<std::uint8_t> overflowed;  // the image's sums left the double range
    std::uint64_t version = 0;          // changes whenever sums are made again
};

struct Engine_workspace {
    Image_counts counts;

    // Lean: the hidden vectors of the training images are made in place of
    // their raw sums, in one buffer, which roughly halves the memory of a
    // network (26 MB to 13 MB). The raw sums are then made again whenever a
    // step needs them once more, where a full workspace keeps both: right
    // for a network that runs each step once per series, wrong for the
    // window, whose steps the user repeats.
    bool lean = false;

    // Shared by every network on the same datasets; made on first use.
    std::shared_ptr<Sparse_image_cache> sparse_cache;
    std::shared_ptr<const Sparse_set> sparse;  // the set the raw sums come from

    Raw_sums train_raw;
    Raw_sums test_raw;

    // Normalized hidden vectors Sh[0..25] of the training images, row k at
    // [k x 26], made from train_raw (version), the bounds and the means.
    // A lean workspace holds them in train_raw.sums instead.
    bool hidden_valid = false;
    std::uint64_t hidden_raw_version = 0;
    std::vector<double> hidden_made_from;  // Sh_max, Sh_min, Sh_mean (3 x 26)
    std::vector<double> hidden;
    std::vector<std::uint8_t> hidden_overflowed;  // raw sums or their normalization overflowed

    // Step 8's verdict per test image, counted in order afterwards.
    std::vector<std::uint8_t> test_outcome;
};

// Brings the sparse images and the raw sums of the training (or test) images
// up to date with W1 and the datasets; does nothing when they are current.
const Raw_sums& current_train_raw_sums(Engine_workspace& ws, const Vedero_network& net,
                                       const Pattern_datasets& datasets);
const Raw_sums& current_test_raw_sums(Engine_workspace& ws, const Vedero_network& net,
                                      const Pattern_datasets& datasets);

// Brings the normalized hidden vectors of the training images up to date
// with W1, the bounds, the means and the datasets.
void refresh_train_hidden(Engine_workspace& ws, const Vedero_network& net, const Pattern_datasets& datasets);

// Row k of the training images' hidden vectors, at [k x 26], as the last
// refresh_train_hidden made them.
const double* train_hidden_rows(const Engine_workspace& workspace);

// Makes the sparse images of the datasets now, so that networks sharing
// them later only read them.
void prepare_sparse_images(Engine_workspace& ws, const Pattern_datasets& datasets);

// The 25 raw sums of one image whose nonzero inputs are given, in input
// order; W1 must hold finite values only.
void raw_sums_of_image(const double (*W1)[Neurons + 1], const std::uint16_t* input,
                       const std::uint8_t* pixel, std::uint32_t nonzero, double* sums);

// Sh[0..25] from the raw sums of one image, as the reservoir forward pass
// makes it. Sh may overlap raw if it does not start before it: the neurons
// are written from the last down, each after the raw sums it replaces have
// been read.
void hidden_from_raw(const Vedero_network& net, const double* raw, double* Sh);

}  // namespace vantel
