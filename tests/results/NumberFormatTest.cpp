#include "numfmt/NumberFormats.h"
#include "results/ResultTexts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

struct AverageCase {
    float value;
    const char* text;
};

TEST(FormatAverage, TwoDecimalsAfterFiveSignificantDigits) {
    const std::vector<AverageCase> cases = {
        {398.4567f, "398.46"},  {1234.567f, "1234.60"},  {2.5f, "2.50"},
        {0.0f, "0.00"},         {123456.0f, "1.2346E5"}, {200000.0f, "2E5"},
        {333.3333f, "333.33"},  {2.333333f, "2.33"},     {12345.67f, "12346.00"},
        {99999.4f, "99999.00"}, {99999.6f, "1E5"},       {9.999f, "10.00"},
        {0.004f, "0.00"},       {0.006f, "0.01"},        {1.125f, "1.13"}, // halves away from zero
        {0.125f, "0.13"},       {1e10f, "1E10"},         {1234567.0f, "1.2346E6"},
        {-2.5f, "-2.50"},       {1.0f, "1.00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatAverage(c.value), c.text) << c.value;
    }
}

struct GeneralCase {
    double value;
    const char* text;
};

TEST(FormatGeneral15, ShortestFormUpToFifteenDigits) {
    const std::vector<GeneralCase> cases = {
        {-1234 * 4.0, "-4936"},
        {15 * 0.4, "6"},
        {3 * 0.25, "0.75"},
        {0.0, "0"},
        {-0.0, "0"},
        {4.0, "4"},
        {12.5, "12.5"},
        {0.1, "0.1"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {0.0001, "0.0001"},
        {0.00001, "1E-5"},
        {0.000012345, "1.2345E-5"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {1234567890123456.0, "1.23456789012346E15"},
        {999999999999999.9, "1E15"}, // rounds up into the scientific range
        {-2092.0, "-2092"},
        {1e300, "1E300"},
        {std::numeric_limits<double>::infinity(), "INF"},
        {-std::numeric_limits<double>::infinity(), "-INF"},
        {std::numeric_limits<double>::quiet_NaN(), "NAN"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatGeneral15(c.value), c.text) << c.value;
    }
}

struct PercentCase {
    int count, total;
    const char* text;
};

TEST(KeizokuPercentText, TwoStepConversion) {
    const std::vector<PercentCase> cases = {
        {1, 3, "33.3333333333333"},
        {2, 3, "66.6666666666667"},
        {1, 8, "12.5"},
        {5, 5, "100"},
        {1, 7, "14.2857142857143"},
        {0, 4, "0"},
        {1, 100000, "0.001"},
        {1, 0, "0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeizokuPercentText(c.count, c.total), c.text) << c.count << "/" << c.total;
    }
}
