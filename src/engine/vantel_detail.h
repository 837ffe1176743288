// What the engine's own code and the window model reach behind vantel.h:
// the records inside a loaded Datasets and W2's fingerprint of a network.
// Not part of the computation API.
#pragma once

#include <memory>
#include <string>

#include "engine/engine_state.h"
#include "engine/vantel.h"

namespace vantel {

struct Datasets_access {
    static const Pattern_datasets& patterns(const Datasets& datasets) { return *datasets.patterns_; }
    // The sparse images, made at loading and then only read.
    static const std::shared_ptr<Sparse_image_cache>& sparse_images(const Datasets& datasets)
    {
        return datasets.sparse_;
    }
};

// SHA-256 of W2 as 260 little-endian doubles in the order h = 0..25, o = 0..9.
std::string w2_fingerprint(const Vedero_network& net);

}  // namespace vantel
