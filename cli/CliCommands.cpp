#include "cli/CliCommands.h"
#include "cli/RenderLauncher.h"

#include "engine/Slot.h"
#include "results/Conversions.h"
#include "results/InputChecks.h"
#include "results/RecordRun.h"
#include "results/ResultTexts.h"
#include "runfile/RunFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <set>

std::string ParsedOptions::Value(const std::string& name, const std::string& fallback) const {
    const auto it = values.find(name);
    return it == values.end() ? fallback : it->second;
}

std::string ParseOptions(const CliArgs& args, const std::set<std::string>& valueOptions,
                         const std::set<std::string>& flagOptions, ParsedOptions& out) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0 || a == "--") {
            out.positional.push_back(a);
            continue;
        }
        const std::size_t eq = a.find('=');
        const std::string name = a.substr(0, eq);
        if (valueOptions.count(name) != 0) {
            if (eq != std::string::npos) {
                out.values[name] = a.substr(eq + 1);
            } else if (i + 1 < args.size()) {
                out.values[name] = args[++i];
            } else {
                return name + " に値がありません。";
            }
        } else if (flagOptions.count(name) != 0 && eq == std::string::npos) {
            out.flags.insert(name);
        } else {
            return "不明なオプションです: " + a;
        }
    }
    return {};
}

