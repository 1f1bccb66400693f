// The batch report's figures and file list, from known final balances.

#include "app/BatchReport.h"

#include <gtest/gtest.h>

TEST(BatchReportTest, FiguresFilesAndStopMatchTheCompanionsSummary) {
    struct Case {
        std::string name;
        BatchReport report;
        std::string text;
    };
    BatchReport five{5, false, 4.0, {-100, 300, 0, 50, -20}, {}};
    for (int r = 1; r <= 5; ++r)
        five.Paths.push_back("/d/run10_" + std::to_string(r) + ".sim");
    BatchReport stopped{4, true, 0.5, {7}, {"run10_1.sim"}};
    BatchReport many{12, false, 1.0, std::vector<std::int32_t>(12, 1), {}};
    for (int r = 1; r <= 12; ++r)
        many.Paths.push_back("/d/m_" + std::to_string(r) + ".sim");
    const Case cases[] = {
        {"five runs", five,
         "集計 Sim回数:5\n最終出玉数 平均:46  中央値:0  5%点:-84  95%点:250\n"
         "最終収支(円) 平均:184  中央値:0  5%点:-336  95%点:1000\nプラス収支の割合(%):40\n"
         "保存先:/d\nファイル(5個):\n  run10_1.sim\n  run10_2.sim\n  run10_3.sim\n"
         "  run10_4.sim\n  run10_5.sim"},
        {"stopped after one", stopped,
         "集計 Sim回数:1（4回のうち）\n最終出玉数 平均:7  中央値:7  5%点:7  95%点:7\n"
         "最終収支(円) 平均:3.5  中央値:3.5  5%点:3.5  95%点:3.5\nプラス収支の割合(%):100\n"
         "保存先:.\nファイル(1個):\n  run10_1.sim"},
        {"stopped before any", BatchReport{3, true, 4.0, {}, {}},
         "集計 Sim回数:0（3回のうち）\n保存したファイルはありません。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BatchReportText(c.report), c.text);
    }
    // A long list keeps its first names and its last one.
    const std::string text = BatchReportText(many);
    EXPECT_NE(text.find("  m_7.sim\n  …（4個省略）\n  m_12.sim"), std::string::npos) << text;
    EXPECT_EQ(text.find("m_8.sim"), std::string::npos);
    EXPECT_EQ(BatchStatusText(many), "シミュレーション完了（ファイル12個を保存）");
}
