// The integer reader over any edit-field text. It never fails, and its two
// documented rules hold for every text: leading spaces change nothing, and a
// character that does not fit drops the sign, so appending one gives the
// magnitude of the complete reading (saturated at INT32_MAX).
#include <cstdint>
#include <limits>
#include <string>

#include "fuzz_support.h"
#include "series/text_readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using vantel::read_integer;
    constexpr std::int32_t max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t min = std::numeric_limits<std::int32_t>::min();

    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::int32_t value = read_integer(text);

    FUZZ_CHECK(read_integer("   " + text) == value);

    const std::int32_t stopped = read_integer(text + "!");
    FUZZ_CHECK(stopped >= 0);
    FUZZ_CHECK(stopped == (value == min ? max : value < 0 ? -value : value));
    return 0;
}
