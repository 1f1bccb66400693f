// The companion at the edges: unusable output folders, full disks, failing
// reads, too little memory, pipes, odd names and broken output streams. Each
// case runs the real programs (or the commands in-process where a fault has
// to be injected) and checks the exit code, the message and the files left.

#include "cli/CliCommands.h"
#include "results/InputChecks.h"
#include "results/ResultTexts.h"
#include "results/TheoryTexts.h"
#include "runfile/RunFile.h"
#include "stats/ExactBalance.h"
#include "stats/Theory.h"

#include "CliProcess.h"
#include "common/CommaLocale.h"
#include "common/FailingStream.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The sanitizers reserve address space of their own.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool UnderSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool UnderSanitizer = true;
#else
constexpr bool UnderSanitizer = false;
#endif
#else
constexpr bool UnderSanitizer = false;
#endif

using Result = CliResult;

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (const char c : s) {
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

const std::string CliProgram = std::string(YONATAMA_BIN_DIR) + "/yonatama-cli";

// A PNG that was written whole ends with its IEND chunk.
bool WholePng(const fs::path& p) {
    const std::string bytes = Slurp(p);
    static const std::string signature = "\x89PNG\r\n\x1a\n";
    static const std::string end("IEND\xae\x42\x60\x82", 8);
    return bytes.size() > signature.size() + end.size() && bytes.rfind(signature, 0) == 0 &&
           bytes.compare(bytes.size() - end.size(), end.size(), end) == 0;
}

class CliEdgeTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "cli-edge-XXXXXX").string();
        Dir_ = ::mkdtemp(pattern.data());
        fs::permissions(Dir_, fs::perms::all); // the unprivileged user works here too
    }
    void TearDown() override {
        std::error_code ignored;
        for (const auto& e : fs::recursive_directory_iterator(
                 Dir_, fs::directory_options::skip_permission_denied, ignored)) {
            if (e.is_directory(ignored) && !e.is_symlink(ignored)) {
                fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
            }
        }
        fs::remove_all(Dir_, ignored);
    }

    // Runs a shell line; `program` stands for the companion.
    Result Shell(const std::string& line) {
        const fs::path errFile = Dir_ / "stderr.txt";
        std::string command = line;
        for (std::size_t at = command.find("@cli"); at != std::string::npos;
             at = command.find("@cli")) {
            command.replace(at, 4, Quote(CliProgram));
        }
        command = "( " + command + " ) 2>" + Quote(errFile.string());
        return RunShell(command, errFile);
    }

    // In-process, to compare with the companion run as a program.
    static Result InProcess(const CliArgs& args) {
        std::ostringstream out, err;
        Result r;
        r.exitCode = RunCli(args, out, err);
        r.out = out.str();
        r.err = err.str();
        return r;
    }

    fs::path SavedRun(const std::string& name, int plays) {
        const fs::path file = Dir_ / name;
        const Result r = Shell("@cli run --plays " + std::to_string(plays) + " --seed 3 --out " +
                               Quote(file.string()));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return file;
    }

    // The prefix that runs a command as the unprivileged user when this is root.
    static std::string AsOtherUser() {
        return ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    }

    fs::path Dir_;
};

TEST_F(CliEdgeTest, AnOutputFolderThatCannotBeUsedIsRefusedBeforeAnyWork) {
    // A pipe nobody writes to: opening it before the folder check would hang.
    const fs::path fifo = Dir_ / "never.pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    fs::permissions(fifo, fs::perms::all & ~(fs::perms::owner_exec | fs::perms::group_exec |
                                             fs::perms::others_exec));
    fs::create_directory_symlink("loop2", Dir_ / "loop1");
    fs::create_directory_symlink("loop1", Dir_ / "loop2");
    std::ofstream(Dir_ / "plain.txt") << "x";
    fs::create_directory(Dir_ / "locked");
    fs::permissions(Dir_ / "locked", fs::perms::owner_read | fs::perms::owner_write);
    // Without search permission only for a user who is not root.
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown((Dir_ / "locked").c_str(), 65534, 65534), 0);
    }
    struct Case {
        std::string name, out, reason;
    };
    const std::vector<Case> cases = {
        {"name too long", (Dir_ / std::string(300, 'x')).string(), "名前が長すぎます"},
        {"missing name too long", (Dir_ / "new" / std::string(256, 'y')).string(),
         "名前が長すぎます"},
        {"link loop", (Dir_ / "loop1").string(), "シンボリックリンクが循環しています"},
        {"inside a link loop", (Dir_ / "loop1" / "png").string(),
         "シンボリックリンクが循環しています"},
        {"a file on the way", (Dir_ / "plain.txt" / "png").string(),
         "途中の名前がフォルダではありません"},
        {"no search permission", (Dir_ / "locked" / "png").string(),
         "アクセスが許可されていません"},
    };
    // No window platform: a render that started its window would fail otherwise.
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::string& input : {std::string("--plays 100"), Quote(fifo.string())}) {
            const Result r = Shell("QT_QPA_PLATFORM=no-such-platform timeout 30 " + AsOtherUser() +
                                   "@cli render " + input + " --out " + Quote(c.out));
            EXPECT_EQ(r.exitCode, 1) << r.err;
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(r.err, "出力フォルダを使えません: " + c.out + "（" + c.reason + "）\n");
        }
    }
    EXPECT_FALSE(fs::exists(Dir_ / "new"));
}

