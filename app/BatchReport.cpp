#include "app/BatchReport.h"

#include "results/ResultTexts.h"
#include "runs/Accumulator.h"

#include <filesystem>

namespace {

// Beyond this many names the box lists the first ones and the last one.
constexpr std::size_t ListedNames = 8;

std::string FileNamesText(const std::vector<std::string>& paths) {
    std::string text;
    const auto name = [](const std::string& path) {
        return std::filesystem::path(path).filename().string();
    };
    for (std::size_t k = 0; k < paths.size(); ++k) {
        if (paths.size() > ListedNames && k == ListedNames - 1) {
            text += "\n  …（" + std::to_string(paths.size() - ListedNames) + "個省略）";
            k = paths.size() - 1;
        }
        text += "\n  " + name(paths[k]);
    }
    return text;
}

} // namespace

std::string BatchReportText(const BatchReport& report) {
    const std::size_t n = report.FinalBalances.size();
    std::string text = "集計 Sim回数:" + std::to_string(n);
    if (report.Stopped || static_cast<int>(n) < report.RunsAsked)
        text += "（" + std::to_string(report.RunsAsked) + "回のうち）";
    if (n > 0) {
        Accumulator finals;
        finals.Reserve(n);
        for (const std::int32_t v : report.FinalBalances)
            finals.Add(v);
        const double figures[] = {finals.Mean(), finals.Percentile(0.5), finals.Percentile(0.05),
                                  finals.Percentile(0.95)};
        const char* names[] = {"平均:", "  中央値:", "  5%点:", "  95%点:"};
        text += "\n最終出玉数 ";
        for (int k = 0; k < 4; ++k)
            text += names[k] + FormatGeneral15(figures[k]);
        text += "\n最終収支(円) ";
        for (int k = 0; k < 4; ++k)
            text += names[k] + FormatGeneral15(figures[k] * report.Rate);
        text += "\nプラス収支の割合(%):" + FormatGeneral15(finals.ShareAhead() * 100.0);
    }
    if (report.Paths.empty())
        return text + "\n保存したファイルはありません。";
    const std::string folder = std::filesystem::path(report.Paths.front()).parent_path().string();
    text += "\n保存先:" + (folder.empty() ? std::string(".") : folder);
    text += "\nファイル(" + std::to_string(report.Paths.size()) + "個):";
    return text + FileNamesText(report.Paths);
}

std::string BatchStatusText(const BatchReport& report) {
    return "シミュレーション完了（ファイル" + std::to_string(report.Paths.size()) + "個を保存）";
}
