// What each MNIST-10 file must be before its records are read: the header of
// the published idx layout (big-endian 32-bit fields: the magic number, the
// record count and, for images, the rows and columns) and a size of exactly
// the header and the records, nothing more.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vantel {

struct Mnist_layout {
    const char* record_name;     // "images" or "labels"
    std::uint32_t magic;         // 2051 for images, 2049 for labels
    std::uint32_t count;         // 60000 training or 10000 test records
    std::uint64_t header_bytes;  // 16 for images, 8 for labels
    std::uint64_t record_bytes;  // 784 for images, 1 for labels

    std::uint64_t file_size() const { return header_bytes + record_bytes * count; }
};

Mnist_layout images_layout(std::uint32_t count);
Mnist_layout labels_layout(std::uint32_t count);

// The message for a file of `file_size` bytes that starts with `header`
// (its first header_bytes bytes, or all of them when it is shorter), or
// empty when the file has the layout. It names the file by `path`, says
// what was expected and what was found, and reports the first difference
// in the order magic, count, rows and columns, size.
std::string mnist_file_problem(const Mnist_layout& layout, const std::string& path,
                               std::span<const std::uint8_t> header, std::uint64_t file_size);

}  // namespace vantel