TEST_F(CliEdgeTest, PicturesOnAFullDiskFailWholeAndLeaveNothingCut) {
    const fs::path sim = SavedRun("a.sim", 3000);
    // A file-size limit fails the writes the way a full disk does, on any machine.
    for (const long limit : {0L, 2000L, 20000L}) {
        SCOPED_TRACE(limit);
        const fs::path out = Dir_ / ("full" + std::to_string(limit)) / "png";
        // The messages go through a pipe: a file would be held to the limit too.
        const std::string code = Quote((Dir_ / "code").string());
        const Result r =
            Shell("{ { trap '' XFSZ; prlimit --fsize=" + std::to_string(limit) + " @cli render " +
                  Quote(sim.string()) + " --out " + Quote(out.string()) + " 2>&1 1>&3; echo $? > " +
                  code + "; } | cat >&2; } 3>&1; exit $(cat " + code + ")");
        EXPECT_EQ(r.exitCode, 1) << r.err;
        EXPECT_NE(r.err.find("書き込めません: " + out.string() + "/"), std::string::npos) << r.err;
        std::size_t listed = 0;
        for (std::size_t at = r.out.find('\n'); at != std::string::npos;
             at = r.out.find('\n', at + 1)) {
            ++listed;
        }
        std::size_t whole = 0;
        if (fs::exists(out)) {
            for (const auto& e : fs::directory_iterator(out)) {
                EXPECT_TRUE(WholePng(e.path())) << e.path();
                ++whole;
            }
        }
        // Only the pictures reported as written are there, and an empty folder is gone.
        EXPECT_EQ(whole, listed);
        EXPECT_EQ(fs::exists(out), listed > 0);
        EXPECT_EQ(fs::exists(out.parent_path()), listed > 0);
    }
}

TEST_F(CliEdgeTest, PicturesOnARealFullDiskFailToo) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "mounting a small file system needs root";
    }
    const fs::path sim = SavedRun("a.sim", 3000);
    const fs::path disk = Dir_ / "disk";
    fs::create_directory(disk);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=90k") != 0) {
        GTEST_SKIP() << "no tmpfs here: " << std::strerror(errno);
    }
    const Result r =
        Shell("@cli render " + Quote(sim.string()) + " --out " + Quote((disk / "png").string()));
    std::vector<fs::path> left;
    for (const auto& e : fs::recursive_directory_iterator(disk)) {
        if (e.is_regular_file()) {
            left.push_back(e.path());
        }
    }
    ::umount(disk.c_str());
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
    EXPECT_NE(r.err.find("書き込めません: "), std::string::npos) << r.err;
    for (const fs::path& p : left) {
        EXPECT_NE(r.out.find(p.string() + "\n"), std::string::npos) << p;
    }
}

TEST_F(CliEdgeTest, RenderReadsANamedPipeOnce) {
    const fs::path sim = SavedRun("a.sim", 800);
    const fs::path pipe = Dir_ / "run.pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const fs::path out = Dir_ / "png";
    const Result r = Shell("cat " + Quote(sim.string()) + " > " + Quote(pipe.string()) +
                           " & timeout 60 @cli render " + Quote(pipe.string()) + " --out " +
                           Quote(out.string()) + "; code=$?; kill $! 2>/dev/null; exit $code");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(WholePng(out / "SlumpChart.png"));
    // show reads the same pipe as well.
    const Result show = Shell("cat " + Quote(sim.string()) + " > " + Quote(pipe.string()) +
                              " & timeout 60 @cli show " + Quote(pipe.string()));
    EXPECT_EQ(show.exitCode, 0) << show.err;
    EXPECT_EQ(show.out, Shell("@cli show " + Quote(sim.string())).out);
}

