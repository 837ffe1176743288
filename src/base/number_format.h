// Number texts the window shows.
//
// Both formats round the decimal digits of the exact binary value of their
// argument, with halves away from zero: the digits are taken from the exact
// decimal expansion of the value (every binary floating-point value has a
// finite one), so a value lying exactly halfway between two results rounds
// to the one of larger magnitude, and any other value rounds to the nearer.
// No other rounding (of a shortest representation, say) happens first.
#pragma once

#include <string>

namespace vantel {

// The general number format of the series preview: the value
// rounded to at most 15 significant digits, written without trailing zeros
// and without a separator for whole numbers, with a leading minus sign for
// negative values. Fixed notation for 0 and for magnitudes in [0.0001, 1e15)
// after the rounding ("0.0001", "123.25", "-7", "999999999999999");
// otherwise scientific: the first digit, the separator and the further digits
// if any, "E", a minus sign for a negative exponent and the exponent without
// leading zeros ("1E-5", "1.5E20", "-2.5E-7"). Negative zero is written "0".
// Not-a-number and infinities, which the parser never produces, are written
// "NAN", "INF" and "-INF".
std::string format_general(double value, char decimal_separator);

// The value text (step 9's published value; the batch's relative change): the value is
// first rounded to at most 4 significant digits, then to 4 decimals, and
// written in fixed notation with exactly 4 decimals ("0.8765", "1.0000",
// "0.0507", "-0.1250"; with ',' "0,8765"). A result that rounds to zero is
// written "0.0000", never "-0.0000". Magnitudes of 10000 and more keep the
// fixed notation, with the digits beyond the fourth significant one written
// as zeros (12345.6 gives "12350.0000"). Not-a-number and infinities (a
// relative change divided by a second value of 0) are written "NAN", "INF"
// and "-INF".
std::string format_value_text(long double value, char decimal_separator);

}  // namespace vantel
