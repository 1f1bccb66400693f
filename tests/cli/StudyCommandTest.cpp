#include "cli/StudyCommand.h"

#include "CliProcess.h"
#include "results/InputChecks.h"
#include "runs/MemoryRule.h"
#include "runs/Study.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int exitCode = -1;
    std::string out, err;
};

Outcome Study(StudyOptions o) {
    if (!o.Progress)
        o.Progress = false;
    if (o.Renderer.empty())
        o.Renderer = std::string(YONATAMA_BIN_DIR) + "/yonatama-render";
    std::ostringstream out, err;
    Outcome r;
    r.exitCode = StudyCommand(o, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

StudyOptions Options(const std::string& plays, const std::string& runs, const std::string& seed) {
    StudyOptions o;
    o.Plays = plays;
    o.Runs = runs;
    o.Seed = seed;
    return o;
}

// The final balance `run` prints on "出玉数:B  収支:Y円".
long long RunFinalBalance(const std::string& arguments) {
    const std::string command =
        std::string("'") + YONATAMA_BIN_DIR + "/yonatama-cli' run " + arguments + " 2>/dev/null";
    const std::string out = RunShell(command, "/dev/null").out;
    const std::size_t at = out.rfind("出玉数:");
    EXPECT_NE(at, std::string::npos) << out;
    return std::stoll(out.substr(at + std::string("出玉数:").size()));
}

struct TempDir {
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "study-test-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~TempDir() { fs::remove_all(path); }
    fs::path path;
};

} // namespace

TEST(StudyCommand, RunIEndsWhereTheSingleRunOnItsRecordedSeedEnds) {
    StudyOptions o = Options("1500", "4", "4294967294");
    o.Border = "14";
    o.Json = true;
    const Outcome r = Study(o);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    ASSERT_EQ(j["run_seeds"].size(), 4u);
    for (int i = 0; i < 4; ++i) {
        const auto seed = j["run_seeds"][i].get<std::uint32_t>();
        EXPECT_EQ(seed, RunSeed(4294967294u, i));
        EXPECT_EQ(j["final_balances"][i].get<long long>(),
                  RunFinalBalance("--plays 1500 --border 14 --seed " + std::to_string(seed)))
            << "run " << i;
    }
}

TEST(StudyCommand, SameBytesForOneTwoAndSevenJobs) {
    TempDir dir;
    for (const bool json : {false, true}) {
        std::string reference, referenceCsv;
        for (const char* jobs : {"1", "2", "7"}) {
            StudyOptions o = Options("1000", "17", "99");
            o.Sweep = json ? "11:12:1" : "";
            o.Json = json;
            o.Jobs = jobs;
            o.Csv = (dir.path / "s.csv").string();
            const Outcome r = Study(o);
            ASSERT_EQ(r.exitCode, 0) << r.err;
            EXPECT_EQ(r.err, "");
            if (reference.empty()) {
                reference = r.out;
                referenceCsv = Slurp(o.Csv);
            } else {
                EXPECT_EQ(r.out, reference) << jobs;
                EXPECT_EQ(Slurp(o.Csv), referenceCsv) << jobs;
            }
        }
    }
}

TEST(StudyCommand, SweepIsOneObjectWithEveryBorder) {
    StudyOptions o = Options("1000", "5", "3");
    o.Sweep = "10:11:0.5";
    o.Json = true;
    const Outcome r = Study(o);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    ASSERT_EQ(j.size(), 1u);
    ASSERT_EQ(j["borders"].size(), 3u);
    EXPECT_EQ(j["borders"][2]["border"].get<double>(), 11.0);
    EXPECT_EQ(j["borders"][1]["seed"], 3);
}

TEST(StudyCommand, SweepBorders) {
    const struct {
        const char* text;
        std::vector<double> borders;
    } good[] = {
        {"10:11:0.5", {10, 10.5, 11}},
        {"10:10.3:0.1", {10, 10.1, 10.2, 10.3}},
        {"12.5:12.5:1", {12.5}},
        {"8:9.9:1", {8, 9}},
    };
    for (const auto& c : good) {
        const auto got = ParseSweep(c.text);
        ASSERT_TRUE(got.has_value()) << c.text;
        EXPECT_EQ(*got, c.borders) << c.text;
    }
    for (const char* bad : {"", "10", "10:11", "10:11:0", "11:10:1", "10:11:-1", "a:11:1",
                            "10:11:1:2", "1:200:0.1"}) {
        EXPECT_FALSE(ParseSweep(bad).has_value()) << bad;
    }
}

TEST(StudyCommand, Refusals) {
    const struct {
        StudyOptions options;
        const char* message;
    } cases[] = {
        {Options("", "10", "1"), "--plays を指定してください。\n"},
        {Options("100", "", "1"), "--runs を指定してください。\n"},
        {Options("0", "10", "1"), "Play数は、1以上にしてください。\n"},
        {Options("100", "0", "1"), "Sim回数は、1以上にしてください。\n"},
        {Options("x", "10", "1"), "'x' は整数ではありません\n"},
        {Options("100", "10", "-1"), "--seed は、0から4294967295の整数にしてください。\n"},
        {Options("100", "10", "4294967296"), "--seed は、0から4294967295の整数にしてください。\n"},
    };
    for (const auto& c : cases) {
        const Outcome r = Study(c.options);
        EXPECT_EQ(r.exitCode, 2) << c.message;
        EXPECT_EQ(r.err, c.message);
        EXPECT_EQ(r.out, "");
    }
    StudyOptions border = Options("100", "10", "1");
    border.Border = "250";
    EXPECT_EQ(Study(border).err, "ボーダーは、250未満にしてください。\n");
    StudyOptions sweep = Options("100", "10", "1");
    sweep.Sweep = "0.5:2:0.5";
    EXPECT_EQ(Study(sweep).err, "ボーダーは、1以上にしてください。\n");
    StudyOptions jobs = Options("100", "10", "1");
    jobs.Jobs = "0";
    EXPECT_EQ(Study(jobs).exitCode, 2);
}

TEST(StudyCommand, ClockSeedIsPrintedAndRepeatsTheStudy) {
    StudyOptions o = Options("500", "3", "");
    o.Json = true;
    const Outcome first = Study(o);
    ASSERT_EQ(first.exitCode, 0);
    const auto j = nlohmann::json::parse(first.out);
    const std::string seed = std::to_string(j["seed"].get<std::uint32_t>());
    EXPECT_EQ(first.err.rfind("シード:" + seed + " ", 0), 0u) << first.err;
    o.Seed = seed;
    EXPECT_EQ(Study(o).out, first.out);
}

TEST(StudyCommand, ProgressOnlyWhenAsked) {
    StudyOptions o = Options("20000", "4", "1");
    o.Progress = true;
    const Outcome shown = Study(o);
    EXPECT_NE(shown.err.find("研究中"), std::string::npos);
    EXPECT_NE(shown.err.find("残り"), std::string::npos);
    o.Progress = false;
    EXPECT_EQ(Study(o).err, "");
}

TEST(StudyCommand, CsvAndPngFiles) {
    TempDir dir;
    StudyOptions o = Options("2000", "30", "8");
    o.Csv = (dir.path / "study.csv").string();
    o.Png = (dir.path / "study.png").string();
    const Outcome r = Study(o);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string csv = Slurp(o.Csv);
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    // Header, the runs, the simulated bands and the exact ones.
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 30 + 201 + 41);
    const std::string png = Slurp(o.Png);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    const auto be32 = [&](std::size_t at) {
        return (unsigned(static_cast<unsigned char>(png[at])) << 24) |
               (unsigned(static_cast<unsigned char>(png[at + 1])) << 16) |
               (unsigned(static_cast<unsigned char>(png[at + 2])) << 8) |
               unsigned(static_cast<unsigned char>(png[at + 3]));
    };
    EXPECT_GE(be32(16), 800u);
    EXPECT_GE(be32(20), 500u);
    EXPECT_FALSE(fs::exists(o.Png + ".part.png"));

    StudyOptions unwritable = o;
    unwritable.Csv = (dir.path / "missing" / "x.csv").string();
    EXPECT_EQ(Study(unwritable).exitCode, 1);
    unwritable.Csv.clear();
    unwritable.Png = (dir.path / "missing" / "x.png").string();
    EXPECT_EQ(Study(unwritable).exitCode, 1);
}

