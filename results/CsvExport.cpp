#include "results/CsvExport.h"

#include "results/ResultTexts.h"
#include "runfile/RunFile.h"

#include <array>
#include <utility>

namespace {

constexpr const char* ByteOrderMark = "\xEF\xBB\xBF";
constexpr const char* LineEnd = "\r\n";

void AppendRow(std::string& out, const std::vector<std::string>& fields) {
    for (std::size_t c = 0; c < fields.size(); ++c) {
        if (c != 0)
            out += ',';
        out += CsvField(fields[c]);
    }
    out += LineEnd;
}

template <std::size_t N>
std::vector<std::string> Header(const std::array<const char*, N>& captions) {
    return {captions.begin(), captions.end()};
}

} // namespace

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char ch : text) {
        if (ch == '"')
            quoted += '"';
        quoted += ch;
    }
    quoted += '"';
    return quoted;
}

std::string CsvDocument(const std::vector<std::string>& header,
                        const std::vector<std::vector<std::string>>& rows) {
    std::string out = ByteOrderMark;
    AppendRow(out, header);
    for (const std::vector<std::string>& row : rows)
        AppendRow(out, row);
    return out;
}

std::string
CsvDocument(const std::vector<std::string>& header, std::size_t rows,
            const std::function<std::string(std::size_t row, std::size_t column)>& cell) {
    std::string out = ByteOrderMark;
    AppendRow(out, header);
    std::vector<std::string> fields(header.size());
    for (std::size_t r = 0; r < rows; ++r) {
        for (std::size_t c = 0; c < fields.size(); ++c)
            fields[c] = cell(r, c);
        AppendRow(out, fields);
    }
    return out;
}

std::string SaveExportFile(const std::string& path, const std::string& bytes,
                           const FileSaver& saver) {
    if (saver.SaveBytes(path, bytes) != WriteStatus::Ok)
        return std::string(ExportFailedText) + "\n" + path;
    return "";
}

std::string PlaysCsv(const RunRecords& records) {
    // Built row by row: a long run would otherwise hold every text twice.
    std::string out = ByteOrderMark;
    AppendRow(out, Header(PlayListCaptions));
    const std::size_t n = records.Size();
    for (std::size_t i = 0; i < n; ++i) {
        AppendRow(out, {PlayText(records, i), Play2Text(records, i),
                        OutcomeText(records.HitStates[i]), BallText(records, i)});
    }
    return out;
}

std::string BonusesCsv(const RunRecords& records) {
    std::vector<std::vector<std::string>> rows;
    for (BonusRow& row : BonusRows(records)) {
        rows.push_back({std::move(row.Play), std::move(row.Play2), std::move(row.Chance),
                        std::move(row.Gained)});
    }
    return CsvDocument(Header(BonusListCaptions), rows);
}

std::string ChainsCsv(const RunRecords& records) {
    std::vector<std::vector<std::string>> rows;
    for (KeizokuRow& row : KeizokuRows(ComputeChainStats(records)))
        rows.push_back({std::move(row.Caption), std::move(row.CountText), std::move(row.Percent)});
    return CsvDocument(Header(KeizokuListCaptions), rows);
}

std::string WriteListCsvFiles(const RunRecords& records, const std::string& dir,
                              const FileSaver& saver) {
    if (std::string broken = ValidateRecords(records); !broken.empty())
        return broken;
    const std::string folder = dir.empty() || dir.back() == '/' ? dir : dir + "/";
    const std::pair<const char*, std::string (*)(const RunRecords&)> files[] = {
        {PlaysCsvName, PlaysCsv},
        {BonusesCsvName, BonusesCsv},
        {ChainsCsvName, ChainsCsv},
    };
    for (const auto& [name, make] : files) {
        if (std::string failed = SaveExportFile(folder + name, make(records), saver);
            !failed.empty())
            return failed;
    }
    return "";
}
