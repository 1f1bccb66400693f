#include "numfmt/Conversions.h"
#include "numfmt/NumberFormats.h"
#include "results/InputChecks.h"
#include "results/ResultTexts.h"
#include "stats/BalanceLimit.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

TEST(Conversions, Integers) {
    const std::vector<std::pair<std::string, std::optional<int>>> cases = {
        {"1", 1},
        {"  42  ", 42},
        {"+7", 7},
        {"-0", 0},
        {"-15", -15},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"\t3", 3},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"+", std::nullopt},
        {"abc", std::nullopt},
        {"1.0", std::nullopt},
        {"1e3", std::nullopt},
        {"0x10", std::nullopt},
        {"$10", std::nullopt},
        {"1 2", std::nullopt},
        {"--1", std::nullopt},
        {"\xEF\xBC\x91", std::nullopt}, // full-width 1
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(TryStrToInt(text), value) << "'" << text << "'";
    }
}

TEST(Conversions, Floats) {
    const std::vector<std::pair<std::string, std::optional<double>>> cases = {
        {"4.0", 4.0},
        {"12.5", 12.5},
        {" -1 ", -1.0},
        {"+0.25", 0.25},
        {".5", 0.5},
        {"5.", 5.0},
        {"1e3", 1000.0},
        {"1.5E-2", 0.015},
        {"2e+2", 200.0},
        {"1e-400", 0.0}, // underflow reads as zero
        {"0.0000e999", 0.0},
        {"1e400", std::nullopt},
        {"123456789e305", std::nullopt},
        {"", std::nullopt},
        {".", std::nullopt},
        {"e5", std::nullopt},
        {"1e", std::nullopt},
        {"1e+", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"infinity", std::nullopt},
        {"0x1p3", std::nullopt},
        {"1,5", std::nullopt},
        {"abc", std::nullopt},
        {"1.2.3", std::nullopt},
        {"\xEF\xBC\x91", std::nullopt},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(TryStrToFloat(text), value) << "'" << text << "'";
    }
}

TEST(Conversions, ErrorTexts) {
    try {
        StrToInt("abc");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'abc' は整数ではありません");
    }
    try {
        StrToFloat(" x1");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "' x1' は浮動小数点数ではありません");
    }
    EXPECT_EQ(StrToInt(" 12 "), 12);
    EXPECT_EQ(StrToFloat("4.0"), 4.0);
}

struct StartCase {
    const char* plays;
    const char* runs;
    const char* rate;
    const char* border;
    std::string refusal;
};

TEST(InputChecks, RefusalsInOrder) {
    const std::vector<StartCase> cases = {
        {"1", "1", "4.0", "12.5", ""},
        {"100", "3", "0", "1", ""},
        {"1", "1", "4.0", "249.99", ""},
        {"0", "0", "-1", "0", "Play数は、1以上にしてください。"},
        {"-5", "1", "4.0", "12.5", "Play数は、1以上にしてください。"},
        {"1", "0", "-1", "0", "Sim回数は、1以上にしてください。"},
        {"1", "1", "-1", "0", "交換レートは、0以上にしてください。"},
        {"1", "1", "-0.0001", "12.5", "交換レートは、0以上にしてください。"},
        {"1", "1", "4.0", "0.5", "ボーダーは、1以上にしてください。"},
        {"1", "1", "4.0", "-300", "ボーダーは、1以上にしてください。"},
        {"1", "1", "4.0", "250", "ボーダーは、250未満にしてください。"},
        {"1", "1", "4.0", "1e300", "ボーダーは、250未満にしてください。"},
        // The limits hold for the border as it reads to 15 digits.
        {"1", "1", "4.0", "249.9999999999", ""},
        {"1", "1", "4.0", "249.99999999999997", "ボーダーは、250未満にしてください。"},
        {"1", "1", "4.0", "0.9999999999", "ボーダーは、1以上にしてください。"},
        {"1", "1", "4.0", "0.9999999999999999", ""},
        // Rates whose yen figures would not be finite.
        {"1", "1", "1e100", "12.5", ""},
        {"1", "1", "1e308", "12.5", "交換レートは、1E100以下にしてください。"},
    };
    for (const auto& c : cases) {
        StartInputs in;
        EXPECT_EQ(CheckStartInputs(c.plays, c.runs, c.rate, c.border, in), c.refusal)
            << c.plays << " " << c.runs << " " << c.rate << " " << c.border;
    }
}

TEST(InputChecks, KeepsWhatWasReadBeforeARefusal) {
    StartInputs in;
    EXPECT_EQ(CheckStartInputs("100", "2", "-3", "12.5", in), RateRefusal);
    EXPECT_EQ(in.PlayCount, 100);
    EXPECT_EQ(in.Runs, 2);
    EXPECT_EQ(in.Rate, -3.0);
    EXPECT_EQ(in.Border, 0.0); // never read

    StartInputs ok;
    EXPECT_EQ(CheckStartInputs(" 1000 ", "1", "4.0", "12.5", ok), "");
    EXPECT_EQ(ok.PlayCount, 1000);
    EXPECT_EQ(ok.Runs, 1);
    EXPECT_EQ(ok.Rate, 4.0);
    EXPECT_EQ(ok.Border, 12.5);
}

TEST(InputChecks, NonNumbersRaiseTheConversionError) {
    StartInputs in;
    EXPECT_THROW(CheckStartInputs("abc", "1", "4.0", "12.5", in), EConvertError);
    // A refusal earlier in the order wins over a non-number later on.
    EXPECT_EQ(CheckStartInputs("0", "x", "y", "z", in), PlayCountRefusal);
    try {
        CheckStartInputs("10", "1", "4.0", "12,5", in);
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'12,5' は浮動小数点数ではありません");
    }
    EXPECT_EQ(in.Rate, 4.0);
}

TEST(InputChecks, BorderAsReadIsWhatTheBoxShows) {
    const struct {
        double border, read;
    } cases[] = {
        {12.5, 12.5},
        {10 + 3 * 0.1, 10.3},
        {249.99999999999997, 250.0},
        {0.9999999999999999, 1.0},
        {249.9999999999, 249.9999999999},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BorderAsRead(c.border), c.read) << c.border;
        EXPECT_EQ(FormatGeneral15(BorderAsRead(c.border)), FormatGeneral15(c.border));
    }
}

TEST(InputChecks, BalanceRangeNamesTheLargestPlayCount) {
    EXPECT_EQ(CheckBalanceRange(2597, 249.9999), "");
    EXPECT_EQ(CheckBalanceRange(20000, 249.9999),
              "Play数が大きすぎて、出玉数が記録できる範囲(±2147483647玉)を超えるおそれがあります。"
              "ボーダー249.9999では、Play数を" +
                  std::to_string(MaxPlaysWithinBalance(TheoryForBorder(249.9999))) +
                  "以下にしてください。");
    EXPECT_EQ(CheckBalanceRange(1000000, 12.5), "");
}
