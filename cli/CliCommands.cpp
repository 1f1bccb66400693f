#include "cli/CliCommands.h"
#include "cli/CliSystem.h"
#include "cli/RenderLauncher.h"
#include "cli/StudyCommand.h"
#include "filesave/FileSaver.h"
#include "results/CsvExport.h"

#include "engine/Slot.h"
#include "numfmt/Conversions.h"
#include "numfmt/NumberFormats.h"
#include "results/InputChecks.h"
#include "results/ResultTexts.h"
#include "results/TheoryTexts.h"
#include "runfile/RunFile.h"
#include "runs/Accumulator.h"
#include "runs/FinalFigures.h"
#include "runs/MemoryRule.h"
#include "runs/RunDriver.h"
#include "runs/Study.h"
#include "stats/ExactBalance.h"
#include "stats/Theory.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <ostream>
#include <set>
#include <stdexcept>
#include <sys/stat.h>

std::string ParsedOptions::Value(const std::string& name, const std::string& fallback) const {
    const auto it = values.find(name);
    return it == values.end() ? fallback : it->second;
}

namespace {

// One subcommand as the parser sees it: every value option keeps its last
// value, flags take no value, the other words are kept in order.
struct CommandParser {
    std::unique_ptr<CLI::App> app;
    std::map<std::string, std::pair<CLI::Option*, std::string>> values;
    std::map<std::string, CLI::Option*> flags;
    std::vector<std::string> positional;
};

void Declare(CLI::App& app, const CliCommand& command, CommandParser& p) {
    app.allow_extras();
    app.set_help_flag("--help");
    for (const std::string& name : command.ValueOptions) {
        auto& slot = p.values[name];
        slot.first = app.add_option(name, slot.second)
                         ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
                         ->allow_extra_args(false);
    }
    for (const std::string& name : command.Flags) {
        p.flags[name] = app.add_flag(name)->disable_flag_override();
    }
    app.add_option("arguments", p.positional);
}

// The parser's own failure as the companion words it.
std::string Reworded(const CLI::ParseError& e, const CliArgs& args) {
    const std::string what = e.what();
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&e) != nullptr) {
        const std::size_t colon = what.find(':');
        if (colon != std::string::npos && what.find(" missing", colon) != std::string::npos) {
            return what.substr(0, colon) + " に値がありません。";
        }
        // A flag given a value: name the word as it was typed.
        for (const std::string& word : args) {
            const std::string flag = word.substr(0, word.find('='));
            if (word.find('=') != std::string::npos && flag.size() > 2 &&
                what.rfind(flag.substr(2), 0) == 0) {
                return "不明なオプションです: " + word;
            }
        }
    }
    return "コマンドラインを読めません: " + what;
}

// Takes what the parser kept: unknown options first, as the line is read.
std::string Collect(const CommandParser& p, ParsedOptions& out) {
    for (const std::string& word : p.app->remaining()) {
        if (word.size() > 1 && word[0] == '-' && word != "--") {
            return "不明なオプションです: " + word;
        }
        out.positional.push_back(word);
    }
    for (const auto& [name, slot] : p.values) {
        if (slot.first->count() > 0) {
            out.values[name] = slot.second;
        }
    }
    for (const auto& [name, option] : p.flags) {
        if (option->count() > 0) {
            out.flags.insert(name);
        }
    }
    out.positional.insert(out.positional.begin(), p.positional.begin(), p.positional.end());
    return {};
}

void WriteUsage(std::ostream& s, const std::vector<CliCommand>& commands) {
    s << "使い方:\n";
    for (const CliCommand& c : commands) {
        s << "  yonatama-cli " << c.Usage << "\n";
    }
    s << "  yonatama-cli --help | --version\n";
}

// Words of one command for completion, space-separated.
std::string OptionWords(const CliCommand& c) {
    std::string words = "--help";
    for (const std::string& o : c.ValueOptions)
        words += " " + o;
    for (const std::string& f : c.Flags)
        words += " " + f;
    return words;
}

// Results reach their reader or the command fails.
int Finish(std::ostream& out, std::ostream& err) {
    out.flush();
    if (!out) {
        err << "標準出力に書き込めません。\n";
        return CliFileError;
    }
    return CliOk;
}

