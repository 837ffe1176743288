// SHA-256 of a byte string, as lower-case hex: fingerprints that let anyone
// check that two machines read the same data and trained the same network.
// The hashing is OpenSSL's libcrypto, which uses the processor's SHA
// instructions where it has them: the MNIST-10 files (55 MB) are
// fingerprinted in a few hundredths of a second.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace vantel {

class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;
    void update(const void* data, std::size_t size);
    std::string hex_digest();  // finishes the hash

private:
    struct Context;
    std::unique_ptr<Context> context_;
};

std::string sha256_hex(std::string_view bytes);

// The SHA-256 of a file's bytes, read in pieces; empty when it cannot be read.
std::string file_sha256(const std::string& path);

}  // namespace vantel
