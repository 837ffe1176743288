// SHA-256 of a byte string, as lower-case hex: fingerprints that let anyone
// check that two machines read the same data and trained the same network.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vantel {

class Sha256 {
public:
    Sha256();
    void update(const void* data, std::size_t size);
    std::string hex_digest();  // finishes the hash

private:
    void compress(const std::uint8_t* block);
    std::uint32_t state_[8];
    std::uint8_t buffer_[64];
    std::size_t buffered_ = 0;
    std::uint64_t total_bytes_ = 0;
};

std::string sha256_hex(std::string_view bytes);

// The SHA-256 of a file's bytes, read in pieces; empty when it cannot be read.
std::string file_sha256(const std::string& path);

}  // namespace vantel