TEST_F(CliEdgeTest, FolderNamesAreBytesEndToEnd) {
    const std::string name = "\xff\xfe-\x80";
    const fs::path out = Dir_ / name;
    const Result r = Shell("@cli render --plays 200 --seed 2 --out " + Quote(out.string()));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, out.string() + "/window.png\n" + out.string() + "/SlumpChart.png\n" +
                         out.string() + "/SlumpChart2.png\n" + out.string() +
                         "/KeizokuChart.png\n");
    for (const char* png :
         {"window.png", "SlumpChart.png", "SlumpChart2.png", "KeizokuChart.png"}) {
        EXPECT_TRUE(WholePng(out / png)) << png;
    }
    // Nothing was written under another spelling of the name.
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir_), fs::directory_iterator()), 2); // + stderr
}

TEST_F(CliEdgeTest, AReadErrorRefusesTheFile) {
    const fs::path sim = SavedRun("big.sim", 30000);
    for (const std::size_t good : {0ul, 12ul, 24ul + 20ul * 12000ul + 3ul}) {
        SCOPED_TRACE(good);
        const std::string bytes = Slurp(sim);
        FailingSource source{{bytes.begin(), bytes.end()}, good};
        std::FILE* failing = OpenFailingStream(source);
        ParsedOptions show;
        show.positional = {sim.string()};
        std::ostringstream out, err;
        const Result r{ShowStream(failing, sim.string(), show, out, err), out.str(), err.str()};
        std::fclose(failing);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err,
                  std::string(ReadErrorText) + " " + sim.string() + "（入出力エラーです）\n");
    }
    // The same file read whole.
    const Result whole = InProcess({"show", sim.string()});
    EXPECT_EQ(whole.exitCode, 0);
    EXPECT_EQ(whole.out, Shell("@cli show " + Quote(sim.string())).out);
}

TEST_F(CliEdgeTest, AFolderIsNamedAsSuch) {
    const Result r = Shell("@cli show " + Quote(Dir_.string()));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              "フォルダです。ヨナタマ銀蛇ファイルを指定してください: " + Dir_.string() + "\n");
}

TEST_F(CliEdgeTest, TooLittleMemoryIsRefusedWithAMessage) {
    if (UnderSanitizer) {
        GTEST_SKIP() << "a sanitizer cannot run under an address-space limit";
    }
    const std::string limit = "prlimit --as=1500000000 ";
    const std::string tooMany =
        "Play数が大きすぎて、記録をメモリに保持できません。Play数を減らしてください。\n";
    struct Case {
        std::string args;
        int code;
        std::string err;
    };
    const fs::path huge = Dir_ / "huge.sim";
    {
        RunRecords none;
        ASSERT_EQ(SaveRunFile(huge.string(), 100000000, 4.0, 12.5, none), WriteStatus::Ok);
        fs::resize_file(huge, 24 + 20ull * 100000000ull); // 2 GB of zero records, sparse
    }
    const std::vector<Case> cases = {
        {"run --plays 300000000", 2, tooMany},
        {"run --plays 2147483647 --border 13.85", 2, tooMany},
        {"run --plays 70000000 --runs 3", 2, tooMany},
        {"show " + Quote(huge.string()), 1,
         "このファイルは大きすぎて、メモリに読み込めません。 " + huge.string() + "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const Result r = Shell(limit + "@cli " + c.args);
        EXPECT_EQ(r.exitCode, c.code);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
    // The window's own check under `render` and the study's follow the same rule.
    const struct {
        std::string args;
        std::string message;
    } others[] = {
        {"render --plays 40000000 --seed 1 --out " + Quote((Dir_ / "pictures").string()), tooMany},
        {"study --plays 1000 --runs 2000000 --seed 1",
         "Sim回数が大きすぎて、結果をメモリに保持できません。Sim回数を減らしてください。\n"},
    };
    for (const auto& c : others) {
        SCOPED_TRACE(c.args);
        const Result r = Shell("prlimit --as=921600000 @cli " + c.args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        ASSERT_GE(r.err.size(), c.message.size()) << r.err;
        EXPECT_EQ(r.err.substr(r.err.size() - c.message.size()), c.message) << r.err;
    }
    EXPECT_FALSE(fs::exists(Dir_ / "pictures"));
    // A pipe's length is not known beforehand: the failing allocation ends it.
    const Result piped = Shell("{ head -c 24 " + Quote(huge.string()) +
                               "; head -c 1600000000 /dev/zero; } | prlimit --as=400000000 "
                               "@cli show /dev/stdin");
    EXPECT_EQ(piped.exitCode, 1);
    EXPECT_EQ(piped.out, "");
    EXPECT_EQ(piped.err, "このファイルは大きすぎて、メモリに読み込めません。 /dev/stdin\n");
}

TEST_F(CliEdgeTest, OutputThatCannotBeWrittenFails) {
    for (const std::string args : {"--help", "run --help", "render --help",
                                   "run --plays 50 --seed 1", "theory", "theory --json"}) {
        SCOPED_TRACE(args);
        const Result r = Shell("@cli " + args + " > /dev/full");
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, "標準出力に書き込めません。\n");
    }
}

TEST_F(CliEdgeTest, AnEmptyOutputNameIsRefused) {
    for (const std::string command : {"run --plays 10", "render --plays 10"}) {
        const Result r = Shell("cd " + Quote(Dir_.string()) + " && @cli " + command + " --out ''");
        EXPECT_EQ(r.exitCode, 2) << command;
        EXPECT_EQ(r.out, "") << command;
        EXPECT_EQ(r.err, "--out を指定してください。\n") << command;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir_), fs::directory_iterator()), 1);
}

