#include "app/BatchReport.h"

#include "numfmt/NumberFormats.h"
#include "results/ResultTexts.h"
#include "runs/FinalFigures.h"

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
        text += "\n" + FinalFiguresText(finals, report.Rate);
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
