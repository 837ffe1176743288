// The random numbers of surrogate series, written out here rather than
// taken from the standard library, whose distributions and shuffle differ
// between implementations: the same seed gives the same surrogates with any
// compiler, in the command and in the Python module alike.
//
// The generator is xoshiro256** (a 256-bit state, period 2^256 - 1), its
// state filled from the seed by four steps of SplitMix64. A surrogate's
// generator is the seed's, advanced by as many jumps of 2^128 draws as the
// surrogate's index: surrogates drawn on different threads, in any order,
// are those drawn one after another.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace vantel {

class Random_generator {
public:
    explicit Random_generator(std::uint64_t seed);

    std::uint64_t next();
    // Advances the generator by 2^128 draws.
    void jump();
    // A whole number in [0, bound), every one equally likely (bound > 0):
    // draws that would favour the low numbers are drawn again.
    std::uint64_t below(std::uint64_t bound);

private:
    std::array<std::uint64_t, 4> state_{};
};

// Puts `values` in a random order, every order equally likely (Fisher and
// Yates, from the last place down: place i swaps with a place below(i + 1)).
void random_permutation(std::span<double> values, Random_generator& random);

}  // namespace vantel
