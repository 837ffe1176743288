#include "series/text_readers.h"

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include <locale.h>
#include <stdlib.h>

#include "base/error.h"

namespace vantel {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The "C" locale, so that strtold_l reads "." whatever the process locale is.
locale_t c_locale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// The smallest magnitude that rounds to infinity when an extended value is
// stored as a double in round-to-nearest: DBL_MAX plus half an ulp,
// 2^1024 - 2^970 = (2^54 - 1) x 2^970 (exactly representable in extended).
const long double Double_overflow_limit = std::ldexp(static_cast<long double>((1ULL << 54) - 1), 970);

}  // namespace

double parse_number(std::string_view field)
{
    static_assert(std::numeric_limits<long double>::digits == 64,
                  "the number parser reads in 80-bit extended precision");
    const std::size_t n = field.size();
    std::size_t i = 0;
    while (i < n && field[i] == ' ') ++i;

    // The normalized copy: sign, digits, '.', digits, 'e', sign, digits.
    std::string normalized;
    bool negative = false;
    if (i < n && (field[i] == '+' || field[i] == '-')) {
        negative = field[i] == '-';
        normalized += field[i];
        ++i;
    }
    bool mantissa_digits = false;
    bool separator = false;
    const std::size_t integer_start = i;
    while (i < n && is_digit(field[i])) ++i;
    if (i > integer_start) {
        mantissa_digits = true;
        normalized.append(field.substr(integer_start, i - integer_start));
    }
    if (i < n && (field[i] == '.' || field[i] == ',')) {
        separator = true;
        normalized += '.';
        ++i;
        const std::size_t fraction_start = i;
        while (i < n && is_digit(field[i])) ++i;
        if (i > fraction_start) {
            mantissa_digits = true;
            normalized.append(field.substr(fraction_start, i - fraction_start));
        }
    }
    if (!mantissa_digits && !separator) return 0.0;
    if (i < n && (field[i] == 'e' || field[i] == 'E')) {
        std::string exponent = "e";
        ++i;
        if (i < n && (field[i] == '+' || field[i] == '-')) exponent += field[i++];
        const std::size_t exponent_start = i;
        while (i < n && is_digit(field[i])) ++i;
        if (i == exponent_start) return 0.0;  // "E" without digits: not a number
        exponent.append(field.substr(exponent_start, i - exponent_start));
        normalized += exponent;
    }
    while (i < n && field[i] == ' ') ++i;
    if (i != n) return 0.0;

    // A lone separator (".", "-,", ".e5") is a number without digits: zero.
    if (!mantissa_digits) return negative ? -0.0 : 0.0;

    errno = 0;
    char* end = nullptr;
    const long double extended = strtold_l(normalized.c_str(), &end, c_locale());
    if (end != normalized.c_str() + normalized.size()) return 0.0;  // cannot happen
    if (std::isinf(extended) || std::isnan(extended) ||
        std::fabs(extended) >= Double_overflow_limit)
        throw Vantel_error("Floating point overflow");
    return static_cast<double>(extended);
}

namespace {

struct Integer_reading {
    std::int32_t value = 0;
    bool whole = false;  // digits up to the end of the text, and no saturation
};

Integer_reading read_integer_text(std::string_view text)
{
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n && text[i] == ' ') ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    // Accumulated with a cap: anything at or above 2^32 saturates anyway.
    constexpr std::uint64_t cap = std::uint64_t{1} << 32;
    std::uint64_t value = 0;
    const std::size_t digits_start = i;
    for (; i < n; ++i) {
        const char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            break;
        value = value * base + digit;
        if (value > cap) value = cap;
    }
    const bool whole = i == n && i > digits_start;
    constexpr std::uint64_t max_positive = std::numeric_limits<std::int32_t>::max();
    if (i == n && negative) {
        // -2147483648 is still in range; beyond it, saturate.
        if (value > max_positive + 1) return {std::numeric_limits<std::int32_t>::min(), false};
        return {static_cast<std::int32_t>(-static_cast<std::int64_t>(value)), whole};
    }
    // The text ended after the digits without a minus sign, or reading
    // stopped early and the sign is dropped.
    if (value > max_positive) return {std::numeric_limits<std::int32_t>::max(), false};
    return {static_cast<std::int32_t>(value), whole};
}

}  // namespace

std::int32_t read_integer(std::string_view text)
{
    return read_integer_text(text).value;
}

std::optional<std::int32_t> read_whole_integer(std::string_view text)
{
    const Integer_reading reading = read_integer_text(text);
    if (!reading.whole) return std::nullopt;
    return reading.value;
}

}  // namespace vantel
