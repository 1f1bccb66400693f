#include "results/CsvExport.h"
#include "common/FailingSaver.h"

#include "results/ResultTexts.h"
#include "runfile/RunFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

const std::string Bom = "\xEF\xBB\xBF";

// Records from (hit state, chain count) pairs: plays count 1.., the balance
// of record k is 10 k - 25 (negative at first), since-hit restarts after a chain.
RunRecords Make(const std::vector<std::pair<int, int>>& hits) {
    RunRecords r;
    int since = 0;
    for (std::size_t k = 0; k < hits.size(); ++k) {
        ++since;
        r.Append(since, static_cast<int>(k) * 10 - 25, hits[k].second, static_cast<int>(k) + 1,
                 hits[k].first);
        if (hits[k].first != 0 && (k + 1 == hits.size() || hits[k + 1].first == 0))
            since = 0;
    }
    return r;
}

// Three chain ends: a single bonus at record 1, a chain of three ending at
// record 5, and a single bonus at record 7; record 8 closes the last one.
RunRecords ThreeChains() {
    return Make({{0, 0}, {1, 1}, {0, 0}, {2, 1}, {2, 2}, {2, 3}, {0, 0}, {1, 1}, {0, 0}});
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Splits a document the way RFC 4180 reads it back, checking the BOM and
// the CRLF after every record.
std::vector<std::vector<std::string>> Parse(const std::string& doc) {
    EXPECT_EQ(doc.substr(0, 3), Bom);
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 3; i < doc.size(); ++i) {
        const char ch = doc[i];
        if (quoted) {
            if (ch == '"' && i + 1 < doc.size() && doc[i + 1] == '"') {
                rows.back().back() += '"';
                ++i;
            } else if (ch == '"') {
                quoted = false;
            } else {
                rows.back().back() += ch;
            }
        } else if (ch == '"') {
            quoted = true;
        } else if (ch == ',') {
            rows.back().emplace_back();
        } else if (ch == '\r') {
            EXPECT_EQ(i + 1 < doc.size() ? doc[i + 1] : '\0', '\n') << "bare CR at " << i;
            ++i;
            rows.emplace_back(1);
        } else {
            EXPECT_NE(ch, '\n') << "bare LF at " << i;
            rows.back().back() += ch;
        }
    }
    EXPECT_EQ(rows.back(), std::vector<std::string>(1)) << "the last record lacks its CRLF";
    rows.pop_back();
    return rows;
}

class CsvFolder : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("yonatama-csv-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
};

} // namespace

TEST(CsvExport, FieldQuoting) {
    const struct {
        std::string in, out;
    } rows[] = {
        {"", ""},
        {"123", "123"},
        {"-45", "-45"},
        {"突入(4)", "突入(4)"},
        {"33.3333333333333", "33.3333333333333"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\rhere", "\"cr\rhere\""},
        {" spaced ", " spaced "},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CsvField(row.in), row.out) << row.in;
}

TEST(CsvExport, DocumentHasBomCrlfAndReadsBack) {
    const std::vector<std::string> header = {"継続回数", "累計", "割合(%)"};
    const std::vector<std::vector<std::string>> rows = {{"1回", "2", "66.6666666666667"},
                                                        {"a,\"b\"", "x\ny", ""}};
    const std::string doc = CsvDocument(header, rows);
    const std::string head = Bom + "継続回数,累計,割合(%)\r\n";
    EXPECT_EQ(doc.substr(0, head.size()), head);
    std::vector<std::vector<std::string>> expected{header};
    expected.insert(expected.end(), rows.begin(), rows.end());
    EXPECT_EQ(Parse(doc), expected);
}

TEST(CsvExport, PlaysHoldEveryRecordAsTheListShowsIt) {
    const RunRecords r = ThreeChains();
    const auto rows = Parse(PlaysCsv(r));
    ASSERT_EQ(rows.size(), r.Size() + 1);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"PLAY数", "PLAY数2", "出目", "玉数"}));
    EXPECT_EQ(rows[1], (std::vector<std::string>{"1", "1", "XXX", "-25"}));
    EXPECT_EQ(rows[2], (std::vector<std::string>{"2", "2", "大当たり", "-15"}));
    EXPECT_EQ(rows[9], (std::vector<std::string>{"9", "1", "XXX", "55"}));
    for (std::size_t i = 0; i < r.Size(); ++i) {
        EXPECT_EQ(rows[i + 1],
                  (std::vector<std::string>{PlayText(r, i), Play2Text(r, i),
                                            OutcomeText(r.HitStates[i]), BallText(r, i)}));
    }
}