// The start inputs a command takes, checked as the window checks them.
std::optional<int> CheckInputs(const std::string& plays, const std::string& runs,
                               const ParsedOptions& o, StartInputs& in, std::ostream& err) {
    try {
        const std::string refusal = CheckStartInputs(plays, runs, o.Value("--rate", "4.0"),
                                                     o.Value("--border", "12.5"), in);
        if (!refusal.empty()) {
            err << refusal << "\n";
            return CliInputError;
        }
    } catch (const EConvertError& e) {
        err << e.what() << "\n";
        return CliInputError;
    }
    return std::nullopt;
}

void WriteBatchFigures(std::ostream& out, const Accumulator& finals, double rate) {
    out << "\n集計 Sim回数:" << finals.Count() << "\n" << FinalFiguresText(finals, rate) << "\n";
}

void WriteRow(std::ostream& out, std::initializer_list<std::string> cells) {
    bool first = true;
    for (const std::string& c : cells) {
        out << (first ? "" : "\t") << c;
        first = false;
    }
    out << "\n";
}

template <std::size_t N>
void WriteCaptions(std::ostream& out, const std::array<const char*, N>& captions) {
    for (std::size_t k = 0; k < N; ++k) {
        out << (k == 0 ? "" : "\t") << captions[k];
    }
    out << "\n";
}

void WriteLists(std::ostream& out, const RunRecords& records) {
    out << "\n";
    WriteCaptions(out, PlayListCaptions);
    for (std::size_t i = 0; i < records.Size(); ++i) {
        WriteRow(out, {PlayText(records, i), Play2Text(records, i),
                       OutcomeText(records.HitStates[i]), BallText(records, i)});
    }
    out << "\n";
    WriteCaptions(out, BonusListCaptions);
    for (const BonusRow& row : BonusRows(records)) {
        WriteRow(out, {row.Play, row.Play2, row.Chance, row.Gained});
    }
    out << "\n";
    WriteCaptions(out, KeizokuListCaptions);
    for (const KeizokuRow& row : KeizokuRows(ComputeChainStats(records))) {
        WriteRow(out, {row.Caption, row.CountText, row.Percent});
    }
}

