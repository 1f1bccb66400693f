#include "runs/Study.h"

#include "engine/HugePages.h"
#include "engine/Slot.h"
#include "numfmt/NumberFormats.h"
#include "results/ResultTexts.h"
#include "results/TheoryTexts.h"
#include "runfile/RunFile.h"
#include "runs/RunDriver.h"
#include "stats/BalanceLimit.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <mutex>
#include <new>
#include <optional>
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

namespace {

// A bijection of 32-bit words whose every output bit depends on every input
// bit (a multiply-xorshift finaliser with well-tested constants).
constexpr std::uint32_t Mix32(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

} // namespace

std::uint32_t RunSeed(std::uint32_t seed, int run) {
    // The first draws of neighbouring seeds of the machine's generator move
    // together, so consecutive seeds would make runs that are not independent.
    // An odd step keeps the seeds of one study distinct before they are mixed.
    const std::uint32_t start = Mix32(seed ^ 0x5BD1E995u);
    return Mix32(start + static_cast<std::uint32_t>(run) * 0x9E3779B9u);
}

BandRun RunWithBands(std::uint32_t seed, double border, const std::vector<int>& bandPlays,
                     std::int32_t* balances, std::stop_token stop,
                     std::atomic<std::int64_t>* playsDone, RunPath* path) {
    RandomSource source;
    source.Seed(seed);
    Slot machine(source);
    machine.Reset();
    machine.SetBorder(border);
    if (SampleBands(machine, bandPlays, balances, stop, playsDone, path)) {
        return BandRun::Done;
    }
    return BalanceAtGuard(machine.Balls) ? BandRun::BalanceLimit : BandRun::Stopped;
}

std::vector<int> TheoryBandPlayCounts(const std::vector<int>& bandPlays) {
    constexpr std::size_t Most = 41;
    if (bandPlays.size() <= Most) {
        return bandPlays;
    }
    std::vector<int> out;
    const std::size_t last = bandPlays.size() - 1;
    for (std::size_t k = 0; k < Most; ++k) {
        out.push_back(bandPlays[k * last / (Most - 1)]);
    }
    return out;
}

Interval QuantileInterval95(const std::vector<double>& sorted, double p) {
    const double n = static_cast<double>(sorted.size());
    const double half = Z95 * std::sqrt(n * p * (1.0 - p));
    const auto rank = [&](double r) {
        return sorted[static_cast<std::size_t>(std::clamp(r, 0.0, n - 1.0))];
    };
    return {rank(std::floor(n * p - half)), rank(std::ceil(n * p + half))};
}

namespace {

void AddPathFigures(StudyFigures& f, const std::vector<RunPath>& paths) {
    std::vector<double> needs;
    std::int64_t ahead = 0;
    for (const RunPath& p : paths) {
        f.LowestBalances.push_back(p.Lowest);
        needs.push_back(-static_cast<double>(p.Lowest));
        ahead += p.Highest > 0 ? 1 : 0;
    }
    const auto runs = static_cast<std::int64_t>(paths.size());
    f.PEverAhead = static_cast<double>(ahead) / static_cast<double>(runs);
    f.PEverAheadCi95 = WilsonInterval95(ahead, runs);
    std::sort(needs.begin(), needs.end());
    for (std::size_t c = 0; c < CashLevels.size(); ++c) {
        f.CashToBring[c] = Percentile(needs, CashLevels[c]);
        f.CashToBringCi95[c] = QuantileInterval95(needs, CashLevels[c]);
    }
}

} // namespace

void AddExactFigures(StudyFigures& f, int threads) {
    f.ExactKnown = false;
    f.TheoryBandPlays.clear();
    f.TheoryBands.clear();
    const ExactBalance exact(f.Border);
    const std::vector<int> counts = TheoryBandPlayCounts(f.BandPlays);
    const std::vector<std::int64_t> wide(counts.begin(), counts.end());
    // The final table's transform is one thread's work; with threads to spare
    // the bands are made beside it rather than after it.
    std::optional<ExactOdds> odds;
    std::vector<BandPoints> bands;
    bool bandsFit = true;
    std::exception_ptr bandsFailed;
    const auto makeBands = [&](int n) {
        try {
            bands = exact.Bands(wide, n);
        } catch (const TableTooLarge&) {
            bandsFit = false;
        } catch (const std::bad_alloc&) {
            bandsFit = false;
        } catch (...) {
            bandsFailed = std::current_exception();
        }
    };
    const auto makeOdds = [&](int n) {
        try {
            odds = OddsFrom(exact.Distribution(f.Plays, n));
        } catch (const TableTooLarge&) {
        } catch (const std::bad_alloc&) {
        }
    };
    if (threads > 1) {
        std::jthread beside([&] { makeBands(threads - 1); });
        makeOdds(1);
    } else {
        makeOdds(1);
        if (odds)
            makeBands(1);
    }
    if (bandsFailed)
        std::rethrow_exception(bandsFailed);
    if (!odds)
        return;
    f.Exact = *odds;
    f.ExactKnown = true;
    if (bandsFit) {
        f.TheoryBands = std::move(bands);
        f.TheoryBandPlays = counts;
    }
}

StudyFigures SummariseStudy(int plays, double border, double rate, std::uint32_t seed,
                            const std::vector<int>& bandPlays,
                            const std::vector<std::int32_t>& balances,
                            const std::vector<RunPath>& paths) {
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

    if (paths.size() == runs) {
        AddPathFigures(f, paths);
    }
    // A run's balances lie side by side, so the columns are copied out a
    // block at a time: each run's row is read once per block, not per column.
    constexpr std::size_t Block = 16;
    constexpr std::array<double, 5> Levels = {0.05, 0.25, 0.5, 0.75, 0.95};
    std::vector<std::int32_t> columns(std::min(Block, width) * runs);
    f.Bands.resize(width);
    for (std::size_t k0 = 0; k0 < width; k0 += Block) {
        const std::size_t count = std::min(Block, width - k0);
        for (std::size_t r = 0; r < runs; ++r) {
            const std::int32_t* row = balances.data() + r * width + k0;
            for (std::size_t j = 0; j < count; ++j) {
                columns[j * runs + r] = row[j];
            }
        }
        for (std::size_t j = 0; j < count; ++j) {
            SelectPercentiles(std::span<const std::int32_t>(columns.data() + j * runs, runs),
                              Levels, f.Bands[k0 + j]);
        }
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
    // sorted column of doubles, the finals and the lowest balances as doubles
    // (one border at a time).
    const std::uint64_t kept =
        borders * runs * ((width + 1) * sizeof(std::int32_t) + sizeof(RunPath));
    return kept + runs * 3 * sizeof(double);
}

namespace {

// The first failure of any worker, kept once; the others are then stopped.
class StudyFailure {
public:
    void Set(const char* text) {
        std::lock_guard<std::mutex> lock(Mutex_);
        if (Text_.empty()) {
            Text_ = text;
        }
    }
    std::string Get() const {
        std::lock_guard<std::mutex> lock(Mutex_);
        return Text_;
    }

private:
    mutable std::mutex Mutex_;
    std::string Text_;
};

std::vector<StudyFigures> Summarise(const StudyRequest& request, const std::vector<int>& bandPlays,
                                    const std::vector<std::vector<std::int32_t>>& balances,
                                    const std::vector<std::vector<RunPath>>& paths) {
    std::vector<StudyFigures> out;
    for (std::size_t b = 0; b < balances.size(); ++b) {
        out.push_back(SummariseStudy(request.Plays, request.Borders[b], request.Rate, request.Seed,
                                     bandPlays, balances[b], paths[b]));
        if (request.Exact) {
            AddExactFigures(out.back(), StudyJobs(request.Jobs));
        }
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
        // Each made in place: copies of one made first would touch every
        // page twice.
        std::vector<std::vector<std::int32_t>> balances(borders);
        std::vector<std::vector<RunPath>> paths(borders);
        for (std::size_t b = 0; b < borders; ++b) {
            ReserveHuge(balances[b], runs * width);
            balances[b].resize(runs * width);
            paths[b].resize(runs);
        }

        // Work items are (border, run) pairs handed out one at a time, so each
        // result lands in its own place whichever thread made it.
        const std::size_t items = borders * runs;
        std::atomic<std::size_t> next{0};
        const auto work = [&] {
            const std::stop_token token = halt.get_token();
            for (std::size_t i = next.fetch_add(1); i < items; i = next.fetch_add(1)) {
                const std::size_t b = i / runs;
                const std::size_t r = i % runs;
                const BandRun end = RunWithBands(
                    RunSeed(request.Seed, static_cast<int>(r)), request.Borders[b], bandPlays,
                    balances[b].data() + r * width, token, playsDone, &paths[b][r]);
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
            result = Summarise(request, bandPlays, balances, paths);
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

BackgroundStudy::BackgroundStudy(StudyRequest request) : Request_(std::move(request)) {
    Total_ = static_cast<std::int64_t>(Request_.Plays) * std::max(Request_.Runs, 0) *
             static_cast<std::int64_t>(Request_.Borders.size());
    try {
        Thread_ = std::jthread([this](std::stop_token stop) {
            Result_ = RunStudy(Request_, stop, &PlaysDone_, &Failure_);
            Finished_.store(true, std::memory_order_release);
        });
    } catch (const std::system_error&) {
        Failure_ = StudyThreadFailureText;
        Finished_.store(true, std::memory_order_release);
    }
}

BackgroundStudy::~BackgroundStudy() {
    Cancel();
    Wait();
}

void BackgroundStudy::Cancel() {
    Thread_.request_stop();
}

void BackgroundStudy::Wait() {
    if (Thread_.joinable()) {
        Thread_.join();
    }
}

namespace {

std::string Number(double v, int decimals) {
    return std::isnan(v) ? std::string("-") : FixedText(v, decimals);
}

std::string Range(const Interval& i, double scale, int decimals) {
    return Number(i.Low * scale, decimals) + " 〜 " + Number(i.High * scale, decimals);
}

const char* const BandNames[] = {"p05", "p25", "p50", "p75", "p95"};

// "0.05", "0.5", "0.99": the level as the JSON key.
std::string LevelKey(double level) {
    std::ostringstream s;
    s << level;
    return s.str();
}

template <class Row>
nlohmann::ordered_json BandsJson(const std::vector<int>& plays, const std::vector<Row>& rows) {
    nlohmann::ordered_json bands;
    bands["plays"] = plays;
    for (std::size_t q = 0; q < 5; ++q) {
        std::vector<typename Row::value_type> column;
        for (const auto& row : rows) {
            column.push_back(row[q]);
        }
        bands[BandNames[q]] = column;
    }
    return bands;
}

void AddExactJson(nlohmann::ordered_json& j, const StudyFigures& f) {
    if (!f.ExactKnown) {
        j["theory_p_ahead"] = nullptr;
        j["theory_balance_quantiles"] = nullptr;
        j["theory_bands"] = nullptr;
        return;
    }
    j["theory_p_ahead"] = f.Exact.PAhead;
    j["exact_mean_balance"] = f.Exact.Mean;
    j["exact_sd_balance"] = f.Exact.Sd;
    j["p_no_first_hit"] = f.Exact.PNoFirstHit;
    nlohmann::ordered_json quantiles;
    for (std::size_t q = 0; q < BandLevels.size(); ++q) {
        quantiles[LevelKey(BandLevels[q])] = f.Exact.Quantiles[q];
    }
    j["theory_balance_quantiles"] = quantiles;
    if (f.TheoryBands.empty()) {
        j["theory_bands"] = nullptr;
    } else {
        j["theory_bands"] = BandsJson(f.TheoryBandPlays, f.TheoryBands);
    }
}

nlohmann::ordered_json BorderJson(const StudyFigures& f) {
    nlohmann::ordered_json j;
    j["runs"] = f.Runs;
    j["plays"] = f.Plays;
    j["border"] = f.Border;
    j["rate"] = f.Rate;
    j["seed"] = f.Seed;
    j["final_balances"] = f.FinalBalances;
    std::vector<std::uint32_t> seeds;
    for (int r = 0; r < f.Runs; ++r) {
        seeds.push_back(RunSeed(f.Seed, r));
    }
    j["run_seeds"] = seeds;
    j["mean_balance"] = f.MeanBalance;
    j["mean_balance_ci95"] = {f.MeanBalanceCi95.Low, f.MeanBalanceCi95.High};
    j["median_balance"] = f.MedianBalance;
    j["p05_balance"] = f.P05Balance;
    j["p25_balance"] = f.P25Balance;
    j["p75_balance"] = f.P75Balance;
    j["p95_balance"] = f.P95Balance;
    j["p_ahead"] = f.PAhead;
    j["p_ahead_ci95"] = {f.PAheadCi95.Low, f.PAheadCi95.High};
    j["theory_mean_balance"] = f.Theory.MeanBalance;
    j["theory_sd_balance"] = f.Theory.SdBalance;
    j["bands"] = BandsJson(f.BandPlays, f.Bands);
    AddExactJson(j, f);
    j["lowest_balances"] = f.LowestBalances;
    j["p_ever_ahead"] = f.PEverAhead;
    j["p_ever_ahead_ci95"] = {f.PEverAheadCi95.Low, f.PEverAheadCi95.High};
    nlohmann::ordered_json cash, cashCi;
    for (std::size_t c = 0; c < CashLevels.size(); ++c) {
        cash[LevelKey(CashLevels[c])] = f.CashToBring[c];
        cashCi[LevelKey(CashLevels[c])] = {f.CashToBringCi95[c].Low, f.CashToBringCi95[c].High};
    }
    j["cash_to_bring"] = cash;
    j["cash_to_bring_ci95"] = cashCi;
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

namespace {

// The figures only the runs' paths give: no exact counterpart is computed.
void WritePathText(std::ostream& out, const StudyFigures& f) {
    if (f.LowestBalances.empty()) {
        return;
    }
    out << "一度でもプラスになった割合(%):" << Number(f.PEverAhead * 100.0, 1) << " (95%信頼区間 "
        << Range(f.PEverAheadCi95, 100.0, 1) << ")\n";
    out << "必要な持ち玉(最低出玉数から)";
    for (std::size_t c = 0; c < CashLevels.size(); ++c) {
        out << "  " << Number(CashLevels[c] * 100.0, 0) << "%:" << Number(f.CashToBring[c], 0)
            << "玉 (" << Number(f.CashToBring[c] * f.Rate, 0) << "円, 95%信頼区間 "
            << Range(f.CashToBringCi95[c], 1.0, 0) << "玉)";
    }
    out << "\n";
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
            out << "  理論値 長期の平均:" << Number(f.Theory.MeanBalance * u.scale, u.decimals)
                << "  標準偏差:" << Number(f.Theory.SdBalance * u.scale, u.decimals) << "\n";
            if (f.ExactKnown) {
                out << "  厳密値";
                for (std::size_t q = 0; q < BandLevels.size(); ++q) {
                    out << (q == 0 ? " " : "  ") << BandLevelName(q) << ":"
                        << Number(static_cast<double>(f.Exact.Quantiles[q]) * u.scale, u.decimals);
                }
                out << "\n";
            }
        }
        out << "プラス収支の割合(%):" << Number(f.PAhead * 100.0, 1) << " (95%信頼区間 "
            << Range(f.PAheadCi95, 100.0, 1) << ")"
            << "  厳密値:" << (f.ExactKnown ? Number(f.Exact.PAhead * 100.0, 1) : "-") << "\n";
        WritePathText(out, f);
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

template <class Row>
void ReadBands(const nlohmann::json& bands, std::vector<int>& plays, std::vector<Row>& rows) {
    plays = bands.at("plays").get<std::vector<int>>();
    rows.resize(plays.size());
    for (std::size_t q = 0; q < 5; ++q) {
        const auto column = bands.at(BandNames[q]).get<std::vector<typename Row::value_type>>();
        if (column.size() != rows.size()) {
            throw std::out_of_range("band length");
        }
        for (std::size_t k = 0; k < column.size(); ++k) {
            rows[k][q] = column[k];
        }
    }
}

void ReadExact(const nlohmann::json& j, StudyFigures& f) {
    f.ExactKnown = j.contains("theory_p_ahead") && !j.at("theory_p_ahead").is_null();
    if (!f.ExactKnown) {
        return;
    }
    f.Exact.Plays = f.Plays;
    f.Exact.PAhead = j.at("theory_p_ahead").get<double>();
    f.Exact.Mean = j.at("exact_mean_balance").get<double>();
    f.Exact.Sd = j.at("exact_sd_balance").get<double>();
    f.Exact.PNoFirstHit = j.at("p_no_first_hit").get<double>();
    for (std::size_t q = 0; q < BandLevels.size(); ++q) {
        f.Exact.Quantiles[q] =
            j.at("theory_balance_quantiles").at(LevelKey(BandLevels[q])).get<std::int64_t>();
    }
    if (!j.at("theory_bands").is_null()) {
        ReadBands(j.at("theory_bands"), f.TheoryBandPlays, f.TheoryBands);
    }
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
    ReadBands(j.at("bands"), f.BandPlays, f.Bands);
    ReadExact(j, f);
    if (j.contains("lowest_balances")) {
        f.LowestBalances = j.at("lowest_balances").get<std::vector<std::int32_t>>();
        f.PEverAhead = j.at("p_ever_ahead").get<double>();
        f.PEverAheadCi95 = {j.at("p_ever_ahead_ci95").at(0).get<double>(),
                            j.at("p_ever_ahead_ci95").at(1).get<double>()};
        for (std::size_t c = 0; c < CashLevels.size(); ++c) {
            const std::string key = LevelKey(CashLevels[c]);
            f.CashToBring[c] = j.at("cash_to_bring").at(key).get<double>();
            f.CashToBringCi95[c] = {j.at("cash_to_bring_ci95").at(key).at(0).get<double>(),
                                    j.at("cash_to_bring_ci95").at(key).at(1).get<double>()};
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
    CsvRow(out, {"種類", "ボーダー", "Sim番号", "シード", "Play数", "出玉数", "最低出玉数", "5%点",
                 "25%点", "中央値", "75%点", "95%点"});
    for (const StudyFigures& f : borders) {
        for (int r = 0; r < f.Runs; ++r) {
            const auto run = static_cast<std::size_t>(r);
            CsvRow(out, {"最終出玉数", CsvNumber(f.Border), std::to_string(r),
                         std::to_string(RunSeed(f.Seed, r)), std::to_string(f.Plays),
                         std::to_string(f.FinalBalances[run]),
                         run < f.LowestBalances.size() ? std::to_string(f.LowestBalances[run]) : "",
                         "", "", "", "", ""});
        }
    }
    for (const StudyFigures& f : borders) {
        for (std::size_t k = 0; k < f.Bands.size(); ++k) {
            std::vector<std::string> row = {
                "分布", CsvNumber(f.Border), "", "", std::to_string(f.BandPlays[k]), "", ""};
            for (const double v : f.Bands[k]) {
                row.push_back(CsvNumber(v));
            }
            CsvRow(out, row);
        }
    }
    for (const StudyFigures& f : borders) {
        for (std::size_t k = 0; k < f.TheoryBands.size(); ++k) {
            std::vector<std::string> row = {"分布(厳密)",
                                            CsvNumber(f.Border),
                                            "",
                                            "",
                                            std::to_string(f.TheoryBandPlays[k]),
                                            "",
                                            ""};
            for (const std::int64_t v : f.TheoryBands[k]) {
                row.push_back(std::to_string(v));
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
