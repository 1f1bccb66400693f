#include "numfmt/NumberFormats.h"

#include <gtest/gtest.h>

namespace {

struct FormatCase {
    const char* format;
    double value;
    const char* expected;
};

class FormatFloatTable : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatFloatTable, WritesPicture) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatFloat(c.format, c.value), c.expected) << c.format << " " << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, FormatFloatTable,
    ::testing::Values(
        // The axis and mark default.
        FormatCase{"#,##0.###", 1234, "1,234"}, FormatCase{"#,##0.###", 12.5, "12.5"},
        FormatCase{"#,##0.###", 0, "0"}, FormatCase{"#,##0.###", 999, "999"},
        FormatCase{"#,##0.###", 1234567.1, "1,234,567.1"},
        FormatCase{"#,##0.###", -1234.5678, "-1,234.568"}, FormatCase{"#,##0.###", 0.0004, "0"},
        FormatCase{"#,##0.###", -0.0004, "0"}, FormatCase{"#,##0.###", 0.0005, "0.001"},
        FormatCase{"#,##0.###", 999.9996, "1,000"},
        // The percent default: '%' is text, not a scale.
        FormatCase{"##0.## %", 25, "25 %"}, FormatCase{"##0.## %", 75, "75 %"},
        FormatCase{"##0.## %", 33.33333, "33.33 %"}, FormatCase{"##0.## %", 100, "100 %"},
        FormatCase{"##0.## %", 0, "0 %"},
        // Required digits and rounding halves away from zero.
        FormatCase{"0", 2.5, "3"}, FormatCase{"0", -2.5, "-3"}, FormatCase{"0", 0.4, "0"},
        FormatCase{"0.00", 0.125, "0.13"}, FormatCase{"0.00", 1, "1.00"},
        FormatCase{"00.0", 1, "01.0"}, FormatCase{"#.##", 0.5, ".5"},
        FormatCase{"#,##0", 1000, "1,000"}, FormatCase{"#,##0", 99999.5, "100,000"},
        // Sections for negative and zero values, quoted text.
        FormatCase{"0;(0)", -5, "(5)"}, FormatCase{"0;(0)", 5, "5"},
        FormatCase{"0;-0;'zero'", 0, "zero"}, FormatCase{"\"x=\"0", 7, "x=7"}));

} // namespace
