// The two lenient text readers: the number parser for data-file fields and
// the integer reader for the numeric edit fields (N, column, epochs).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vantel {

// Reads one data-file field as a double (the number parser).
//
// "." and "," both stand for the decimal separator. The accepted form is:
// optional spaces; an optional sign "+" or "-"; digits; optionally the
// separator followed by digits (digits may be missing on either side of it,
// but at least one digit or the separator must be present); optionally "E" or
// "e", an optional sign and at least one digit; optional spaces; the end of
// the text. Only the space character counts as a space (a tab does not).
// Anything else, including an empty text and a text holding two separators,
// gives 0.
//
// The text is read in 80-bit extended precision and the result is rounded
// once to double, like every number the engine stores. A value too small for a
// double becomes 0 or the nearest tiny double. Throws
// Vantel_error("Floating point overflow") for a value beyond the double range
// (such as 1e400).
double parse_number(std::string_view field);

// Reads an edit field's text as a signed 32-bit integer (the integer
// reader); never fails.
//
// Leading spaces are skipped, then one optional sign "+" or "-" is accepted.
// Decimal digits follow, or, after a leading "$", "x", "X", "0x" or "0X",
// hexadecimal digits. If the text ends right after the digits, the result is
// the number read with its sign. Otherwise reading stops at the first
// character that does not fit, and the result is the value of the digits read
// so far without the sign (0 when no digit was read): "" gives 0, "12x" gives
// 12, "-12x" gives 12, "-12" gives -12.
//
// Out of range (our choice): a value whose magnitude
// is beyond the signed 32-bit range saturates, to INT32_MAX (2147483647) when
// positive and to INT32_MIN (-2147483648) when negative. This holds for
// decimal and hexadecimal digit strings alike, so "$FFFFFFFF" gives
// 2147483647 (not the bit pattern -1), "-2147483648" gives INT32_MIN exactly,
// and "-99999999999x" gives 2147483647 (the sign is dropped by the
// trailing-character rule, then the value saturates).
std::int32_t read_integer(std::string_view text);

// The integer reader's value when the whole text is the number: at least one
// digit, nothing after the digits, and within the signed 32-bit range ("12",
// " -12", "$1F"); nothing for "", "12x", "12 ", "-" or "2147483648", which
// the integer reader would cut or saturate. For the init file, whose lines
// the command checks.
std::optional<std::int32_t> read_whole_integer(std::string_view text);

}  // namespace vantel