TEST_F(CliEdgeTest, RunSavesToLongNamesAndThroughDanglingLinks) {
    const fs::path longName = Dir_ / (std::string(251, 'r') + ".sim");
    Result r = Shell("@cli run --plays 100 --seed 1 --out " + Quote(longName.string()));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(fs::file_size(longName), 24u + 20u * 100u);

    fs::create_symlink("target.sim", Dir_ / "link.sim");
    r = Shell("@cli run --plays 100 --seed 1 --out " + Quote((Dir_ / "link.sim").string()));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(fs::is_symlink(Dir_ / "link.sim"));
    EXPECT_EQ(fs::file_size(Dir_ / "target.sim"), 24u + 20u * 100u);
}

TEST_F(CliEdgeTest, EveryCommandSharesTheParsersRulesAndMessages) {
    struct Case {
        std::string args;
        int code;
        std::string err;
    };
    const std::vector<Case> cases = {
        {"run --plays", 2, "--plays に値がありません。\n"},
        {"render --plays 5 --out", 2, "--out に値がありません。\n"},
        {"theory --border", 2, "--border に値がありません。\n"},
        {"run --plays 5 --what 1", 2, "不明なオプションです: --what\n"},
        {"show a.sim --what", 2, "不明なオプションです: --what\n"},
        {"theory --out x", 2, "不明なオプションです: --out\n"},
        {"render --plays 5 --out x --markers=yes", 2, "不明なオプションです: --markers=yes\n"},
        {"show a.sim --lists=1", 2, "不明なオプションです: --lists=1\n"},
        {"run --plays 5 extra", 2, "余分な引数です: extra\n"},
        {"theory extra", 2, "余分な引数です: extra\n"},
        {"show", 2, "ファイルを一つ指定してください。\n"},
        {"run --plays 5 --seed 4294967296", 2, std::string(SeedRefusal) + "\n"},
        {"render --plays 5 --seed x --out o", 2, std::string(SeedRefusal) + "\n"},
    };
    for (const Case& c : cases) {
        const Result r = Shell("cd " + Quote(Dir_.string()) + " && @cli " + c.args);
        EXPECT_EQ(r.exitCode, c.code) << c.args;
        EXPECT_EQ(r.out, "") << c.args;
        EXPECT_EQ(r.err, c.err) << c.args;
    }
    // The last of a repeated option counts, in both spellings.
    EXPECT_EQ(Shell("@cli run --plays 7 --plays=300 --seed 9").out,
              Shell("@cli run --plays 300 --seed 9").out);
    // Each command's help is its own usage line.
    for (const CliCommand& c : BuiltinCliCommands()) {
        const Result r = Shell(std::string("@cli ") + c.Name + " --help");
        EXPECT_EQ(r.exitCode, 0) << c.Name;
        EXPECT_EQ(r.out, std::string("使い方:\n  yonatama-cli ") + c.Usage +
                             "\n  yonatama-cli --help | --version\n");
    }
}