TEST(CsvExport, BonusesHoldOneRowPerChainEnd) {
    const RunRecords r = ThreeChains();
    const auto rows = Parse(BonusesCsv(r));
    const std::vector<std::vector<std::string>> expected = {
        {"PLAY数", "PLAY数2", "霧環チャンス", "獲得出玉数"},
        {"2", "2", "敗北", "10"},
        {"6", "4", "突入(3)", "30"},
        {"8", "2", "敗北", "10"},
    };
    EXPECT_EQ(rows, expected);
}

TEST(CsvExport, ChainsHoldTheContinuationTable) {
    const auto rows = Parse(ChainsCsv(ThreeChains()));
    const std::vector<std::vector<std::string>> expected = {
        {"継続回数", "累計", "割合(%)"},
        {"1回", "2", "66.6666666666667"},
        {"3回", "1", "33.3333333333333"},
    };
    EXPECT_EQ(rows, expected);
}

TEST(CsvExport, RunWithoutChainEndsGivesHeadersOnly) {
    const RunRecords r = Make({{0, 0}, {0, 0}, {1, 1}});
    EXPECT_EQ(BonusesCsv(r), Bom + "PLAY数,PLAY数2,霧環チャンス,獲得出玉数\r\n");
    EXPECT_EQ(ChainsCsv(r), Bom + "継続回数,累計,割合(%)\r\n");
    EXPECT_EQ(Parse(PlaysCsv(r)).size(), 4U);
}

TEST_F(CsvFolder, WritesTheThreeFiles) {
    const RunRecords r = ThreeChains();
    for (const std::string& d : {dir.string(), dir.string() + "/"}) {
        ASSERT_EQ(WriteListCsvFiles(r, d), "");
        EXPECT_EQ(ReadAll(dir / "plays.csv"), PlaysCsv(r));
        EXPECT_EQ(ReadAll(dir / "bonuses.csv"), BonusesCsv(r));
        EXPECT_EQ(ReadAll(dir / "chains.csv"), ChainsCsv(r));
    }
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"bonuses.csv", "chains.csv", "plays.csv"}));
}

TEST_F(CsvFolder, FailuresReportTheFileAndKeepWhatWasThere) {
    const RunRecords r = ThreeChains();
    const struct {
        const char* name;
        SaveFault fault;
    } rows[] = {
        {"create", SaveFault::Create}, {"write", SaveFault::Write}, {"rename", SaveFault::Rename}};
    for (const auto& row : rows) {
        {
            std::ofstream old(dir / "plays.csv", std::ios::binary);
            old << "old";
        }
        EXPECT_EQ(WriteListCsvFiles(r, dir.string(), FailingSaver(row.fault)),
                  std::string(ExportFailedText) + "\n" + (dir / "plays.csv").string())
            << row.name;
        EXPECT_EQ(ReadAll(dir / "plays.csv"), "old") << row.name;
        EXPECT_FALSE(std::filesystem::exists(dir / "bonuses.csv")) << row.name;
    }
}

TEST_F(CsvFolder, MissingFolderIsReported) {
    const std::string missing = (dir / "nope").string();
    EXPECT_EQ(WriteListCsvFiles(ThreeChains(), missing),
              std::string(ExportFailedText) + "\n" + missing + "/plays.csv");
    EXPECT_FALSE(std::filesystem::exists(dir / "nope"));
}

TEST_F(CsvFolder, BrokenRecordsWriteNothing) {
    RunRecords r = ThreeChains();
    r.HitStates[3] = 7;
    EXPECT_EQ(WriteListCsvFiles(r, dir.string()), BrokenRecordsText);
    EXPECT_TRUE(std::filesystem::is_empty(dir));
}

TEST(CsvExport, CellDocumentMatchesRowDocument) {
    const std::vector<std::vector<std::string>> rows = {{"1", "a,b"}, {"\"q\"", ""}, {"x", "y"}};
    const std::vector<std::string> header = {"h1", "h2"};
    std::vector<std::pair<std::size_t, std::size_t>> asked;
    const std::string doc = CsvDocument(header, rows.size(), [&](std::size_t r, std::size_t c) {
        asked.emplace_back(r, c);
        return rows[r][c];
    });
    EXPECT_EQ(doc, CsvDocument(header, rows));
    EXPECT_EQ(asked.size(), 6U);
    EXPECT_EQ(CsvDocument(header, 0, [](std::size_t, std::size_t) { return std::string("x"); }),
              Bom + "h1,h2\r\n");
}
