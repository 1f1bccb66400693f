#include "engine/Slot.h"
#include "results/ResultTexts.h"
#include "runfile/RunFile.h"
#include "runs/RunDriver.h"

#include "CliProcess.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Result = CliResult;

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "cli-test-XXXXXX").string();
        Dir_ = ::mkdtemp(pattern.data());
    }
    void TearDown() override { fs::remove_all(Dir_); }

    Result Cli(const std::string& arguments) {
        const fs::path errFile = Dir_ / "stderr.txt";
        const std::string command = std::string("'") + YONATAMA_BIN_DIR + "/yonatama-cli' " +
                                    arguments + " 2>'" + errFile.string() + "'";
        return RunShell(command, errFile);
    }

    fs::path Dir_;
};

// The same run made in this process with the same engine and texts.
std::string ExpectedSummary(std::uint32_t seed, int plays, double rate, double border) {
    Slot machine;
    machine.Random().Seed(seed);
    machine.Reset();
    machine.SetBorder(border);
    RunRecords records;
    RecordPlays(machine, plays, records);
    return SummaryForRecords(records, rate) + "\n";
}

} // namespace

TEST_F(CliTest, ReferenceRunPrintsOnlyItsSummary) {
    const Result r = Cli("run --plays 2000 --seed 1");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, ExpectedSummary(1, 2000, 4.0, 12.5));
    // The final balance of the reference sequence, times the default rate.
    EXPECT_NE(r.out.find("\n出玉数:34652  収支:138608円\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.rfind("初当り数:", 0), 0u);
}

TEST_F(CliTest, SummaryMatchesTheEngineForOtherInputs) {
    struct Case {
        std::uint32_t seed;
        int plays;
        double rate;
        double border;
        std::string args;
    };
    const std::vector<Case> cases = {
        {0, 1, 4.0, 12.5, "--plays 1 --seed 0"},
        {7, 3000, 0.25, 20, "--plays=3000 --seed=7 --rate 0.25 --border 20"},
        {4294967295u, 500, 0, 1, "--seed 4294967295 --plays 500 --rate 0 --border 1"},
        {99, 1500, 2.5, 249.5, "--plays 1500 --seed 99 --rate 2.5 --border 249.5"},
    };
    for (const auto& c : cases) {
        const Result r = Cli("run " + c.args);
        EXPECT_EQ(r.exitCode, 0) << c.args;
        EXPECT_EQ(r.out, ExpectedSummary(c.seed, c.plays, c.rate, c.border)) << c.args;
    }
}

TEST_F(CliTest, RefusalsGoToStandardErrorWithExitCodeTwo) {
    struct Case {
        std::string args, message;
    };
    const std::vector<Case> cases = {
        {"run --plays 0", "Play数は、1以上にしてください。\n"},
        {"run --plays 10 --runs 0", "Sim回数は、1以上にしてください。\n"},
        {"run --plays 10 --rate -1", "交換レートは、0以上にしてください。\n"},
        {"run --plays 10 --border 0.5", "ボーダーは、1以上にしてください。\n"},
        {"run --plays 10 --border 250", "ボーダーは、250未満にしてください。\n"},
        {"run --plays abc", "'abc' は整数ではありません\n"},
        {"run --plays 10 --rate x", "'x' は浮動小数点数ではありません\n"},
        {"run --plays 0 --rate x", "Play数は、1以上にしてください。\n"},
    };
    for (const auto& c : cases) {
        const Result r = Cli(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.args;
        EXPECT_EQ(r.out, "") << c.args;
        EXPECT_EQ(r.err, c.message) << c.args;
    }
    for (const std::string bad :
         {"", "run", "run --plays", "run --plays 5 --seed -1", "run --plays 5 --what 1", "fly"}) {
        const Result r = Cli(bad);
        EXPECT_EQ(r.exitCode, 2) << bad;
        EXPECT_EQ(r.out, "") << bad;
        EXPECT_NE(r.err, "") << bad;
    }
}

TEST_F(CliTest, SavedRunShowsTheSameSummary) {
    const fs::path file = Dir_ / "one.sim";
    const Result run = Cli("run --plays 800 --seed 3 --rate 2 --out '" + file.string() + "'");
    ASSERT_EQ(run.exitCode, 0);
    ASSERT_EQ(fs::file_size(file), 24u + 20u * 800u);
    const Result show = Cli("show '" + file.string() + "'");
    EXPECT_EQ(show.exitCode, 0);
    EXPECT_EQ(show.out, run.out);

    const Result lists = Cli("show '" + file.string() + "' --lists");
    EXPECT_EQ(lists.exitCode, 0);
    EXPECT_EQ(lists.out.rfind(run.out + "\nPLAY数\tPLAY数2\t出目\t玉数\n1\t1\t", 0), 0u)
        << lists.out.substr(0, 300);
    EXPECT_NE(lists.out.find("\nPLAY数\tPLAY数2\t霧環チャンス\t獲得出玉数\n"), std::string::npos);
    EXPECT_NE(lists.out.find("\n継続回数\t累計\t割合(%)\n"), std::string::npos);
}

TEST_F(CliTest, BatchWritesNumberedFilesAndFigures) {
    const fs::path base = Dir_ / "v1.2";
    fs::create_directory(base);
    const Result r =
        Cli("run --plays 100 --runs 3 --seed 5 --out '" + (base / "run.sim").string() + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (int i = 1; i <= 3; ++i) {
        const fs::path f = base / ("run100_" + std::to_string(i) + ".sim");
        ASSERT_TRUE(fs::exists(f)) << f;
        const Result show = Cli("show '" + f.string() + "'");
        EXPECT_NE(r.out.find(show.out), std::string::npos) << i;
    }
    EXPECT_NE(r.out.find("\n\n集計 Sim回数:3\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("プラス収支の割合(%):"), std::string::npos);
}

TEST_F(CliTest, UnreadableFilesExitWithOne) {
    const fs::path foreign = Dir_ / "foreign.sim";
    std::ofstream(foreign, std::ios::binary) << "not a run file";
    Result r = Cli("show '" + foreign.string() + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "このファイルは、ヨナタマ銀蛇ファイルではありません。\n");

    RunRecords broken;
    broken.Append(1, 0, 0, 1, 7); // hit state 7
    broken.Append(2, 0, 0, 2, 0);
    const fs::path bad = Dir_ / "broken.sim";
    ASSERT_EQ(SaveRunFile(bad.string(), 2, 4.0, 12.5, broken), WriteStatus::Ok);
    r = Cli("show '" + bad.string() + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, std::string(BrokenRecordsText) + "\n");

    r = Cli("show '" + (Dir_ / "missing.sim").string() + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");

    r = Cli("run --plays 10 --out '" + (Dir_ / "no/such/folder.sim").string() + "'");
    EXPECT_EQ(r.exitCode, 1);
}

TEST_F(CliTest, EmptyRunFileShowsZeros) {
    const fs::path empty = Dir_ / "empty.sim";
    ASSERT_EQ(SaveRunFile(empty.string(), 0, 4.0, 12.5, RunRecords{}), WriteStatus::Ok);
    const Result r = Cli("show '" + empty.string() + "'");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "初当り数:0\u3000バトルボーナス数:0\n初当り確率:1/0.00\n継続数平均:0.00\n"
                     "出玉数:0  収支:0円\n");
}

TEST_F(CliTest, HelpGoesToStandardOutput) {
    const Result r = Cli("--help");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("run --plays N"), std::string::npos);
    EXPECT_EQ(r.err, "");
}

// The completion script, sourced by bash as bash-completion does, completing
// the word under the cursor.
TEST_F(CliTest, BashCompletionOffersCommandsOptionsAndRunFiles) {
    const Result script = Cli("--bash-completion");
    ASSERT_EQ(script.exitCode, 0);
    std::ofstream(Dir_ / "completion.bash") << script.out;
    std::ofstream(Dir_ / "a.sim") << "x";
    std::ofstream(Dir_ / "b.txt") << "x";
    struct Case {
        const char* line;
        const char* expected;
    };
    const Case cases[] = {
        {"yonatama-cli s", "show study"},
        {"yonatama-cli --v", "--version"},
        {"yonatama-cli show --l", "--lists"},
        {"yonatama-cli theory --j", "--json"},
        {"yonatama-cli study --s", "--sweep --seed"},
        {"yonatama-cli bogus --", ""},
        {"yonatama-cli show ", "a.sim"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const std::string command =
            "cd '" + Dir_.string() + "' && bash -c '. ./completion.bash; COMP_LINE=\"" + c.line +
            "\"; read -ra COMP_WORDS <<< \"$COMP_LINE\"; [[ $COMP_LINE == *\" \" ]] && "
            "COMP_WORDS+=(\"\"); COMP_CWORD=$((${#COMP_WORDS[@]}-1)); _yonatama_cli; echo "
            "\"${COMPREPLY[*]}\"' 2>'" +
            (Dir_ / "stderr.txt").string() + "'";
        const Result r = RunShell(command, Dir_ / "stderr.txt");
        EXPECT_EQ(r.out, std::string(c.expected) + "\n");
        EXPECT_EQ(r.err, "");
    }
}

// The cross-run figures of a batch on fixed seeds: the mean, the interpolated
// median and 5 %/95 % points, the same in yen, and the share strictly ahead.
TEST_F(CliTest, BatchFiguresOnFixedSeeds) {
    const struct {
        const char* arguments;
        const char* figures;
    } cases[] = {
        {"--plays 1500 --runs 6 --seed 1 --rate 2.5",
         "最終出玉数 平均:-5594.33333333333  中央値:-14698.5  5%点:-22661.75  95%点:30985\n"
         "最終収支(円) 平均:-13985.8333333333  中央値:-36746.25  5%点:-56654.375  95%点:77462.5\n"
         "プラス収支の割合(%):16.6666666666667\n"},
        {"--plays 1500 --runs 6 --seed 7 --rate 2.5",
         "最終出玉数 平均:4421.33333333333  中央値:2501.5  5%点:-14449  95%点:26060.75\n"
         "最終収支(円) 平均:11053.3333333333  中央値:6253.75  5%点:-36122.5  95%点:65151.875\n"
         "プラス収支の割合(%):50\n"},
        {"--plays 1500 --runs 6 --seed 4000000000 --rate 2.5",
         "最終出玉数 平均:-3443.16666666667  中央値:-2788  5%点:-10620  95%点:2963.25\n"
         "最終収支(円) 平均:-8607.91666666667  中央値:-6970  5%点:-26550  95%点:7408.125\n"
         "プラス収支の割合(%):50\n"},
        {"--plays 800 --runs 11 --seed 3 --border 15",
         "最終出玉数 平均:-727.363636363636  中央値:-1163  5%点:-10562  95%点:14425.5\n"
         "最終収支(円) 平均:-2909.45454545455  中央値:-4652  5%点:-42248  95%点:57702\n"
         "プラス収支の割合(%):36.3636363636364\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Result r = Cli(std::string("run ") + c.arguments);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const std::size_t at = r.out.find("最終出玉数 平均:");
        ASSERT_NE(at, std::string::npos) << r.out;
        EXPECT_EQ(r.out.substr(at), c.figures);
    }
}