TEST_F(CliEdgeTest, TheoryTextIsTheSharedRows) {
    struct Case {
        std::string args;
        double border, rate;
        std::int64_t plays; // 0: no outlook
    };
    const std::vector<Case> cases = {
        {"", 12.5, 4.0, 0},
        {"--border 20", 20, 4.0, 0},
        {"--border 13.8 --rate 2.5 --plays 5000", 13.8, 2.5, 5000},
        {"--plays=1", 12.5, 4.0, 1},
    };
    for (const Case& c : cases) {
        const Result r = Shell("@cli theory " + c.args);
        EXPECT_EQ(r.exitCode, 0) << c.args;
        const MachineTheory t = TheoryForBorder(c.border);
        std::string expected = TheoryRowsText(MachineTheoryRows(c.border, t));
        expected += TheoryRowsText(DroughtRows());
        if (c.plays > 0) {
            const ExactOdds exact = OddsFrom(ExactBalance(c.border).Distribution(c.plays));
            expected += TheoryRowsText(
                OutlookRows(c.plays, c.rate, OutlookForPlays(t, c.plays, c.rate), exact));
        }
        EXPECT_EQ(r.out, expected) << c.args;
        EXPECT_EQ(r.err, "");
    }
}

TEST_F(CliEdgeTest, TheoryJsonHoldsExactlyItsKeysAtFullPrecision) {
    const std::vector<std::string> machineKeys = {
        "weight",           "plays_per_first_hit", "bonuses_per_first_hit",
        "balls_per_bonus",  "shots_per_play",      "balls_per_play",
        "sd_per_sqrt_play", "break_even_border",   "p_no_hit_within"};
    const std::vector<std::string> outlookKeys = {
        "mean_balance",       "sd_balance",       "p_ahead",        "mean_yen",         "sd_yen",
        "exact_mean_balance", "exact_sd_balance", "p_no_first_hit", "balance_quantiles"};
    for (const bool withPlays : {false, true}) {
        const Result r = Shell(std::string("@cli theory --border 17.25 --rate 1.5 --json") +
                               (withPlays ? " --plays 12345" : ""));
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const nlohmann::json j = nlohmann::json::parse(r.out);
        std::vector<std::string> keys = machineKeys;
        if (withPlays) {
            keys.insert(keys.end(), outlookKeys.begin(), outlookKeys.end());
        }
        ASSERT_EQ(j.size(), keys.size());
        for (const std::string& k : keys) {
            EXPECT_TRUE(j.contains(k)) << k;
        }
        const MachineTheory t = TheoryForBorder(17.25);
        EXPECT_EQ(j["weight"].get<int>(), t.Weight);
        EXPECT_EQ(j["plays_per_first_hit"].get<double>(), t.PlaysPerFirstHit);
        EXPECT_EQ(j["bonuses_per_first_hit"].get<double>(), t.BonusesPerFirstHit);
        EXPECT_EQ(j["balls_per_bonus"].get<double>(), t.BallsPerBonus);
        EXPECT_EQ(j["shots_per_play"].get<double>(), t.ShotsPerPlay);
        EXPECT_EQ(j["balls_per_play"].get<double>(), t.BallsPerPlay);
        EXPECT_EQ(j["sd_per_sqrt_play"].get<double>(), t.SdPerSqrtPlay);
        EXPECT_EQ(j["break_even_border"].get<double>(), t.BreakEvenBorder);
        if (withPlays) {
            const PlayOutlook o = OutlookForPlays(t, 12345, 1.5);
            EXPECT_EQ(j["mean_balance"].get<double>(), o.MeanBalance);
            EXPECT_EQ(j["sd_balance"].get<double>(), o.SdBalance);
            EXPECT_EQ(j["mean_yen"].get<double>(), o.MeanYen);
            EXPECT_EQ(j["sd_yen"].get<double>(), o.SdYen);
            const ExactOdds e = OddsFrom(ExactBalance(17.25).Distribution(12345));
            EXPECT_EQ(j["p_ahead"].get<double>(), e.PAhead);
            EXPECT_EQ(j["exact_mean_balance"].get<double>(), e.Mean);
            EXPECT_EQ(j["exact_sd_balance"].get<double>(), e.Sd);
            EXPECT_EQ(j["p_no_first_hit"].get<double>(), NoFirstHitChance(12345));
            const char* levels[] = {"0.05", "0.25", "0.5", "0.75", "0.95"};
            ASSERT_EQ(j["balance_quantiles"].size(), 5u);
            for (std::size_t q = 0; q < 5; ++q) {
                EXPECT_EQ(j["balance_quantiles"][levels[q]].get<std::int64_t>(), e.Quantiles[q]);
            }
        }
        EXPECT_EQ(j["p_no_hit_within"]["2000"].get<double>(), NoFirstHitChance(2000));
    }
}

