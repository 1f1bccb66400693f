#include "runs/Study.h"

#include "engine/Slot.h"
#include "results/ResultTexts.h"
#include "results/TheoryTexts.h"
#include "runs/RunDriver.h"
#include "stats/BalanceLimit.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>
#include <new>
#include <sstream>
#include <stdexcept>
#include <system_error>

std::vector<int> BandPlayCounts(int plays, int points) {
    std::vector<int> out{0};
    if (plays <= 0) {
        return out;
    }
    points = std::max(points, 1);
    if (plays <= points) {
        for (int p = 1; p <= plays; ++p) {
            out.push_back(p);
        }
        return out;
    }
    for (int k = 1; k <= points; ++k) {
        const auto p = static_cast<int>(std::llround(static_cast<double>(plays) * k / points));
        if (p > out.back()) {
            out.push_back(p);
        }
    }
    out.back() = plays;
    return out;
}

std::uint32_t RunSeed(std::uint32_t seed, int run) {
    return seed + static_cast<std::uint32_t>(run);
}

BandRun RunWithBands(std::uint32_t seed, double border, const std::vector<int>& bandPlays,
                     std::int32_t* balances, std::stop_token stop,
                     std::atomic<std::int64_t>* playsDone) {
    RandomSource source;
    source.Seed(seed);
    Slot machine(source);
    machine.Reset();
    machine.SetBorder(border);
    if (SampleBands(machine, bandPlays, balances, stop, playsDone)) {
        return BandRun::Done;
    }
    return BalanceAtGuard(machine.Balls) ? BandRun::BalanceLimit : BandRun::Stopped;
}

StudyFigures SummariseStudy(int plays, double border, double rate, std::uint32_t seed,
                            const std::vector<int>& bandPlays,
                            const std::vector<std::int32_t>& balances) {
    StudyFigures f;
    const std::size_t width = bandPlays.size();
    const std::size_t runs = width == 0 ? 0 : balances.size() / width;
    f.Runs = static_cast<int>(runs);
    f.Plays = plays;
    f.Border = border;
    f.Rate = rate;
    f.Seed = seed;
    f.BandPlays = bandPlays;
    f.Theory = OutlookForPlays(TheoryForBorder(border), plays, rate);
    if (runs == 0) {
        return f;
    }

    Accumulator finals;
    finals.Reserve(runs);
    for (std::size_t r = 0; r < runs; ++r) {
        const std::int32_t v = balances[r * width + width - 1];
        f.FinalBalances.push_back(v);
        finals.Add(v);
    }
    f.MeanBalance = finals.Mean();
    f.MeanBalanceCi95 = finals.MeanInterval95();
    f.PAhead = finals.ShareAhead();
    f.PAheadCi95 = finals.ShareAheadInterval95();
    f.P05Balance = finals.Percentile(0.05);
    f.P25Balance = finals.Percentile(0.25);
    f.MedianBalance = finals.Percentile(0.5);
    f.P75Balance = finals.Percentile(0.75);
    f.P95Balance = finals.Percentile(0.95);

    f.Bands.resize(width);
    for (std::size_t k = 0; k < width; ++k) {
        Accumulator column;
        column.Reserve(runs);
        for (std::size_t r = 0; r < runs; ++r) {
            column.Add(balances[r * width + k]);
        }
        f.Bands[k] = {column.Percentile(0.05), column.Percentile(0.25), column.Percentile(0.5),
                      column.Percentile(0.75), column.Percentile(0.95)};
    }
    return f;
}

int StudyJobs(int jobs) {
    if (jobs > 0) {
        return jobs;
    }
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

std::uint64_t StudyMemoryBytes(const StudyRequest& request) {
    const auto width = static_cast<std::uint64_t>(BandPlayCounts(request.Plays).size());
    const auto runs = static_cast<std::uint64_t>(std::max(request.Runs, 0));
    const auto borders = static_cast<std::uint64_t>(request.Borders.size());
    // Per run: its band balances; the summary adds the final balance, and a
    // sorted column of doubles and the finals as doubles (one border at a time).
    const std::uint64_t kept = borders * runs * (width + 1) * sizeof(std::int32_t);
    return kept + runs * 2 * sizeof(double);
}

namespace {

// The first failure of any worker, kept once; the others are then stopped.
class StudyFailure {
public:
    void Set(const char* text) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (text_.empty()) {
            text_ = text;
        }
    }
    std::string Get() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return text_;
    }

private:
    mutable std::mutex mutex_;
    std::string text_;
};

