#include "base/number_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace vantel {

namespace {

// A finite decimal: value = (negative ? -1 : 1) x 0.d1 d2 d3 ... x 10^exponent,
// with d1 != 0 and no trailing zero digit. Zero has no digits.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

void strip_trailing_zeros(Decimal& d)
{
    const auto last = d.digits.find_last_not_of('0');
    if (last == std::string::npos)
        d.digits.clear();
    else
        d.digits.resize(last + 1);
}

// The exact decimal expansion of a finite value.
Decimal exact_decimal(long double value)
{
    Decimal d;
    d.negative = std::signbit(value);
    const long double magnitude = std::fabs(value);
    if (magnitude == 0) return d;
    // The lowest mantissa bit weighs at least 2^(e - 64), which needs at most
    // 64 - e decimals to be written exactly; glibc prints the exact digits.
    int e = 0;
    std::frexp(magnitude, &e);
    const int decimals = e >= 64 ? 0 : 64 - e;
    const int length = std::snprintf(nullptr, 0, "%.*Lf", decimals, magnitude);
    if (length <= 0) return d;  // cannot happen
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    std::snprintf(buffer.data(), buffer.size(), "%.*Lf", decimals, magnitude);
    const std::string text(buffer.data(), static_cast<std::size_t>(length));

    const auto point = text.find('.');
    const std::string integer_part = text.substr(0, point);
    std::string all = integer_part;
    if (point != std::string::npos) all += text.substr(point + 1);
    const auto first = all.find_first_not_of('0');
    if (first == std::string::npos) return d;  // cannot happen for a non-zero value
    d.digits = all.substr(first);
    d.exponent = static_cast<int>(integer_part.size()) - static_cast<int>(first);
    strip_trailing_zeros(d);
    return d;
}

// Keeps the first `keep` digits (keep >= 0), rounding the rest away with
// halves away from zero.
void round_at(Decimal& d, long long keep)
{
    if (keep >= static_cast<long long>(d.digits.size())) return;
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        long long i = keep - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') {
            d.digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exponent;
        } else {
            ++d.digits[static_cast<std::size_t>(i)];
        }
    }
    strip_trailing_zeros(d);
}

void round_significant(Decimal& d, int significant) { round_at(d, significant); }

void round_decimals(Decimal& d, int decimals)
{
    round_at(d, static_cast<long long>(d.exponent) + decimals);
}

// The digit at decimal position `index` (0 = the first digit after the
// value's leading "0." scaled by the exponent), 0 outside the digits.
char digit_at(const Decimal& d, long long index)
{
    if (index < 0 || index >= static_cast<long long>(d.digits.size())) return '0';
    return d.digits[static_cast<std::size_t>(index)];
}

// The integer part of a decimal, "0" when the magnitude is below 1.
std::string integer_part(const Decimal& d)
{
    if (d.exponent <= 0) return "0";
    std::string text;
    text.reserve(static_cast<std::size_t>(d.exponent));
    for (long long i = 0; i < d.exponent; ++i) text += digit_at(d, i);
    return text;
}

std::string non_finite(long double value)
{
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

}  // namespace

std::string format_general(double value, char decimal_separator)
{
    if (!std::isfinite(value)) return non_finite(value);
    Decimal d = exact_decimal(value);
    round_significant(d, 15);
    if (d.digits.empty()) return "0";

    std::string text = d.negative ? "-" : "";
    const int scientific_exponent = d.exponent - 1;
    const long long count = static_cast<long long>(d.digits.size());
    if (scientific_exponent >= -4 && scientific_exponent <= 14) {
        text += integer_part(d);
        if (count > d.exponent) {
            // The fraction: the digits from the first one after the point,
            // with leading zeros when the magnitude is below 0.1.
            text += decimal_separator;
            for (long long i = d.exponent; i < count; ++i) text += digit_at(d, i);
        }
        return text;
    }
    text += d.digits[0];
    if (count > 1) {
        text += decimal_separator;
        text.append(d.digits, 1);
    }
    text += 'E';
    if (scientific_exponent < 0) text += '-';
    text += std::to_string(std::abs(scientific_exponent));
    return text;
}

std::string format_value_text(long double value, char decimal_separator)
{
    if (!std::isfinite(value)) return non_finite(value);
    Decimal d = exact_decimal(value);
    round_significant(d, 4);
    round_decimals(d, 4);

    std::string text = (d.negative && !d.digits.empty()) ? "-" : "";
    text += integer_part(d);
    text += decimal_separator;
    for (long long j = 0; j < 4; ++j) text += digit_at(d, static_cast<long long>(d.exponent) + j);
    return text;
}

}  // namespace vantel