TEST(StudyCommand, RefusesBeforeRunningWhatItCouldNotFinish) {
    TempDir dir;
    const struct {
        StudyOptions options;
        int code;
        std::string message;
    } cases[] = {
        {[] {
             StudyOptions o = Options("1000000", "100", "1");
             o.Csv = "/nonexistent/x.csv";
             return o;
         }(),
         1, "ファイルを書けません: /nonexistent/x.csv\n"},
        {[&] {
             StudyOptions o = Options("1000000", "100", "1");
             o.Png = dir.path.string();
             return o;
         }(),
         1, "フォルダです。ファイル名を指定してください: " + dir.path.string() + "\n"},
        {[] {
             StudyOptions o = Options("20000", "10", "1");
             o.Border = "249.9999";
             return o;
         }(),
         2, CheckBalanceRange(20000, 249.9999) + "\n"},
        {[] {
             StudyOptions o = Options("20000", "10", "1");
             o.Sweep = "12:249.9999:237.9999";
             return o;
         }(),
         2, CheckBalanceRange(20000, 249.9999) + "\n"},
        {[] {
             // 1.7 TB of balances: the same rule and words as `run`'s records.
             return Options("3000", "2147483647", "1");
         }(),
         2, std::string(TooManyRunsText) + "\n"},
    };
    for (const auto& c : cases) {
        const Outcome r = Study(c.options);
        EXPECT_EQ(r.exitCode, c.code) << c.message;
        EXPECT_EQ(r.err, c.message);
        EXPECT_EQ(r.out, "");
    }
    EXPECT_TRUE(fs::is_empty(dir.path));
}