std::vector<StudyFigures> Summarise(const StudyRequest& request, const std::vector<int>& bandPlays,
                                    const std::vector<std::vector<std::int32_t>>& balances) {
    std::vector<StudyFigures> out;
    for (std::size_t b = 0; b < balances.size(); ++b) {
        out.push_back(SummariseStudy(request.Plays, request.Borders[b], request.Rate, request.Seed,
                                     bandPlays, balances[b]));
    }
    return out;
}

} // namespace

std::optional<std::vector<StudyFigures>> RunStudy(const StudyRequest& request, std::stop_token stop,
                                                  std::atomic<std::int64_t>* playsDone,
                                                  std::string* failure) {
    StudyFailure failed;
    // One source for the caller's stop and for a failing worker's.
    std::stop_source halt;
    const std::stop_callback forward(stop, [&halt] { halt.request_stop(); });
    const auto fail = [&](const char* text) {
        failed.Set(text);
        halt.request_stop();
    };
    std::optional<std::vector<StudyFigures>> result;
    try {
        const std::vector<int> bandPlays = BandPlayCounts(request.Plays);
        const std::size_t width = bandPlays.size();
        const std::size_t runs = static_cast<std::size_t>(std::max(request.Runs, 0));
        const std::size_t borders = request.Borders.size();
        std::vector<std::vector<std::int32_t>> balances(borders,
                                                        std::vector<std::int32_t>(runs * width));

        // Work items are (border, run) pairs handed out one at a time, so each
        // result lands in its own place whichever thread made it.
        const std::size_t items = borders * runs;
        std::atomic<std::size_t> next{0};
        const auto work = [&] {
            const std::stop_token token = halt.get_token();
            for (std::size_t i = next.fetch_add(1); i < items; i = next.fetch_add(1)) {
                const std::size_t b = i / runs;
                const std::size_t r = i % runs;
                const BandRun end =
                    RunWithBands(RunSeed(request.Seed, static_cast<int>(r)), request.Borders[b],
                                 bandPlays, balances[b].data() + r * width, token, playsDone);
                if (end == BandRun::BalanceLimit) {
                    fail(StudyBalanceLimitText);
                }
                if (end != BandRun::Done) {
                    return;
                }
            }
        };
        const int jobs = static_cast<int>(
            std::min<std::size_t>(StudyJobs(request.Jobs), std::max<std::size_t>(items, 1)));
        {
            std::vector<std::jthread> workers;
            try {
                workers.reserve(static_cast<std::size_t>(jobs));
                for (int j = 1; j < jobs; ++j) {
                    workers.emplace_back(work);
                }
            } catch (const std::system_error&) {
                fail(StudyThreadFailureText);
            }
            work();
        }
        if (!halt.stop_requested()) {
            result = Summarise(request, bandPlays, balances);
        }
    } catch (const std::bad_alloc&) {
        fail(StudyOutOfMemoryText);
    } catch (const std::length_error&) {
        fail(StudyOutOfMemoryText);
    }
    if (failure != nullptr) {
        *failure = failed.Get();
    }
    return halt.stop_requested() ? std::nullopt : std::move(result);
}

BackgroundStudy::BackgroundStudy(StudyRequest request) : request_(std::move(request)) {
    total_ = static_cast<std::int64_t>(request_.Plays) * std::max(request_.Runs, 0) *
             static_cast<std::int64_t>(request_.Borders.size());
    try {
        thread_ = std::jthread([this](std::stop_token stop) {
            result_ = RunStudy(request_, stop, &playsDone_, &failure_);
            finished_.store(true, std::memory_order_release);
        });
    } catch (const std::system_error&) {
        failure_ = StudyThreadFailureText;
        finished_.store(true, std::memory_order_release);
    }
}

BackgroundStudy::~BackgroundStudy() {
    Cancel();
    Wait();
}

void BackgroundStudy::Cancel() {
    thread_.request_stop();
}

void BackgroundStudy::Wait() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

