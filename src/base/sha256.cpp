#include "base/sha256.h"

#include <openssl/evp.h>

#include <cstdio>
#include <new>

namespace vantel {

struct Sha256::Context {
    EVP_MD_CTX* md = EVP_MD_CTX_new();
    ~Context() { EVP_MD_CTX_free(md); }
};

Sha256::Sha256() : context_(std::make_unique<Context>())
{
    // Fails only when the library cannot allocate its state.
    if (!context_->md || EVP_DigestInit_ex(context_->md, EVP_sha256(), nullptr) != 1) throw std::bad_alloc();
}

Sha256::~Sha256() = default;

void Sha256::update(const void* data, std::size_t size)
{
    if (size > 0) EVP_DigestUpdate(context_->md, data, size);
}

std::string Sha256::hex_digest()
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(context_->md, digest, &length);
    static const char hex[] = "0123456789abcdef";
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        text += hex[digest[i] >> 4];
        text += hex[digest[i] & 0xF];
    }
    return text;
}

std::string file_sha256(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return {};
    Sha256 hash;
    char piece[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(piece, 1, sizeof piece, file)) > 0) hash.update(piece, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return failed ? std::string() : hash.hex_digest();
}

std::string sha256_hex(std::string_view bytes)
{
    Sha256 hash;
    hash.update(bytes.data(), bytes.size());
    return hash.hex_digest();
}

}  // namespace vantel
