// The number parser and the integer reader.
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "model/session.h"
#include "series/text_readers.h"

namespace vantel {
namespace {

TEST(ParseNumber, PlainNumbers)
{
    EXPECT_EQ(parse_number("1.5"), 1.5);
    EXPECT_EQ(parse_number("-3"), -3.0);
    EXPECT_EQ(parse_number("+3"), 3.0);
    EXPECT_EQ(parse_number("0"), 0.0);
    EXPECT_EQ(parse_number("123456"), 123456.0);
    EXPECT_EQ(parse_number("0.1"), 0.1);
    EXPECT_EQ(parse_number("-0.8123"), -0.8123);
}

TEST(ParseNumber, CommaAndPointBothAreTheSeparator)
{
    EXPECT_EQ(parse_number("1,5"), 1.5);
    EXPECT_EQ(parse_number("1.5"), 1.5);
    EXPECT_EQ(parse_number("-0,25"), -0.25);
    EXPECT_EQ(parse_number(",5"), 0.5);
    // A thousands separator and a decimal mark: two separators, not a number.
    EXPECT_EQ(parse_number("1.234,5"), 0.0);
    EXPECT_EQ(parse_number("1,234.5"), 0.0);
    EXPECT_EQ(parse_number("1.2.3"), 0.0);
}

TEST(ParseNumber, DigitsMayBeMissingOnEitherSideOfTheSeparator)
{
    EXPECT_EQ(parse_number(".5"), 0.5);
    EXPECT_EQ(parse_number("5."), 5.0);
    EXPECT_EQ(parse_number("-.5e1"), -5.0);
    EXPECT_EQ(parse_number("."), 0.0);
    EXPECT_EQ(parse_number(",e7"), 0.0);
}

TEST(ParseNumber, Exponents)
{
    EXPECT_EQ(parse_number("1e3"), 1000.0);
    EXPECT_EQ(parse_number("1E3"), 1000.0);
    EXPECT_EQ(parse_number("1E+2"), 100.0);
    EXPECT_EQ(parse_number("25e-1"), 2.5);
    EXPECT_EQ(parse_number("2,5E1"), 25.0);
    EXPECT_EQ(parse_number("1e"), 0.0);
    EXPECT_EQ(parse_number("1e+"), 0.0);
    EXPECT_EQ(parse_number("1e-"), 0.0);
    EXPECT_EQ(parse_number("e5"), 0.0);
    EXPECT_EQ(parse_number("1e5.5"), 0.0);
    EXPECT_EQ(parse_number("1e 5"), 0.0);
}

TEST(ParseNumber, OnlySpacesAroundTheNumber)
{
    EXPECT_EQ(parse_number("  2.5  "), 2.5);
    EXPECT_EQ(parse_number(" -2.5"), -2.5);
    EXPECT_EQ(parse_number("2.5 "), 2.5);
    // A tab is not a space here.
    EXPECT_EQ(parse_number("\t2.5"), 0.0);
    EXPECT_EQ(parse_number("2.5\t"), 0.0);
    EXPECT_EQ(parse_number("2.5\r"), 0.0);
    // No space inside the number.
    EXPECT_EQ(parse_number("- 2.5"), 0.0);
    EXPECT_EQ(parse_number("2 5"), 0.0);
    EXPECT_EQ(parse_number("2. 5"), 0.0);
}

TEST(ParseNumber, TextsThatAreNotNumbersGiveZero)
{
    EXPECT_EQ(parse_number(""), 0.0);
    EXPECT_EQ(parse_number("   "), 0.0);
    EXPECT_EQ(parse_number("abc"), 0.0);
    EXPECT_EQ(parse_number("+"), 0.0);
    EXPECT_EQ(parse_number("-"), 0.0);
    EXPECT_EQ(parse_number("+-1"), 0.0);
    EXPECT_EQ(parse_number("1a"), 0.0);
    EXPECT_EQ(parse_number("0x10"), 0.0);
    EXPECT_EQ(parse_number("$10"), 0.0);
    EXPECT_EQ(parse_number("inf"), 0.0);
    EXPECT_EQ(parse_number("-INF"), 0.0);
    EXPECT_EQ(parse_number("nan"), 0.0);
    EXPECT_EQ(parse_number("infinity"), 0.0);
    EXPECT_EQ(parse_number("1\t2"), 0.0);
    EXPECT_EQ(parse_number("1e3x"), 0.0);
    EXPECT_EQ(parse_number(std::string("1\0", 2)), 0.0);
}

TEST(ParseNumber, TooSmallBecomesZeroOrATinyDouble)
{
    EXPECT_EQ(parse_number("1e-400"), 0.0);
    EXPECT_EQ(parse_number("1e-99999"), 0.0);
    EXPECT_EQ(parse_number("4.9406564584124654e-324"), std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(parse_number("1e-320"), 1e-320);
    EXPECT_GT(parse_number("1e-320"), 0.0);
    EXPECT_EQ(parse_number("0e999999"), 0.0);
}

TEST(ParseNumber, TooLargeIsAnOverflowError)
{
    // DBL_MAX + half an ulp = 1.797693134862315807937...e308 and above
    // rounds to infinity. The last text lies a little below that limit but
    // within half an extended ulp of it, so its extended reading is the
    // limit itself, which overflows.
    for (const char* text : {"1e400", "-1e400", "1e5000", "1e99999999999", "1.8e308", "-1.8E308",
                             "1.797693134862315808e308", "1.7976931348623158079e308"}) {
        try {
            parse_number(text);
            ADD_FAILURE() << "no overflow for " << text;
        } catch (const Vantel_error& error) {
            EXPECT_STREQ(error.what(), "Floating point overflow") << text;
        }
    }
}

TEST(ParseNumber, LargestDoublesAreNoOverflow)
{
    EXPECT_EQ(parse_number("1.7976931348623157e308"), DBL_MAX);
    EXPECT_EQ(parse_number("-1.7976931348623157e308"), -DBL_MAX);
    // Above DBL_MAX, but below DBL_MAX + half an ulp: rounds down to DBL_MAX.
    EXPECT_EQ(parse_number("1.7976931348623158e308"), DBL_MAX);
    EXPECT_EQ(parse_number("1.797693134862315807e308"), DBL_MAX);
    EXPECT_EQ(parse_number("-1797693134862315807e290"), -DBL_MAX);
    EXPECT_EQ(parse_number("1e308"), 1e308);
}

TEST(ParseNumber, ReadsInExtendedPrecisionThenRoundsToDouble)
{
    // 2^53 + 1 + 1e-10: the extended reading is 2^53 + 1 exactly, halfway
    // between two doubles, which then rounds to even, 2^53. A direct
    // correct rounding to double would give 2^53 + 2.
    EXPECT_EQ(parse_number("9007199254740993.0000000001"), 9007199254740992.0);
    EXPECT_EQ(parse_number("9007199254740993"), 9007199254740992.0);
    EXPECT_EQ(parse_number("0.3"), 0.3);
    EXPECT_EQ(parse_number("3.14159265358979323846"), 3.14159265358979323846);
}

TEST(ParseNumber, LongDigitStrings)
{
    const std::string many_digits = "1" + std::string(100000, '0');
    EXPECT_THROW(parse_number(many_digits), Vantel_error);
    EXPECT_EQ(parse_number("0." + std::string(100000, '0') + "1e100001"), 1.0);
    EXPECT_EQ(parse_number(std::string(100000, '0') + "2.5"), 2.5);
}

TEST(ReadInteger, worked_examples)
{
    EXPECT_EQ(read_integer(""), 0);
    EXPECT_EQ(read_integer("12x"), 12);
    EXPECT_EQ(read_integer("-12x"), 12);
    EXPECT_EQ(read_integer("-12"), -12);
}

TEST(ReadInteger, DecimalWithSignAndSpaces)
{
    EXPECT_EQ(read_integer("19625"), 19625);
    EXPECT_EQ(read_integer("+7"), 7);
    EXPECT_EQ(read_integer("0012"), 12);
    EXPECT_EQ(read_integer("   42"), 42);
    EXPECT_EQ(read_integer("  -42"), -42);
    EXPECT_EQ(read_integer("0"), 0);
    EXPECT_EQ(read_integer("-0"), 0);
}

TEST(ReadInteger, TrailingCharactersDropTheSign)
{
    EXPECT_EQ(read_integer("42 "), 42);
    EXPECT_EQ(read_integer("-42 "), 42);
    EXPECT_EQ(read_integer("1.5"), 1);
    EXPECT_EQ(read_integer("-1,5"), 1);
    EXPECT_EQ(read_integer("12-"), 12);
    EXPECT_EQ(read_integer("1 2"), 1);
    EXPECT_EQ(read_integer("--5"), 0);
    EXPECT_EQ(read_integer("+-5"), 0);
    EXPECT_EQ(read_integer("- 5"), 0);
    EXPECT_EQ(read_integer("abc"), 0);
    EXPECT_EQ(read_integer("N=10"), 0);
    EXPECT_EQ(read_integer("\t5"), 0);  // a tab is not a space
    EXPECT_EQ(read_integer("5\t"), 5);
    EXPECT_EQ(read_integer("-"), 0);
    EXPECT_EQ(read_integer("+"), 0);
    EXPECT_EQ(read_integer("  "), 0);
}

TEST(ReadInteger, Hexadecimal)
{
    EXPECT_EQ(read_integer("$FF"), 255);
    EXPECT_EQ(read_integer("$ff"), 255);
    EXPECT_EQ(read_integer("-$ff"), -255);
    EXPECT_EQ(read_integer("0x1A"), 26);
    EXPECT_EQ(read_integer("0X1a"), 26);
    EXPECT_EQ(read_integer("x10"), 16);
    EXPECT_EQ(read_integer("X10"), 16);
    EXPECT_EQ(read_integer(" -0x10"), -16);
    EXPECT_EQ(read_integer("0x"), 0);
    EXPECT_EQ(read_integer("$"), 0);
    EXPECT_EQ(read_integer("0xG"), 0);
    EXPECT_EQ(read_integer("-0x1G"), 1);
    EXPECT_EQ(read_integer("$1F "), 31);
    EXPECT_EQ(read_integer("1F"), 1);     // hex digits need the prefix
    EXPECT_EQ(read_integer("00x1"), 0);   // the prefix is "0x", not "00x"
}

TEST(ReadInteger, OutOfRangeSaturates)
{
    constexpr auto max = std::numeric_limits<std::int32_t>::max();
    constexpr auto min = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(read_integer("2147483647"), max);
    EXPECT_EQ(read_integer("2147483648"), max);
    EXPECT_EQ(read_integer("99999999999999999999999999"), max);
    EXPECT_EQ(read_integer("-2147483647"), -2147483647);
    EXPECT_EQ(read_integer("-2147483648"), min);
    EXPECT_EQ(read_integer("-2147483649"), min);
    EXPECT_EQ(read_integer("-99999999999999999999999999"), min);
    // The sign is dropped first, then the value saturates.
    EXPECT_EQ(read_integer("-99999999999x"), max);
    EXPECT_EQ(read_integer("-2147483648x"), max);
    EXPECT_EQ(read_integer("$7FFFFFFF"), max);
    EXPECT_EQ(read_integer("$80000000"), max);
    EXPECT_EQ(read_integer("$FFFFFFFF"), max);
    EXPECT_EQ(read_integer("-$80000000"), min);
    EXPECT_EQ(read_integer("-$FFFFFFFFFFFFFFFFFFFFFFFF"), min);
    EXPECT_EQ(read_integer(std::string(100000, '9')), max);
}

TEST(ReadWholeInteger, only_a_text_that_is_all_number_within_32_bits)
{
    const std::vector<std::pair<std::string, std::optional<std::int32_t>>> cases = {
        {"12", 12},         {" -12", -12},     {"+7", 7},           {"$1F", 31},
        {"0x10", 16},       {"2147483647", 2147483647},             {"-2147483648", INT32_MIN},
        {"", std::nullopt}, {"12x", std::nullopt}, {"12 ", std::nullopt}, {"-", std::nullopt},
        {"$", std::nullopt}, {"0x", std::nullopt}, {"1.5", std::nullopt}, {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt}, {"$80000000", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(read_whole_integer(text), expected) << '"' << text << '"';
        // Where the text is whole, the integer reader gives the same value.
        if (expected) {
            EXPECT_EQ(read_integer(text), *expected) << '"' << text << '"';
        }
    }
}

}  // namespace
}  // namespace vantel
