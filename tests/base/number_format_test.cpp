// The general number format of the Memo_xn preview and the value text.
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "base/number_format.h"

namespace vantel {
namespace {

std::string general(double value) { return format_general(value, '.'); }
std::string value_text(long double value) { return format_value_text(value, '.'); }

TEST(FormatGeneral, WholeNumbersHaveNoSeparator)
{
    EXPECT_EQ(general(0.0), "0");
    EXPECT_EQ(general(-0.0), "0");
    EXPECT_EQ(general(1.0), "1");
    EXPECT_EQ(general(-7.0), "-7");
    EXPECT_EQ(general(100.0), "100");
    EXPECT_EQ(general(1000000.0), "1000000");
    EXPECT_EQ(general(999999999999999.0), "999999999999999");
}

TEST(FormatGeneral, FractionsWithoutTrailingZeros)
{
    EXPECT_EQ(general(1.5), "1.5");
    EXPECT_EQ(general(-0.25), "-0.25");
    EXPECT_EQ(general(0.1), "0.1");
    EXPECT_EQ(general(0.1 + 0.2), "0.3");
    EXPECT_EQ(general(1234.5678), "1234.5678");
    EXPECT_EQ(general(0.8123), "0.8123");
    EXPECT_EQ(general(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(general(2.0 / 3.0), "0.666666666666667");
    EXPECT_EQ(general(-2.0 / 3.0), "-0.666666666666667");
    EXPECT_EQ(general(3.14159265358979), "3.14159265358979");
    EXPECT_EQ(general(0.0001), "0.0001");
    EXPECT_EQ(general(0.00012345), "0.00012345");
    EXPECT_EQ(general(-0.0001), "-0.0001");
}

TEST(FormatGeneral, FifteenSignificantDigitsHalvesAwayFromZero)
{
    // Exactly halfway at the 16th digit (binary-exact values).
    EXPECT_EQ(general(123456789012344.5), "123456789012345");
    EXPECT_EQ(general(-123456789012344.5), "-123456789012345");
    EXPECT_EQ(general(123456789012345.25), "123456789012345");
    EXPECT_EQ(general(1.0000000000000002), "1");
    EXPECT_EQ(general(123.456789012345678), "123.456789012346");
}

TEST(FormatGeneral, ScientificOutsideTheFixedRange)
{
    EXPECT_EQ(general(1e-5), "1E-5");
    EXPECT_EQ(general(0.00009999), "9.999E-5");
    EXPECT_EQ(general(-2.5e-7), "-2.5E-7");
    EXPECT_EQ(general(1.5e20), "1.5E20");
    EXPECT_EQ(general(1e15), "1E15");
    EXPECT_EQ(general(-1e15), "-1E15");
    EXPECT_EQ(general(1.234567890123456e15), "1.23456789012346E15");
    EXPECT_EQ(general(1e300), "1E300");
    EXPECT_EQ(general(DBL_MAX), "1.79769313486232E308");
    EXPECT_EQ(general(-DBL_MAX), "-1.79769313486232E308");
    EXPECT_EQ(general(std::numeric_limits<double>::denorm_min()), "4.94065645841247E-324");
    EXPECT_EQ(general(DBL_MIN), "2.2250738585072E-308");
}

TEST(FormatGeneral, TheRangeIsJudgedAfterRounding)
{
    // Rounds up to 1E15: scientific.
    EXPECT_EQ(general(999999999999999.9), "1E15");
    // Rounds up to 0.0001: fixed.
    EXPECT_EQ(general(0.000099999999999999995), "0.0001");
    EXPECT_EQ(general(0.00009999999999999999), "0.0001");
    EXPECT_EQ(general(0.0000999999999999999), "9.99999999999999E-5");
}

TEST(FormatGeneral, CommaSeparator)
{
    EXPECT_EQ(format_general(1.5, ','), "1,5");
    EXPECT_EQ(format_general(-0.8765, ','), "-0,8765");
    EXPECT_EQ(format_general(1.5e-5, ','), "1,5E-5");
    EXPECT_EQ(format_general(-1e-5, ','), "-1E-5");
    EXPECT_EQ(format_general(1.5e20, ','), "1,5E20");
    EXPECT_EQ(format_general(42.0, ','), "42");
}

TEST(FormatGeneral, NotFinite)
{
    EXPECT_EQ(general(std::numeric_limits<double>::quiet_NaN()), "NAN");
    EXPECT_EQ(general(std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(general(-std::numeric_limits<double>::infinity()), "-INF");
}

TEST(FormatValueText, BriefExamples)
{
    EXPECT_EQ(value_text(0.8765), "0.8765");
    EXPECT_EQ(value_text(1.0), "1.0000");
    EXPECT_EQ(value_text(0.0507), "0.0507");
    EXPECT_EQ(value_text(-0.125), "-0.1250");
    EXPECT_EQ(value_text((0.82 - 0.8123) / 0.82), "0.0094");
    const long double first = 0.8123, second = 0.82;
    EXPECT_EQ(value_text((second - first) / second), "0.0094");
    EXPECT_EQ(format_value_text(0.8765, ','), "0,8765");
    EXPECT_EQ(format_value_text(-0.125, ','), "-0,1250");
    EXPECT_EQ(format_value_text(1.0, ','), "1,0000");
}

TEST(FormatValueText, ZeroIsNeverNegative)
{
    EXPECT_EQ(value_text(0.0), "0.0000");
    EXPECT_EQ(value_text(-0.0), "0.0000");
    EXPECT_EQ(value_text(-0.00001), "0.0000");
    EXPECT_EQ(value_text(-0.00004999), "0.0000");
    EXPECT_EQ(value_text(1e-300), "0.0000");
    EXPECT_EQ(value_text(-1e-4000L), "0.0000");
    EXPECT_EQ(format_value_text(-0.00001, ','), "0,0000");
}

TEST(FormatValueText, FourSignificantDigitsThenFourDecimals)
{
    EXPECT_EQ(value_text(0.12344), "0.1234");
    EXPECT_EQ(value_text(0.99999), "1.0000");
    EXPECT_EQ(value_text(0.99994), "0.9999");
    EXPECT_EQ(value_text(0.00012345), "0.0001");
    EXPECT_EQ(value_text(0.00005), "0.0001");
    EXPECT_EQ(value_text(0.00004), "0.0000");
    // The first rounding to 4 significant digits makes 0.000049996 into
    // 0.00005000, whose rounding to 4 decimals is halfway: away from zero.
    EXPECT_EQ(value_text(0.000049996), "0.0001");
    EXPECT_EQ(value_text(-0.000049996), "-0.0001");
    EXPECT_EQ(value_text(12.34375), "12.3400");
    EXPECT_EQ(value_text(-9999.0), "-9999.0000");
    EXPECT_EQ(value_text(9999.4), "9999.0000");
    EXPECT_EQ(value_text(3.14159), "3.1420");
}

TEST(FormatValueText, HalvesAwayFromZero)
{
    // Binary-exact halfway cases.
    EXPECT_EQ(value_text(0.03125), "0.0313");   // 4 decimals of 0.03125
    EXPECT_EQ(value_text(-0.03125), "-0.0313");
    EXPECT_EQ(value_text(1234.5), "1235.0000");  // 4 significant digits of 1234.5
    EXPECT_EQ(value_text(-1234.5), "-1235.0000");
    EXPECT_EQ(value_text(0.5), "0.5000");
    EXPECT_EQ(value_text(2.5), "2.5000");
}

TEST(FormatValueText, LargeMagnitudesStayFixed)
{
    EXPECT_EQ(value_text(9999.5), "10000.0000");
    EXPECT_EQ(value_text(12345.6), "12350.0000");
    EXPECT_EQ(value_text(-12345.6), "-12350.0000");
    EXPECT_EQ(value_text(1e20), "100000000000000000000.0000");
}

TEST(FormatValueText, NotFinite)
{
    EXPECT_EQ(value_text(std::numeric_limits<long double>::quiet_NaN()), "NAN");
    EXPECT_EQ(value_text(std::numeric_limits<long double>::infinity()), "INF");
    EXPECT_EQ(value_text(-std::numeric_limits<long double>::infinity()), "-INF");
}

TEST(FormatValueText, EveryAccuracyOfTenThousandTestImages)
{
    // Accuracy = correct x 100 / 10000 as a double; V = Accuracy / 100 in
    // extended precision. The text is the exact fraction correct / 10000.
    for (int correct = 0; correct <= 10000; ++correct) {
        const double accuracy = correct * 100.0 / 10000.0;
        const long double v = static_cast<long double>(accuracy) / 100.0L;
        char expected[16];
        std::snprintf(expected, sizeof expected, "%d.%04d", correct / 10000, correct % 10000);
        ASSERT_EQ(value_text(v), expected) << correct;
    }
}

}  // namespace
}  // namespace vantel