TEST(StudyCommand, SweepAndBorderShareOneLimit) {
    const struct {
        const char* border;
        bool accepted;
    } cases[] = {{"249.9999999999", true},
                 {"0.9999999999", false},
                 {"249.99999999999997", false},
                 {"1", true}};
    for (const auto& c : cases) {
        StudyOptions single = Options("10", "2", "1");
        single.Border = c.border;
        StudyOptions sweep = Options("10", "2", "1");
        sweep.Sweep = std::string(c.border) + ":" + c.border + ":1";
        const Outcome a = Study(single);
        const Outcome b = Study(sweep);
        EXPECT_EQ(a.exitCode == 0, c.accepted) << c.border << a.err;
        EXPECT_EQ(b.exitCode == 0, c.accepted) << c.border << b.err;
        EXPECT_EQ(a.err, b.err) << c.border;
    }
}

// The study's files are saved as run files are: through a link to the file it
// names, and under any name the system allows.
TEST(StudyCommand, CsvAndPngFollowLinksAndTakeFullLengthNames) {
    TempDir dir;
    fs::create_directory(dir.path / "real");
    const std::string longName(255, 'n');
    const struct {
        const char* name;
        fs::path written; // the name given
        fs::path target;  // where the bytes must land
        bool link;
    } cases[] = {
        {"link", dir.path / "link.csv", dir.path / "real" / "target.csv", true},
        {"dangling link", dir.path / "new.csv", dir.path / "real" / "new-target.csv", true},
        {"255 bytes", dir.path / longName, dir.path / longName, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.link) {
            if (std::string(c.name) == "link")
                std::ofstream(c.target) << "old";
            fs::create_symlink(fs::relative(c.target, dir.path), c.written);
        }
        for (const bool png : {false, true}) {
            StudyOptions o = Options("300", "5", "2");
            (png ? o.Png : o.Csv) = c.written.string();
            const Outcome r = Study(o);
            ASSERT_EQ(r.exitCode, 0) << r.err;
            EXPECT_EQ(fs::is_symlink(c.written), c.link);
            EXPECT_EQ(Slurp(c.target.string()).substr(png ? 1 : 0, 3),
                      png ? std::string("PNG") : std::string("\xEF\xBB\xBF"));
        }
    }
    // Nothing beside the targets: no temporary left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path / "real"), {}), 2);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), {}), 4);
}
