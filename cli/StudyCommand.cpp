#include "cli/StudyCommand.h"

#include "cli/ExitCodes.h"
#include "filesave/FileSaver.h"
#include "numfmt/Conversions.h"
#include "numfmt/NumberFormats.h"
#include "results/InputChecks.h"
#include "results/TheoryTexts.h"
#include "runs/MemoryRule.h"
#include "runs/Study.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <ostream>
#include <spawn.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

constexpr int MaxSweepBorders = 1000;

// Hands the figures to yonatama-render and waits for the picture.
int DrawPicture(const StudyOptions& o, const std::vector<StudyFigures>& figures,
                std::ostream& err) {
    char name[] = "/tmp/yonatama-study-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd < 0) {
        err << "一時ファイルを作れません。\n";
        return CliFileError;
    }
    ::close(fd);
    const std::string json = StudyJson(figures, figures.size() > 1);
    if (SystemSaver().SaveBytes(name, json) != WriteStatus::Ok) {
        std::remove(name);
        err << "一時ファイルを書けません: " << name << "\n";
        return CliFileError;
    }
    const std::string& program = o.Renderer;
    std::vector<std::string> words = {program, "study-picture", name, o.Png};
    std::vector<char*> argv;
    for (std::string& w : words) {
        argv.push_back(w.data());
    }
    argv.push_back(nullptr);
    err.flush();
    pid_t pid = 0;
    int status = 0;
    const bool started =
        ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) == 0;
    if (started) {
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    std::remove(name);
    if (!started) {
        err << "描画プログラムを起動できません: " << program << "\n";
        return CliFileError;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        err << "画像を書けません: " << o.Png << "\n";
        return CliFileError;
    }
    return CliOk;
}

void ShowProgress(std::ostream& err, const BackgroundStudy& study, double seconds) {
    const double share = study.PlaysTotal() > 0 ? static_cast<double>(study.PlaysDone()) /
                                                      static_cast<double>(study.PlaysTotal())
                                                : 1.0;
    std::string percent = FixedText(share * 100.0, 1) + "%";
    percent.insert(0, percent.size() < 6 ? 6 - percent.size() : 0, ' ');
    err << "\r研究中 " << percent << "  " << RemainingTimeText(share, seconds) << "      "
        << std::flush;
}

// "" when `path` can be written as a file (it is not a folder, its folder
// exists and takes new files, an existing file may be replaced); else the
// message, so that a long study never ends on an output it cannot write.
std::string CheckOutputFile(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path p(path);
    if (std::filesystem::is_directory(p, ec)) {
        return "フォルダです。ファイル名を指定してください: " + path;
    }
    const std::filesystem::path folder = p.has_parent_path() ? p.parent_path() : ".";
    const bool exists = std::filesystem::exists(p, ec);
    if (!std::filesystem::is_directory(folder, ec) || ::access(folder.c_str(), W_OK | X_OK) != 0 ||
        (exists && ::access(p.c_str(), W_OK) != 0)) {
        return "ファイルを書けません: " + path;
    }
    return {};
}

// The study's memory under the one memory rule of runs and records.
bool StudyFitsInMemory(int plays, int runs, std::size_t borders) {
    StudyRequest request;
    request.Plays = plays;
    request.Runs = runs;
    request.Borders.resize(borders);
    return FitsInMemory(StudyMemoryBytes(request));
}

} // namespace

std::optional<std::vector<double>> ParseSweep(const std::string& text) {
    const std::size_t c1 = text.find(':');
    const std::size_t c2 = c1 == std::string::npos ? c1 : text.find(':', c1 + 1);
    if (c2 == std::string::npos || text.find(':', c2 + 1) != std::string::npos) {
        return std::nullopt;
    }
    const auto a = TryStrToFloat(text.substr(0, c1));
    const auto b = TryStrToFloat(text.substr(c1 + 1, c2 - c1 - 1));
    const auto step = TryStrToFloat(text.substr(c2 + 1));
    if (!a || !b || !step || !(*step > 0.0) || *a > *b) {
        return std::nullopt;
    }
    // A hair of slack so that 10:11:0.1 reaches 11 despite binary fractions.
    const double count = std::floor((*b - *a) / *step + 1e-9) + 1.0;
    if (count > MaxSweepBorders) {
        return std::nullopt;
    }
    std::vector<double> borders;
    for (int k = 0; k < static_cast<int>(count); ++k) {
        // Read as a typed border is, so 10 + 3 * 0.1 is the border 10.3.
        borders.push_back(BorderAsRead(*a + k * *step));
    }
    return borders;
}

