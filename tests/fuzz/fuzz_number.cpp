// The number parser over any field text. Whatever the text, the parser
// returns a finite double or raises exactly the overflow error, and the
// rules a user relies on hold: "." and "," read alike, and spaces around
// the number change nothing. is_number_text agrees with it: a text that is
// not a number reads as 0, and one that reads as anything else is a number.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "model/session.h"
#include "fuzz_support.h"
#include "series/series_reader.h"
#include "series/text_readers.h"

namespace {

// The value, or nothing when the parser reported the overflow.
std::optional<double> parse(const std::string& field)
{
    try {
        return vantel::parse_number(field);
    } catch (const vantel::Vantel_error& error) {
        FUZZ_CHECK(std::string(error.what()) == "Floating point overflow");
        return std::nullopt;
    }
}

bool same(const std::optional<double>& a, const std::optional<double>& b)
{
    if (!a || !b) return !a && !b;
    return std::memcmp(&*a, &*b, sizeof(double)) == 0;  // tells -0 from +0
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string field(reinterpret_cast<const char*>(data), size);
    const auto value = parse(field);
    if (value) FUZZ_CHECK(std::isfinite(*value));
    if (!vantel::is_number_text(field)) FUZZ_CHECK(value && *value == 0.0);

    std::string swapped = field;
    for (char& c : swapped) c = c == ',' ? '.' : c == '.' ? ',' : c;
    FUZZ_CHECK(same(parse(swapped), value));

    FUZZ_CHECK(same(parse("  " + field + " "), value));
    return 0;
}