// The file's records as the reader will hold them, when its length is known.
std::uint64_t RecordBytesOf(std::FILE* f) {
    struct stat info {};
    if (::fstat(::fileno(f), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size < static_cast<off_t>(RunFileHeaderSize)) {
        return 0;
    }
    return (static_cast<std::uint64_t>(info.st_size) - RunFileHeaderSize) / RunFileRecordSize *
           RecordBytesPerPlay;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

void WriteJsonNumbers(std::ostream& out, const MachineTheory& t,
                      const std::optional<PlayOutlook>& outlook, const ExactOdds& exact) {
    nlohmann::ordered_json j;
    j["weight"] = t.Weight;
    j["plays_per_first_hit"] = t.PlaysPerFirstHit;
    j["bonuses_per_first_hit"] = t.BonusesPerFirstHit;
    j["balls_per_bonus"] = t.BallsPerBonus;
    j["shots_per_play"] = t.ShotsPerPlay;
    j["balls_per_play"] = t.BallsPerPlay;
    j["sd_per_sqrt_play"] = t.SdPerSqrtPlay;
    j["break_even_border"] = t.BreakEvenBorder;
    nlohmann::ordered_json drought;
    for (const int n : DroughtPlays) {
        drought[std::to_string(n)] = NoFirstHitChance(n);
    }
    j["p_no_hit_within"] = drought;
    if (outlook) {
        j["mean_balance"] = outlook->MeanBalance;
        j["sd_balance"] = outlook->SdBalance;
        j["p_ahead"] = exact.PAhead;
        j["mean_yen"] = outlook->MeanYen;
        j["sd_yen"] = outlook->SdYen;
        j["exact_mean_balance"] = exact.Mean;
        j["exact_sd_balance"] = exact.Sd;
        j["p_no_first_hit"] = exact.PNoFirstHit;
        const char* levels[] = {"0.05", "0.25", "0.5", "0.75", "0.95"};
        nlohmann::ordered_json quantiles;
        for (std::size_t q = 0; q < exact.Quantiles.size(); ++q) {
            quantiles[levels[q]] = exact.Quantiles[q];
        }
        j["balance_quantiles"] = quantiles;
    }
    out << j.dump() << "\n";
}

// What makes `run`'s own options unusable ("" when nothing does); reads the seed.
std::string RunOptionsRefusal(const ParsedOptions& o, std::optional<std::uint32_t>& seed) {
    if (!o.positional.empty()) {
        return "余分な引数です: " + o.positional.front();
    }
    if (!o.Has("--plays")) {
        return "--plays を指定してください。";
    }
    if (o.Has("--out") && o.Value("--out", "").empty()) {
        return "--out を指定してください。";
    }
    if (o.Has("--seed")) {
        seed = ParseSeed(o.Value("--seed", ""));
        if (!seed) {
            return SeedRefusal;
        }
    }
    return "";
}

// Plays every run of `in` on one machine, printing each summary and saving
// each run when outPath is set; the batch figures follow two or more runs.
int PlayRuns(Slot& machine, const StartInputs& in, const std::string& outPath, std::ostream& out,
             std::ostream& err) {
    RunRecords records;
    Accumulator finals;
    finals.Reserve(static_cast<std::size_t>(in.Runs));
    for (int run = 1; run <= in.Runs; ++run) {
        machine.Reset();
        machine.SetBorder(in.Border);
        RecordPlays(machine, in.PlayCount, records);
        const bool atGuard = records.Size() < static_cast<std::size_t>(in.PlayCount);
        out << (run > 1 ? "\n" : "") << SummaryForRecords(records, in.Rate) << "\n";
        finals.Add(records.BallCounts.back());
        if (!outPath.empty()) {
            const std::string path =
                in.Runs == 1 ? outPath : BatchFileName(outPath, machine.PlayNo, run);
            if (SaveRunFile(path, machine.PlayNo, in.Rate, in.Border, records) != WriteStatus::Ok) {
                out.flush();
                err << "エラーにより強制終了しました。 " << path << "\n";
                return CliFileError;
            }
        }
        // What was made up to the guard is shown and kept; nothing further runs.
        if (atGuard) {
            out.flush();
            err << BalanceLimitStopText << "\n";
            return CliFileError;
        }
    }
    if (in.Runs > 1) {
        WriteBatchFigures(out, finals, in.Rate);
    }
    return 0;
}

} // namespace

int RunCommand(const ParsedOptions& o, std::ostream& out, std::ostream& err) {
    std::optional<std::uint32_t> seed;
    if (const std::string problem = RunOptionsRefusal(o, seed); !problem.empty()) {
        err << problem << "\n";
        return CliInputError;
    }
    StartInputs in;
    if (const auto refused =
            CheckInputs(o.Value("--plays", ""), o.Value("--runs", "1"), o, in, err)) {
        return *refused;
    }
    if (const std::string refusal = CheckBalanceRange(in.PlayCount, in.Border); !refusal.empty()) {
        err << refusal << "\n";
        return CliInputError;
    }
    // One run's records are held at a time, and the final balance of every run.
    if (!RunFitsInMemory(static_cast<std::uint64_t>(in.PlayCount),
                         static_cast<std::uint64_t>(in.Runs), false)) {
        err << TooManyPlaysText << "\n";
        return CliInputError;
    }

    Slot machine; // seeded from the clock, as the window's machine is
    if (seed) {
        machine.Random().Seed(*seed);
    }
    try {
        if (const int failed = PlayRuns(machine, in, o.Value("--out", ""), out, err)) {
            return failed;
        }
    } catch (const std::bad_alloc&) {
        out.flush();
        err << OutOfMemoryText << "\n";
        return CliFileError;
    } catch (const std::length_error&) {
        out.flush();
        err << OutOfMemoryText << "\n";
        return CliFileError;
    }
    return Finish(out, err);
}

// The three lists as CSV files in `dir`, made if missing (and removed again,
// when still empty, if the files cannot be written).
std::string WriteCsvInto(const std::string& dir, const RunRecords& records) {
    if (dir.empty()) {
        return "--csv にはフォルダ名を指定してください。";
    }
    if (const std::string unusable = CheckOutputFolder(dir); !unusable.empty()) {
        return unusable;
    }
    std::vector<std::string> created;
    if (!MakeOutputFolder(dir, created)) {
        const int error = errno;
        RemoveEmptyFolders(created);
        return "出力フォルダを作れません: " + dir + "（" + SystemErrorText(error) + "）";
    }
    const std::string problem = WriteListCsvFiles(records, dir);
    if (!problem.empty()) {
        RemoveEmptyFolders(created);
    }
    return problem;
}

int ShowCommand(const ParsedOptions& o, std::ostream& out, std::ostream& err) {
    if (o.positional.size() != 1) {
        err << "ファイルを一つ指定してください。\n";
        return CliInputError;
    }
    const std::string& path = o.positional.front();
    // Opened once and read as a stream, so a pipe works as well as a file.
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        err << "ファイルを開けません: " << path << "（" << SystemErrorText(errno) << "）\n";
        return CliFileError;
    }
    return ShowStream(file.get(), path, o, out, err);
}

