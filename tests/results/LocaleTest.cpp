// Every number the program shows or writes reads the same whatever the
// process locale: Qt sets the C library's locale from the environment, and
// under de_DE the decimal point is a comma.

#include "common/CommaLocale.h"
#include "numfmt/NumberFormats.h"
#include "results/CsvExport.h"
#include "results/ResultTexts.h"
#include "results/TheoryTexts.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

// A run with chains of 1, 4 and 2 bonuses, so that every list has rows.
RunRecords ThreeChains() {
    RunRecords r;
    const int hits[][2] = {{0, 0}, {1, 1}, {0, 1}, {2, 1}, {2, 2}, {2, 3},
                           {2, 4}, {0, 4}, {2, 1}, {2, 2}, {0, 2}, {0, 2}};
    int play = 0;
    for (const auto& h : hits) {
        ++play;
        r.Append(play, play * 1037 - 5000, h[1], play, h[0]);
    }
    return r;
}

} // namespace

TEST(Locale, NumbersDoNotFollowTheProcessLocale) {
    const RunRecords records = ThreeChains();
    const std::vector<std::function<std::string()>> texts = {
        [] { return FormatAverage(5.0f) + FormatAverage(398.4567f) + FormatAverage(123456.0f); },
        [] { return FormatGeneral15(-4.42) + FormatGeneral15(1.25) + FormatGeneral15(1e-7); },
        [] { return FixedText(1.25, 2) + FixedText(-0.001, 2) + FixedText(1e20, 3); },
        [&] { return SummaryForRecords(records, 0.4); },
        [&] { return KeizokuPercentText(1, 3) + KeizokuPercentText(2, 3); },
        [&] { return PlaysCsv(records) + BonusesCsv(records) + ChainsCsv(records); },
        [] { return TheoryRowsText(MachineTheoryRows(1.25, TheoryForBorder(1.25))); },
    };
    std::vector<std::string> plain;
    for (const auto& text : texts) {
        plain.push_back(text());
    }
    EXPECT_EQ(plain[0], "5.00398.461.2346E5");
    EXPECT_EQ(plain[2], "1.250.00100000000000000000000.000");

    const ScopedCommaLocale comma;
    ASSERT_TRUE(comma.Active()) << "localedef could not make " << CommaLocale::Name;
    char formatted[16];
    std::snprintf(formatted, sizeof formatted, "%.1f", 1.5);
    ASSERT_STREQ(formatted, "1,5") << "the locale is not a comma-decimal one";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i](), plain[i]) << i;
    }
}