std::optional<std::uint32_t> ParseSeed(const std::string& text) {
    if (text.empty() || text.size() > 10 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const unsigned long long v = std::stoull(text);
    if (v > 0xFFFFFFFFull) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(v);
}

namespace {

// Linear interpolation between the closest ranks of sorted values.
double Percentile(const std::vector<std::int32_t>& sorted, double p) {
    const double h = (static_cast<double>(sorted.size()) - 1.0) * p;
    const auto lo = static_cast<std::size_t>(std::floor(h));
    const std::size_t hi = std::min(lo + 1, sorted.size() - 1);
    return sorted[lo] + (h - static_cast<double>(lo)) * (sorted[hi] - sorted[lo]);
}

void WriteBatchFigures(std::ostream& out, std::vector<std::int32_t> finals, double rate) {
    std::sort(finals.begin(), finals.end());
    double sum = 0.0;
    std::size_t ahead = 0;
    for (const std::int32_t v : finals) {
        sum += v;
        ahead += v > 0 ? 1 : 0;
    }
    const double n = static_cast<double>(finals.size());
    const double figures[] = {sum / n, Percentile(finals, 0.5), Percentile(finals, 0.05),
                              Percentile(finals, 0.95)};
    const char* names[] = {"平均:", "  中央値:", "  5%点:", "  95%点:"};
    out << "\n集計 Sim回数:" << finals.size() << "\n最終出玉数 ";
    for (int k = 0; k < 4; ++k) {
        out << names[k] << FormatGeneral15(figures[k]);
    }
    out << "\n最終収支(円) ";
    for (int k = 0; k < 4; ++k) {
        out << names[k] << FormatGeneral15(figures[k] * rate);
    }
    out << "\nプラス収支の割合(%):" << FormatGeneral15(static_cast<double>(ahead) / n * 100.0)
        << "\n";
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

void WriteUsage(std::ostream& s, const std::vector<CliCommand>& commands) {
    s << "使い方:\n";
    for (const CliCommand& c : commands) {
        s << "  yonatama-cli " << c.Usage << "\n";
    }
    s << "  yonatama-cli --help\n";
}

} // namespace

int RunCommand(const CliArgs& args, std::ostream& out, std::ostream& err) {
    ParsedOptions o;
    std::string problem =
        ParseOptions(args, {"--plays", "--runs", "--rate", "--border", "--seed", "--out"}, {}, o);
    if (problem.empty() && !o.positional.empty()) {
        problem = "余分な引数です: " + o.positional.front();
    }
    if (problem.empty() && o.values.count("--plays") == 0) {
        problem = "--plays を指定してください。";
    }
    std::optional<std::uint32_t> seed;
    if (problem.empty() && o.values.count("--seed") != 0) {
        seed = ParseSeed(o.values["--seed"]);
        if (!seed) {
            problem = SeedRefusal;
        }
    }
    if (!problem.empty()) {
        err << problem << "\n";
        return CliInputError;
    }

    StartInputs in;
    try {
        const std::string refusal =
            CheckStartInputs(o.values["--plays"], o.Value("--runs", "1"), o.Value("--rate", "4.0"),
                             o.Value("--border", "12.5"), in);
        if (!refusal.empty()) {
            err << refusal << "\n";
            return CliInputError;
        }
    } catch (const EConvertError& e) {
        err << e.what() << "\n";
        return CliInputError;
    }

    Slot machine; // seeds the process's source from the clock, as the window does
    if (seed) {
        ProcessRandom().Seed(*seed);
    }
    const std::string outPath = o.Value("--out", "");
    RunRecords records;
    std::vector<std::int32_t> finals;
    for (int run = 1; run <= in.Runs; ++run) {
        machine.Reset();
        machine.SetBorder(in.Border);
        RecordPlays(machine, in.PlayCount, records);
        out << (run > 1 ? "\n" : "") << SummaryForRecords(records, in.Rate) << "\n";
        finals.push_back(records.BallCounts.back());
        if (!outPath.empty()) {
            const std::string path =
                in.Runs == 1 ? outPath : BatchFileName(outPath, machine.PlayNo, run);
            if (SaveRunFile(path, machine.PlayNo, in.Rate, in.Border, records) != WriteStatus::Ok) {
                out.flush();
                err << "エラーにより強制終了しました。 " << path << "\n";
                return CliFileError;
            }
        }
    }
    if (in.Runs > 1) {
        WriteBatchFigures(out, finals, in.Rate);
    }
    out.flush();
    return out ? CliOk : CliFileError;
}

int ShowCommand(const CliArgs& args, std::ostream& out, std::ostream& err) {
    ParsedOptions o;
    std::string problem = ParseOptions(args, {}, {"--lists"}, o);
    if (problem.empty() && o.positional.size() != 1) {
        problem = "ファイルを一つ指定してください。";
    }
    if (!problem.empty()) {
        err << problem << "\n";
        return CliInputError;
    }
    const std::string& path = o.positional.front();
    RunFileHeader header;
    RunRecords records;
    const ReadStatus status = ReadRunFile(path, header, records);
    if (status == ReadStatus::CannotOpen) {
        err << "ファイルを開けません: " << path << "\n";
        return CliFileError;
    }
    if (status != ReadStatus::Ok) {
        err << ReadFailureText(status) << "\n";
        return CliFileError;
    }
    if (const std::string broken = ValidateRecords(records); !broken.empty()) {
        err << broken << "\n";
        return CliFileError;
    }
    out << SummaryForRecords(records, header.Rate) << "\n";
    if (o.flags.count("--lists") != 0) {
        WriteLists(out, records);
    }
    out.flush();
    return out ? CliOk : CliFileError;
}

const std::vector<CliCommand>& BuiltinCliCommands() {
    static const std::vector<CliCommand> commands = {
        {"run", "run --plays N [--runs R] [--rate Y] [--border B] [--seed S] [--out PATH]",
         &RunCommand},
        {"show", "show FILE.sim [--lists]", &ShowCommand},
        {"render",
         "render (FILE.sim | --plays N [--seed S] [--border B] [--rate Y]) [--markers] --out DIR",
         &LaunchRenderer},
    };
    return commands;
}

int RunCli(const CliArgs& args, std::ostream& out, std::ostream& err,
           const std::vector<CliCommand>& extra) {
    std::vector<CliCommand> commands = BuiltinCliCommands();
    commands.insert(commands.end(), extra.begin(), extra.end());
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h" || args[0] == "help")) {
        WriteUsage(out, commands);
        return CliOk;
    }
    if (args.empty()) {
        WriteUsage(err, commands);
        return CliInputError;
    }
    for (const CliCommand& c : commands) {
        if (args[0] == c.Name) {
            const CliArgs rest(args.begin() + 1, args.end());
            if (std::find(rest.begin(), rest.end(), "--help") != rest.end()) {
                WriteUsage(out, {c});
                return CliOk;
            }
            return c.Run(rest, out, err);
        }
    }
    err << "不明なコマンドです: " << args[0] << "\n";
    WriteUsage(err, commands);
    return CliInputError;
}
