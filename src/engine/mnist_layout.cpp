#include "engine/mnist_layout.h"

#include "engine/engine_state.h"

namespace vantel {

namespace {

constexpr std::uint32_t Images_magic = 2051;
constexpr std::uint32_t Labels_magic = 2049;

std::uint32_t big_endian_field(std::span<const std::uint8_t> header, std::size_t index)
{
    const std::size_t at = 4 * index;
    return std::uint32_t{header[at]} << 24 | std::uint32_t{header[at + 1]} << 16 |
           std::uint32_t{header[at + 2]} << 8 | std::uint32_t{header[at + 3]};
}

bool is_images(const Mnist_layout& layout)
{
    return layout.magic == Images_magic;
}

// What the header says, or empty when it says what the layout does.
std::string header_problem(const Mnist_layout& layout, std::span<const std::uint8_t> header)
{
    const std::uint32_t magic = big_endian_field(header, 0);
    if (magic != layout.magic)
        return "its header says " + std::to_string(magic) + " where " + (is_images(layout) ? "an" : "a") + " " +
               layout.record_name + " file says " + std::to_string(layout.magic);
    const std::uint32_t count = big_endian_field(header, 1);
    if (count != layout.count)
        return "its header counts " + std::to_string(count) + " " + layout.record_name + ", " +
               std::to_string(layout.count) + " expected";
    if (!is_images(layout)) return {};
    const std::uint32_t rows = big_endian_field(header, 2);
    const std::uint32_t columns = big_endian_field(header, 3);
    const auto side = static_cast<std::uint32_t>(Image_side);
    if (rows != side || columns != side)
        return "its header says images of " + std::to_string(rows) + " rows and " + std::to_string(columns) +
               " columns, " + std::to_string(side) + " and " + std::to_string(side) + " expected";
    return {};
}

}  // namespace

Mnist_layout images_layout(std::uint32_t count)
{
    return {"images", Images_magic, count, 16, Image_side * Image_side};
}

Mnist_layout labels_layout(std::uint32_t count)
{
    return {"labels", Labels_magic, count, 8, 1};
}

std::string mnist_file_problem(const Mnist_layout& layout, const std::string& path,
                               std::span<const std::uint8_t> header, std::uint64_t file_size)
{
    const std::uint64_t expected_size = layout.file_size();
    std::string problem;
    if (file_size >= layout.header_bytes && header.size() >= layout.header_bytes) problem = header_problem(layout, header);
    if (problem.empty() && file_size != expected_size)
        problem = "it holds " + std::to_string(file_size) + " bytes, " + std::to_string(expected_size) + " expected";
    if (problem.empty()) return {};
    return "\"" + path + "\" is not an MNIST-10 " + layout.record_name + " file of " + std::to_string(layout.count) +
           " " + layout.record_name + ": " + problem;
}

}  // namespace vantel
