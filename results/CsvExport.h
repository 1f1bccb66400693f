#pragma once
// The three result lists as CSV files: UTF-8 with a byte-order mark (so that
// spreadsheet programs read the Japanese captions), RFC 4180 quoting and CRLF
// line ends; a header row of the column captions, then the rows as the lists
// show them.

#include "filesave/FileSaver.h"
#include "runfile/RunRecords.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

inline constexpr const char* PlaysCsvName = "plays.csv";
inline constexpr const char* BonusesCsvName = "bonuses.csv";
inline constexpr const char* ChainsCsvName = "chains.csv";

// What a failed export reports, as a failed run file does, followed by "\n"
// and the path.
inline constexpr const char* ExportFailedText = "シミュレーションファイルを保存できませんでした。";

// One field: quoted (inner quotes doubled) when it holds a comma, a quote, a
// CR or an LF; as it is otherwise.
std::string CsvField(const std::string& text);

// A whole file: the byte-order mark, then every row as fields joined by ","
// and ended by CRLF.
std::string CsvDocument(const std::vector<std::string>& header,
                        const std::vector<std::vector<std::string>>& rows);
// The same for `rows` rows whose cells are asked for one by one, so that a
// long list is never held twice.
std::string
CsvDocument(const std::vector<std::string>& header, std::size_t rows,
            const std::function<std::string(std::size_t row, std::size_t column)>& cell);

// The files of the three lists. Require records that pass ValidateRecords.
std::string PlaysCsv(const RunRecords& records);
std::string BonusesCsv(const RunRecords& records);
std::string ChainsCsv(const RunRecords& records);

// Writes one file whole beside its name and renames it over it: "" when
// written, else ExportFailedText, "\n" and the path.
std::string SaveExportFile(const std::string& path, const std::string& bytes,
                           const FileSaver& saver = SystemSaver());

// Writes plays.csv, bonuses.csv and chains.csv into the existing folder `dir`,
// each written whole beside its name and renamed over it. Returns "" when all
// three were written; otherwise the message of the first failure (broken
// records write nothing).
std::string WriteListCsvFiles(const RunRecords& records, const std::string& dir,
                              const FileSaver& saver = SystemSaver());