namespace {

std::string Number(double v, int decimals) {
    return std::isnan(v) ? std::string("-") : FixedText(v, decimals);
}

std::string Range(const Interval& i, double scale, int decimals) {
    return Number(i.Low * scale, decimals) + " 〜 " + Number(i.High * scale, decimals);
}

nlohmann::ordered_json BorderJson(const StudyFigures& f) {
    nlohmann::ordered_json j;
    j["runs"] = f.Runs;
    j["plays"] = f.Plays;
    j["border"] = f.Border;
    j["rate"] = f.Rate;
    j["seed"] = f.Seed;
    j["final_balances"] = f.FinalBalances;
    j["mean_balance"] = f.MeanBalance;
    j["mean_balance_ci95"] = {f.MeanBalanceCi95.Low, f.MeanBalanceCi95.High};
    j["median_balance"] = f.MedianBalance;
    j["p05_balance"] = f.P05Balance;
    j["p25_balance"] = f.P25Balance;
    j["p75_balance"] = f.P75Balance;
    j["p95_balance"] = f.P95Balance;
    j["p_ahead"] = f.PAhead;
    j["p_ahead_ci95"] = {f.PAheadCi95.Low, f.PAheadCi95.High};
    j["theory_mean_balance"] = f.Theory.mean_balance;
    j["theory_sd_balance"] = f.Theory.sd_balance;
    j["theory_p_ahead"] = f.Theory.p_ahead;
    nlohmann::ordered_json bands;
    bands["plays"] = f.BandPlays;
    const char* names[] = {"p05", "p25", "p50", "p75", "p95"};
    for (int q = 0; q < 5; ++q) {
        std::vector<double> column;
        for (const auto& row : f.Bands) {
            column.push_back(row[q]);
        }
        bands[names[q]] = column;
    }
    j["bands"] = bands;
    return j;
}

// One RFC 4180 field: quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) {
        return s;
    }
    std::string q = "\"";
    for (const char c : s) {
        q += c;
        if (c == '"') {
            q += '"';
        }
    }
    return q + "\"";
}

std::string CsvNumber(double v) {
    std::ostringstream s;
    s.precision(17);
    s << v;
    return s.str();
}

void CsvRow(std::string& out, const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        out += (i == 0 ? "" : ",") + CsvField(cells[i]);
    }
    out += "\r\n";
}

} // namespace

std::string StudyText(const std::vector<StudyFigures>& borders) {
    std::ostringstream out;
    bool first = true;
    for (const StudyFigures& f : borders) {
        out << (first ? "" : "\n");
        first = false;
        out << "分布の研究 Sim回数:" << f.Runs << " Play数:" << f.Plays
            << " ボーダー:" << FormatGeneral15(f.Border)
            << " 交換レート:" << FormatGeneral15(f.Rate) << " シード:" << f.Seed << "\n";
        const struct {
            const char* unit;
            double scale;
            int decimals;
        } units[] = {{"最終出玉数", 1.0, 1}, {"最終収支(円)", f.Rate, 0}};
        for (const auto& u : units) {
            out << u.unit << " 平均:" << Number(f.MeanBalance * u.scale, u.decimals)
                << " (95%信頼区間 " << Range(f.MeanBalanceCi95, u.scale, u.decimals) << ")"
                << "  中央値:" << Number(f.MedianBalance * u.scale, u.decimals)
                << "  5%点:" << Number(f.P05Balance * u.scale, u.decimals)
                << "  25%点:" << Number(f.P25Balance * u.scale, u.decimals)
                << "  75%点:" << Number(f.P75Balance * u.scale, u.decimals)
                << "  95%点:" << Number(f.P95Balance * u.scale, u.decimals) << "\n";
            out << "  理論値 平均:" << Number(f.Theory.mean_balance * u.scale, u.decimals)
                << "  標準偏差:" << Number(f.Theory.sd_balance * u.scale, u.decimals) << "\n";
        }
        out << "プラス収支の割合(%):" << Number(f.PAhead * 100.0, 1) << " (95%信頼区間 "
            << Range(f.PAheadCi95, 100.0, 1) << ")"
            << "  理論値:" << Number(f.Theory.p_ahead * 100.0, 1) << "\n";
    }
    return out.str();
}

std::string StudyJson(const std::vector<StudyFigures>& borders, bool sweep) {
    if (!sweep && borders.size() == 1) {
        return BorderJson(borders.front()).dump() + "\n";
    }
    nlohmann::ordered_json all;
    all["borders"] = nlohmann::ordered_json::array();
    for (const StudyFigures& f : borders) {
        all["borders"].push_back(BorderJson(f));
    }
    return all.dump() + "\n";
}

