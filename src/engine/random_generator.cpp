#include "engine/random_generator.h"

#include <utility>

namespace vantel {

namespace {

std::uint64_t rotated_left(std::uint64_t x, int k)
{
    return (x << k) | (x >> (64 - k));
}

std::uint64_t splitmix64(std::uint64_t& state)
{
    std::uint64_t z = (state += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

}  // namespace

Random_generator::Random_generator(std::uint64_t seed)
{
    for (std::uint64_t& word : state_) word = splitmix64(seed);
}

std::uint64_t Random_generator::next()
{
    const std::uint64_t result = rotated_left(state_[1] * 5, 7) * 9;
    const std::uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = rotated_left(state_[3], 45);
    return result;
}

void Random_generator::jump()
{
    static constexpr std::uint64_t Jump[] = {0x180EC6D33CFD0ABAu, 0xD5A61266F0C9392Cu, 0xA9582618E03FC9AAu,
                                             0x39ABDC4529B1661Cu};
    std::array<std::uint64_t, 4> jumped{};
    for (const std::uint64_t word : Jump)
        for (int bit = 0; bit < 64; ++bit) {
            if (word & (std::uint64_t{1} << bit))
                for (std::size_t i = 0; i < 4; ++i) jumped[i] ^= state_[i];
            next();
        }
    state_ = jumped;
}

std::uint64_t Random_generator::below(std::uint64_t bound)
{
    // 2^64 mod bound: the draws under it would make the low numbers likelier.
    const std::uint64_t rejected = (0 - bound) % bound;
    for (;;) {
        const std::uint64_t draw = next();
        if (draw >= rejected) return draw % bound;
    }
}

void random_permutation(std::span<double> values, Random_generator& random)
{
    for (std::size_t i = values.size(); i > 1; --i) std::swap(values[i - 1], values[random.below(i)]);
}

}  // namespace vantel