int ShowStream(std::FILE* file, const std::string& path, const ParsedOptions& o, std::ostream& out,
               std::ostream& err) {
    struct stat info {};
    if (::fstat(::fileno(file), &info) == 0 && S_ISDIR(info.st_mode)) {
        err << "フォルダです。ヨナタマ銀蛇ファイルを指定してください: " << path << "\n";
        return CliFileError;
    }
    if (!FitsInMemory(RecordBytesOf(file))) {
        err << FileTooLargeText << " " << path << "\n";
        return CliFileError;
    }
    try {
        RunFileHeader header;
        RunRecords records;
        const ReadStatus status = ReadRunFile(file, header, records);
        if (status == ReadStatus::ReadFailed) {
            err << ReadErrorText << " " << path << "（" << SystemErrorText(errno) << "）\n";
            return CliFileError;
        }
        if (status != ReadStatus::Ok) {
            err << ReadFailureText(status) << "\n";
            return CliFileError;
        }
        if (const std::string foreign = ValidateHeader(header); !foreign.empty()) {
            err << foreign << "\n";
            return CliFileError;
        }
        if (const std::string broken = ValidateRecords(records); !broken.empty()) {
            err << broken << "\n";
            return CliFileError;
        }
        if (o.Has("--csv")) {
            const std::string dir = o.Value("--csv", "");
            if (const std::string problem = WriteCsvInto(dir, records); !problem.empty()) {
                err << problem << "\n";
                return CliFileError;
            }
        }
        out << SummaryForRecords(records, header.Rate) << "\n";
        if (o.flags.count("--lists") != 0) {
            WriteLists(out, records);
        }
    } catch (const std::bad_alloc&) {
        out.flush();
        err << FileTooLargeText << " " << path << "\n";
        return CliFileError;
    } catch (const std::length_error&) {
        out.flush();
        err << FileTooLargeText << " " << path << "\n";
        return CliFileError;
    }
    return Finish(out, err);
}

int TheoryCommand(const ParsedOptions& o, std::ostream& out, std::ostream& err) {
    if (!o.positional.empty()) {
        err << "余分な引数です: " << o.positional.front() << "\n";
        return CliInputError;
    }
    StartInputs in;
    if (const auto refused = CheckInputs(o.Value("--plays", "1"), "1", o, in, err)) {
        return *refused;
    }
    if (o.Has("--distribution") && !o.Has("--plays")) {
        err << "--distribution には --plays が必要です。\n";
        return CliInputError;
    }
    const MachineTheory theory = TheoryForBorder(in.Border);
    std::optional<PlayOutlook> outlook;
    ExactOdds exact;
    if (o.Has("--plays")) {
        outlook = OutlookForPlays(theory, in.PlayCount, in.Rate);
        try {
            const BalanceTable table =
                ExactBalance(in.Border).Distribution(in.PlayCount, StudyJobs(0));
            exact = OddsFrom(table);
            const std::string path = o.Value("--distribution", "");
            if (!path.empty() &&
                SystemSaver().SaveBytes(path, DistributionCsv(table)) != WriteStatus::Ok) {
                err << "ファイルを書けません: " << path << "\n";
                return CliFileError;
            }
        } catch (const TableTooLarge&) {
            err << ExactTooLargeText << "\n";
            return CliInputError;
        } catch (const std::bad_alloc&) {
            err << OutOfMemoryText << "\n";
            return CliFileError;
        }
    }
    if (o.flags.count("--json") != 0) {
        WriteJsonNumbers(out, theory, outlook, exact);
    } else {
        out << TheoryRowsText(MachineTheoryRows(in.Border, theory));
        out << TheoryRowsText(DroughtRows());
        if (outlook) {
            out << TheoryRowsText(OutlookRows(in.PlayCount, in.Rate, *outlook, exact));
        }
    }
    return Finish(out, err);
}