TEST_F(CliEdgeTest, TheoryDistributionIsTheWholeTable) {
    const std::string path = (Dir_ / "theory-distribution.csv").string();
    const Result r = Shell("@cli theory --border 12.5 --plays 2 --distribution " + path);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "\xEF\xBB\xBF"
                    "balance,probability,cumulative\r");
    const BalanceTable t = ExactBalance(12.5).Distribution(2);
    long long previous = 0;
    double sum = 0.0, cumulative = 0.0, first = 0.0, last = 0.0;
    std::size_t rows = 0;
    for (; std::getline(in, line); ++rows) {
        long long b = 0;
        double p = 0.0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%lld,%lf,%lf", &b, &p, &cumulative), 3) << line;
        EXPECT_TRUE(rows == 0 || b == previous + 1) << line;
        EXPECT_EQ(p, t.At(b)) << line; // read back to the same double
        first = rows == 0 ? p : first;
        last = p;
        previous = b;
        sum += p;
    }
    // From the lowest to the highest balance above 1e-15; between them every
    // balance, the gap between normal play and a bonus included.
    EXPECT_GT(first, 1e-15);
    EXPECT_GT(last, 1e-15);
    EXPECT_GT(rows, 1000u);
    EXPECT_NEAR(sum, 1.0, 1e-12);
    EXPECT_NEAR(cumulative, 1.0, 1e-12);

    const struct {
        std::string args, message;
    } refused[] = {
        {"--distribution " + path, "--distribution には --plays が必要です。\n"},
        {"--border 249.9 --plays 1000", std::string(ExactTooLargeText) + "\n"},
    };
    for (const auto& c : refused) {
        const Result bad = Shell("@cli theory " + c.args);
        EXPECT_EQ(bad.exitCode, 2) << c.args;
        EXPECT_EQ(bad.err, c.message) << c.args;
        EXPECT_EQ(bad.out, "") << c.args;
    }
}

TEST_F(CliEdgeTest, TheoryChecksItsInputsAsRunDoes) {
    struct Case {
        std::string args, message;
    };
    const std::vector<Case> cases = {
        {"--plays 0", PlayCountRefusal},
        {"--rate -1", RateRefusal},
        {"--border 0.5", BorderMinRefusal},
        {"--border 250", BorderMaxRefusal},
        {"--plays abc", "'abc' は整数ではありません"},
        {"--border x", "'x' は浮動小数点数ではありません"},
        {"--plays 0 --rate x", PlayCountRefusal},
    };
    for (const Case& c : cases) {
        for (const std::string command : {"theory", "run"}) {
            const std::string args =
                std::string(command) + " " + c.args +
                (std::string(command) == "run" && c.args.find("--plays") == std::string::npos
                     ? " --plays 5"
                     : "");
            const Result r = Shell("@cli " + args);
            EXPECT_EQ(r.exitCode, 2) << args;
            EXPECT_EQ(r.out, "") << args;
            EXPECT_EQ(r.err, c.message + "\n") << args;
        }
    }
}

} // namespace

TEST_F(CliEdgeTest, RenderDrawsTheSameNumbersUnderACommaDecimalLocale) {
    ASSERT_FALSE(CommaLocale::Path().empty()) << "localedef could not make " << CommaLocale::Name;
    const fs::path plain = Dir_ / "plain";
    const fs::path comma = Dir_ / "comma";
    ASSERT_EQ(Shell("@cli render --plays 3000 --seed 7 --rate 0.4 --out " + Quote(plain.string()))
                  .exitCode,
              0);
    const Result r = Shell(CommaLocale::Environment() + "@cli render --plays 3000 --seed 7 " +
                           "--rate 0.4 --out " + Quote(comma.string()));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // The clock panel shows no time in a picture, so the pixels are the numbers'.
    for (const char* png : {"window.png", "SlumpChart.png", "KeizokuChart.png"}) {
        EXPECT_EQ(Slurp(comma / png), Slurp(plain / png)) << png;
    }
    // And the companion's own texts.
    const std::string args = "theory --border 1.25 --plays 1000 --rate 0.4";
    EXPECT_EQ(Shell(CommaLocale::Environment() + "@cli " + args).out, Shell("@cli " + args).out);
}