namespace {

// The borders to study: the sweep's, or the one border checked with the
// other start inputs.
std::string BordersFrom(const StudyOptions& o, const StartInputs& in,
                        std::vector<double>& borders) {
    if (o.Sweep.empty()) {
        borders = {in.Border};
        return {};
    }
    const auto sweep = ParseSweep(o.Sweep);
    if (!sweep) {
        return "--sweep は、A:B:STEP (A≦B、STEP>0、1000個まで) にしてください。";
    }
    std::string problem;
    for (const double b : *sweep) {
        if (problem.empty()) {
            problem = CheckBorder(b);
        }
    }
    borders = *sweep;
    return problem;
}

// The request of the command line, or the refusal to print. The seed is left
// 0 when the clock is to give it.
std::string RequestFrom(const StudyOptions& o, StudyRequest& request) {
    if (o.Plays.empty()) {
        return "--plays を指定してください。";
    }
    if (o.Runs.empty()) {
        return "--runs を指定してください。";
    }
    StartInputs in;
    try {
        const std::string problem =
            CheckStartInputs(o.Plays, o.Runs, o.Rate, o.Sweep.empty() ? o.Border : "12.5", in);
        if (!problem.empty()) {
            return problem;
        }
    } catch (const EConvertError& e) {
        return e.what();
    }
    request.Plays = in.PlayCount;
    request.Runs = in.Runs;
    request.Rate = in.Rate;
    if (std::string problem = BordersFrom(o, in, request.Borders); !problem.empty()) {
        return problem;
    }
    for (const double b : request.Borders) {
        if (std::string problem = CheckBalanceRange(in.PlayCount, b); !problem.empty()) {
            return problem;
        }
    }
    if (!o.Seed.empty()) {
        const auto parsed = ParseSeed(o.Seed);
        if (!parsed) {
            return "--seed は、0から4294967295の整数にしてください。";
        }
        request.Seed = *parsed;
    }
    if (!o.Jobs.empty()) {
        const auto parsed = TryStrToInt(o.Jobs);
        if (!parsed || *parsed < 1 || *parsed > 1024) {
            return "--jobs は、1から1024の整数にしてください。";
        }
        request.Jobs = *parsed;
    }
    if (!StudyFitsInMemory(in.PlayCount, in.Runs, request.Borders.size())) {
        return TooManyRunsText;
    }
    return {};
}

// Waits for the study, with the progress line on `err` when asked for.
void WaitFor(BackgroundStudy& study, bool progress, std::ostream& err) {
    const auto started = std::chrono::steady_clock::now();
    if (progress) {
        while (!study.Finished()) {
            const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - started;
            ShowProgress(err, study, spent.count());
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        err << "\r" << std::string(40, ' ') << "\r" << std::flush;
    }
    study.Wait();
}

} // namespace

int StudyCommand(const StudyOptions& o, std::ostream& out, std::ostream& err) {
    StudyRequest request;
    if (const std::string problem = RequestFrom(o, request); !problem.empty()) {
        err << problem << "\n";
        return CliInputError;
    }
    // Outputs are checked before the work, as `render` checks its folder.
    for (const std::string* path : {&o.Csv, &o.Png}) {
        if (const std::string unusable = path->empty() ? "" : CheckOutputFile(*path);
            !unusable.empty()) {
            err << unusable << "\n";
            return CliFileError;
        }
    }
    if (o.Seed.empty()) {
        request.Seed = static_cast<std::uint32_t>(std::time(nullptr));
        err << "シード:" << request.Seed << " (--seed " << request.Seed
            << " で同じ研究を繰り返せます)\n";
    }
    BackgroundStudy study(request);
    WaitFor(study, o.Progress.value_or(::isatty(STDERR_FILENO) == 1), err);
    if (!study.Result()) {
        err << study.Failure() << "\n";
        return CliFileError;
    }
    const std::vector<StudyFigures>& figures = *study.Result();

    out << (o.Json ? StudyJson(figures, !o.Sweep.empty()) : StudyText(figures));
    out.flush();
    if (!o.Csv.empty() && SystemSaver().SaveBytes(o.Csv, StudyCsv(figures)) != WriteStatus::Ok) {
        err << "ファイルを書けません: " << o.Csv << "\n";
        return CliFileError;
    }
    if (!o.Png.empty()) {
        if (const int drawn = DrawPicture(o, figures, err); drawn != CliOk) {
            return drawn;
        }
    }
    return out ? CliOk : CliFileError;
}