namespace {

int RenderHandler(const ParsedOptions& parsed, std::ostream& out, std::ostream& err);

} // namespace

namespace {

int StudyHandler(const ParsedOptions& o, std::ostream& out, std::ostream& err) {
    if (!o.positional.empty()) {
        err << "余分な引数です: " << o.positional.front() << "\n";
        return CliInputError;
    }
    if (o.Has("--border") && o.Has("--sweep")) {
        err << "--border と --sweep は同時に指定できません。\n";
        return CliInputError;
    }
    StudyOptions s;
    s.Plays = o.Value("--plays", "");
    s.Runs = o.Value("--runs", "");
    s.Border = o.Value("--border", s.Border);
    s.Sweep = o.Value("--sweep", "");
    s.Rate = o.Value("--rate", s.Rate);
    s.Seed = o.Value("--seed", "");
    s.Jobs = o.Value("--jobs", "");
    s.Json = o.flags.count("--json") != 0;
    s.Png = o.Value("--png", "");
    s.Csv = o.Value("--csv", "");
    // The installed companion finds its picture program where render does.
    s.Renderer = RendererProgramPath();
    return StudyCommand(s, out, err);
}

} // namespace

const std::vector<CliCommand>& BuiltinCliCommands() {
    static const std::vector<CliCommand> commands = {
        {"run",
         "run --plays N [--runs R] [--rate Y] [--border B] [--seed S] [--out PATH]",
         {"--plays", "--runs", "--rate", "--border", "--seed", "--out"},
         {},
         &RunCommand},
        {"show", "show FILE.sim [--lists] [--csv DIR]", {"--csv"}, {"--lists"}, &ShowCommand},
        {"render",
         "render (FILE.sim | --plays N [--seed S] [--border B] [--rate Y]) [--markers] --out DIR",
         {"--plays", "--seed", "--border", "--rate", "--out"},
         {"--markers"},
         &RenderHandler},
        {"theory",
         "theory [--border B] [--rate Y] [--plays N [--distribution FILE]] [--json]",
         {"--border", "--rate", "--plays", "--distribution"},
         {"--json"},
         &TheoryCommand},
        {"study",
         "study --plays N --runs R [--border B | --sweep A:B:STEP] [--rate Y] [--seed S] [--jobs "
         "J] "
         "[--json] [--png FILE] [--csv FILE]",
         {"--plays", "--runs", "--border", "--sweep", "--rate", "--seed", "--jobs", "--png",
          "--csv"},
         {"--json"},
         &StudyHandler},
    };
    return commands;
}

std::string ParseCommandLine(const CliCommand& command, const CliArgs& args, ParsedOptions& out,
                             bool& help) {
    help = false;
    CommandParser p;
    p.app = std::make_unique<CLI::App>("", command.Name);
    Declare(*p.app, command, p);
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        p.app->parse(reversed);
    } catch (const CLI::CallForHelp&) {
        help = true;
        return {};
    } catch (const CLI::ParseError& e) {
        return Reworded(e, args);
    }
    return Collect(p, out);
}

std::string RenderOptionsFrom(const ParsedOptions& parsed, RenderOptions& o) {
    o.Markers = parsed.flags.count("--markers") != 0;
    if (parsed.Value("--out", "").empty()) {
        return "--out を指定してください。";
    }
    o.Out = parsed.Value("--out", "");
    if (parsed.Has("--plays")) {
        o.Plays = parsed.Value("--plays", "");
    }
    const std::vector<std::string>& positional = parsed.positional;
    if (positional.size() > 1) {
        return "余分な引数です: " + positional[1];
    }
    if (positional.size() == 1) {
        if (o.Plays) {
            return "ファイルと --plays は同時に指定できません。";
        }
        if (parsed.Has("--seed") || parsed.Has("--rate") || parsed.Has("--border")) {
            return "--seed、--rate、--border は --plays と共に指定してください。";
        }
        o.File = positional.front();
    } else if (!o.Plays) {
        return "ファイルか --plays を指定してください。";
    }
    if (parsed.Has("--seed")) {
        o.Seed = ParseSeed(parsed.Value("--seed", ""));
        if (!o.Seed) {
            return SeedRefusal;
        }
    }
    o.Rate = parsed.Value("--rate", o.Rate);
    o.Border = parsed.Value("--border", o.Border);
    return {};
}

