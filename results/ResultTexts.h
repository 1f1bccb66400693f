#pragma once
// Every text shown about a run: the summary, the per-play texts, the
// battle-bonus rows and the continuation table.

#include "engine/HitState.h"
#include "runfile/RunFile.h"
#include "runfile/RunRecords.h"
#include "stats/ChainStats.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The four summary lines joined by "\n" (no trailing line feed).
std::string SummaryText(int firstHits, std::int64_t bonuses, std::size_t recordCount,
                        std::int32_t lastBalance, double rate);
// The summary of records with their chain statistics; no records show as a
// balance of 0.
std::string SummaryText(const ChainStats& stats, const RunRecords& records, double rate);
// The summary of a whole record set. Requires records that pass ValidateRecords.
std::string SummaryForRecords(const RunRecords& records, double rate);

// Per-play texts of record i.
std::string PlayText(const RunRecords& records, std::size_t i);
std::string Play2Text(const RunRecords& records, std::size_t i);
std::string BallText(const RunRecords& records, std::size_t i);
std::string OutcomeText(std::int32_t hitState);                         // "大当たり" / "XXX"
std::string ChanceText(std::int32_t hitState, std::int32_t chainCount); // "敗北" / "突入(c)"

// Balance change from the chain's first hit to the play after its end.
// Requires chain end i of records that pass ValidateRecords; else 0.
std::int64_t GainedBalls(const RunRecords& records, std::size_t i);

// "k回" for k = 1..29, "30回以上" for 30.
std::string KeizokuCaption(int k);
// count / total in the 15-digit general form, read back, times 100, written again.
std::string KeizokuPercentText(int count, int total);

struct BonusRow {
    std::size_t Index = 0; // the chain end's record index
    std::string Play, Play2, Chance, Gained;
};
// The row of chain end i of records that pass ValidateRecords.
BonusRow BonusRowAt(const RunRecords& records, std::size_t i);
// The rows of every chain end, in record order.
std::vector<BonusRow> BonusRows(const RunRecords& records);

struct KeizokuRow {
    int Bucket = 0; // 1..30
    int Count = 0;
    std::string Caption, CountText, Percent;
};
// Rows for the non-zero buckets in increasing order.
std::vector<KeizokuRow> KeizokuRows(const ChainStats& stats);

// Column captions of the three lists.
inline constexpr std::array<const char*, 4> PlayListCaptions = {"PLAY数", "PLAY数2", "出目",
                                                                "玉数"};
inline constexpr std::array<const char*, 4> BonusListCaptions = {"PLAY数", "PLAY数2",
                                                                 "霧環チャンス", "獲得出玉数"};
inline constexpr std::array<const char*, 3> KeizokuListCaptions = {"継続回数", "累計", "割合(%)"};

inline constexpr const char* ForeignFileText =
    "このファイルは、ヨナタマ銀蛇ファイルではありません。";
inline constexpr const char* BrokenRecordsText = "このファイルの記録が壊れています。";
inline constexpr const char* ReadErrorText = "シミュレーションファイルを読み込めませんでした。";

// "" when the records satisfy what the display relies on (equal lengths, hit
// states 0..2, every chain end with count c >= 1 and i + 1 - c >= 0); else
// BrokenRecordsText. No records is fine here.
std::string ValidateRecords(const RunRecords& records);

// "" for a header whose rate and border give finite figures; else
// ForeignFileText, as no file this program wrote holds such values.
std::string ValidateHeader(const RunFileHeader& header);

// The message for a refused read: ForeignFileText for a missing or foreign
// tag and for a cut header; ReadErrorText for a read error; "" for Ok and
// CannotOpen (which stay silent).
std::string ReadFailureText(ReadStatus status);