namespace {

double JsonNumber(const nlohmann::json& j) {
    return j.is_null() ? std::numeric_limits<double>::quiet_NaN() : j.get<double>();
}

StudyFigures BorderFromJson(const nlohmann::json& j) {
    StudyFigures f;
    f.Runs = j.at("runs").get<int>();
    f.Plays = j.at("plays").get<int>();
    f.Border = j.at("border").get<double>();
    f.Rate = j.at("rate").get<double>();
    f.Seed = j.at("seed").get<std::uint32_t>();
    f.FinalBalances = j.at("final_balances").get<std::vector<std::int32_t>>();
    f.MeanBalance = j.at("mean_balance").get<double>();
    f.MeanBalanceCi95 = {JsonNumber(j.at("mean_balance_ci95").at(0)),
                         JsonNumber(j.at("mean_balance_ci95").at(1))};
    f.MedianBalance = j.at("median_balance").get<double>();
    f.P05Balance = j.at("p05_balance").get<double>();
    f.P25Balance = j.at("p25_balance").get<double>();
    f.P75Balance = j.at("p75_balance").get<double>();
    f.P95Balance = j.at("p95_balance").get<double>();
    f.PAhead = j.at("p_ahead").get<double>();
    f.PAheadCi95 = {j.at("p_ahead_ci95").at(0).get<double>(),
                    j.at("p_ahead_ci95").at(1).get<double>()};
    f.Theory = OutlookForPlays(TheoryForBorder(f.Border), f.Plays, f.Rate);
    const nlohmann::json& bands = j.at("bands");
    f.BandPlays = bands.at("plays").get<std::vector<int>>();
    const char* names[] = {"p05", "p25", "p50", "p75", "p95"};
    f.Bands.resize(f.BandPlays.size());
    for (int q = 0; q < 5; ++q) {
        const auto column = bands.at(names[q]).get<std::vector<double>>();
        if (column.size() != f.Bands.size()) {
            throw std::out_of_range("band length");
        }
        for (std::size_t k = 0; k < column.size(); ++k) {
            f.Bands[k][q] = column[k];
        }
    }
    return f;
}

} // namespace

std::optional<std::vector<StudyFigures>> StudyFromJson(const std::string& text) {
    try {
        const nlohmann::json j = nlohmann::json::parse(text);
        std::vector<StudyFigures> out;
        if (j.contains("borders")) {
            for (const auto& b : j.at("borders")) {
                out.push_back(BorderFromJson(b));
            }
        } else {
            out.push_back(BorderFromJson(j));
        }
        return out;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::string StudyCsv(const std::vector<StudyFigures>& borders) {
    std::string out = "\xEF\xBB\xBF";
    CsvRow(out, {"種類", "ボーダー", "Sim番号", "シード", "Play数", "出玉数", "5%点", "25%点",
                 "中央値", "75%点", "95%点"});
    for (const StudyFigures& f : borders) {
        for (int r = 0; r < f.Runs; ++r) {
            CsvRow(out, {"最終出玉数", CsvNumber(f.Border), std::to_string(r),
                         std::to_string(RunSeed(f.Seed, r)), std::to_string(f.Plays),
                         std::to_string(f.FinalBalances[r]), "", "", "", "", ""});
        }
    }
    for (const StudyFigures& f : borders) {
        for (std::size_t k = 0; k < f.Bands.size(); ++k) {
            std::vector<std::string> row = {
                "分布", CsvNumber(f.Border), "", "", std::to_string(f.BandPlays[k]), ""};
            for (const double v : f.Bands[k]) {
                row.push_back(CsvNumber(v));
            }
            CsvRow(out, row);
        }
    }
    return out;
}

std::string RemainingTimeText(double shareDone, double secondsSpent) {
    if (shareDone <= 0.0 || !std::isfinite(secondsSpent)) {
        return "残り時間 計算中";
    }
    const auto left = static_cast<long long>(
        std::ceil(std::max(0.0, secondsSpent * (1.0 - shareDone) / shareDone)));
    std::string s = "残り ";
    if (left >= 3600) {
        s += std::to_string(left / 3600) + "時間";
    }
    if (left >= 60) {
        s += std::to_string(left / 60 % 60) + "分";
    }
    return s + std::to_string(left % 60) + "秒";
}