std::optional<int> ParseRenderLine(const CliArgs& args, RenderOptions& o, std::ostream& out,
                                   std::ostream& err) {
    const CliCommand& render = BuiltinCliCommands()[2];
    ParsedOptions parsed;
    bool help = false;
    std::string problem = ParseCommandLine(render, args, parsed, help);
    if (help) {
        WriteUsage(out, {render});
        return Finish(out, err);
    }
    if (problem.empty()) {
        problem = RenderOptionsFrom(parsed, o);
    }
    if (!problem.empty()) {
        err << problem << "\n";
        return CliInputError;
    }
    // The output folder is checked before any work, so nothing is made in vain.
    if (const std::string unusable = CheckOutputFolder(o.Out); !unusable.empty()) {
        err << unusable << "\n";
        return CliFileError;
    }
    return std::nullopt;
}

namespace {

// Checked here too, so a refused line never starts the window's program.
int RenderHandler(const ParsedOptions& parsed, std::ostream& /*out*/, std::ostream& err) {
    RenderOptions o;
    if (const std::string problem = RenderOptionsFrom(parsed, o); !problem.empty()) {
        err << problem << "\n";
        return CliInputError;
    }
    if (const std::string unusable = CheckOutputFolder(o.Out); !unusable.empty()) {
        err << unusable << "\n";
        return CliFileError;
    }
    return CliOk;
}

} // namespace

int RunCli(const CliArgs& args, std::ostream& out, std::ostream& err) {
    const std::vector<CliCommand>& commands = BuiltinCliCommands();
    if (args.empty()) {
        WriteUsage(err, commands);
        return CliInputError;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        WriteUsage(out, commands);
        return Finish(out, err);
    }
    if (args[0] == "--version" || args[0] == "-V") {
        out << "yonatama-cli " << YONATAMA_VERSION << "\n";
        return Finish(out, err);
    }
    if (args[0] == "--bash-completion") {
        WriteBashCompletion(out);
        return Finish(out, err);
    }
    const auto command = std::find_if(commands.begin(), commands.end(),
                                      [&](const CliCommand& c) { return args[0] == c.Name; });
    if (command == commands.end()) {
        err << "不明なコマンドです: " << args[0] << "\n";
        WriteUsage(err, commands);
        return CliInputError;
    }
    const CliArgs rest(args.begin() + 1, args.end());
    ParsedOptions parsed;
    bool help = false;
    const std::string problem = ParseCommandLine(*command, rest, parsed, help);
    if (help) {
        WriteUsage(out, {*command});
        return Finish(out, err);
    }
    if (!problem.empty()) {
        err << problem << "\n";
        return CliInputError;
    }
    try {
        const int code = command->Run(parsed, out, err);
        if (code != CliOk || command->Run != &RenderHandler) {
            return code;
        }
        return LaunchRenderer(rest, out, err);
    } catch (const std::bad_alloc&) {
        out.flush();
        err << OutOfMemoryText << "\n";
        return CliFileError;
    }
}

void WriteBashCompletion(std::ostream& out) {
    const std::vector<CliCommand>& commands = BuiltinCliCommands();
    std::string names;
    for (const CliCommand& c : commands)
        names += std::string(names.empty() ? "" : " ") + c.Name;
    out << "# bash completion for yonatama-cli (made by yonatama-cli --bash-completion)\n"
           "_yonatama_cli() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} words\n"
           "    if [ \"$COMP_CWORD\" -eq 1 ]; then\n"
           "        COMPREPLY=($(compgen -W \""
        << names
        << " --help --version\" -- \"$cur\")); return\n"
           "    fi\n"
           "    case $prev in\n"
           "    --out|--csv) COMPREPLY=($(compgen -d -- \"$cur\")); return ;;\n"
           "    --png) COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n"
           "    esac\n"
           "    case ${COMP_WORDS[1]} in\n";
    for (const CliCommand& c : commands)
        out << "    " << c.Name << ") words=\"" << OptionWords(c) << "\" ;;\n";
    out << "    *) return ;;\n"
           "    esac\n"
           "    if [[ $cur == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
           "    else\n"
           "        COMPREPLY=($(compgen -f -X '!*.sim' -- \"$cur\") $(compgen -d -- \"$cur\"))\n"
           "    fi\n"
           "}\n"
           "complete -o filenames -F _yonatama_cli yonatama-cli\n";
}
