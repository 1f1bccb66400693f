#pragma once
// A study: many independent runs of the machine at one border or a sweep of
// borders, run on every core, summarised as the spread of luck beside what the
// theory expects. Run i of every border draws from its own source seeded with
// RunSeed(seed, i), so a sweep compares borders on common random numbers and
// run i ends exactly where a single run on that seed ends.

#include "runs/Accumulator.h"
#include "runs/RunDriver.h"
#include "stats/ExactBalance.h"
#include "stats/Theory.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

struct StudyRequest {
    int Plays = 0;
    int Runs = 0;
    double Rate = 4.0;
    std::uint32_t Seed = 0;
    std::vector<double> Borders; // one figure set per border, in this order
    int Jobs = 0;                // worker threads; 0 or less: every core
    bool Exact = true;           // add the exact figures (AddExactFigures)
};

// The play counts the bands are taken at: 0 and about `points` evenly spaced
// counts up to `plays` (every count when there are fewer), ascending, unique,
// always ending at `plays`.
std::vector<int> BandPlayCounts(int plays, int points = 200);

// The seed of run `run` of a study seeded with `seed`: a mix of both, distinct
// for the 2^32 runs of one study and unrelated between neighbouring runs.
std::uint32_t RunSeed(std::uint32_t seed, int run);

enum class BandRun {
    Done,
    Stopped,      // the stop request was seen
    BalanceLimit, // the balance reached BalanceGuard (stats/BalanceLimit)
};

// One run on a reset machine at `border` drawing from a source seeded with
// `seed`; the balance (balls) after each of `bandPlays` is written to
// `balances` (same length), its path to `path` when given; they are
// incomplete unless Done. Adds the plays made to `playsDone` as it goes.
BandRun RunWithBands(std::uint32_t seed, double border, const std::vector<int>& bandPlays,
                     std::int32_t* balances, std::stop_token stop = {},
                     std::atomic<std::int64_t>* playsDone = nullptr, RunPath* path = nullptr);

// The play counts of the exact bands: all of `bandPlays` up to 41 of them,
// else an even subset of 41 that keeps the first and the last.
std::vector<int> TheoryBandPlayCounts(const std::vector<int>& bandPlays);

// A distribution-free 95 % interval for the p-quantile of ascending values:
// the order statistics at ranks n p -/+ Z95 sqrt(n p (1 - p)).
Interval QuantileInterval95(const std::vector<double>& sorted, double p);

// The certainties of the cash to bring: 50 %, 90 %, 95 %, 99 %.
inline constexpr std::array<double, 4> CashLevels = {0.5, 0.9, 0.95, 0.99};

// The figures of one border.
struct StudyFigures {
    int Runs = 0;
    int Plays = 0;
    double Border = 0.0;
    double Rate = 0.0;
    std::uint32_t Seed = 0;
    std::vector<std::int32_t> FinalBalances; // in run order

    double MeanBalance = 0.0;
    Interval MeanBalanceCi95;
    double MedianBalance = 0.0;
    double P05Balance = 0.0, P25Balance = 0.0, P75Balance = 0.0, P95Balance = 0.0;
    double PAhead = 0.0; // share of runs with a final balance above 0
    Interval PAheadCi95;
    PlayOutlook Theory;

    // Percentiles 5, 25, 50, 75, 95 of the balance at each band play count.
    std::vector<int> BandPlays;
    std::vector<std::array<double, 5>> Bands;

    // The exact figures after Plays plays (ExactKnown false where the table
    // would not fit), and the exact BandLevels points at TheoryBandPlays
    // (empty where their grid would not fit).
    bool ExactKnown = false;
    ExactOdds Exact;
    std::vector<int> TheoryBandPlays;
    std::vector<BandPoints> TheoryBands;

    // Run by run: the lowest balance each reached (in run order), the share
    // ever ahead, and the balls to bring to come through with each CashLevels
    // certainty (the points of -lowest, at least 0).
    std::vector<std::int32_t> LowestBalances;
    double PEverAhead = 0.0;
    Interval PEverAheadCi95;
    std::array<double, 4> CashToBring{};
    std::array<Interval, 4> CashToBringCi95{};
};

// The figures from the balances at the band play counts, run after run
// (runs × bandPlays.size() values, the last of each run its final balance),
// and each run's path (none: no path figures).
StudyFigures SummariseStudy(int plays, double border, double rate, std::uint32_t seed,
                            const std::vector<int>& bandPlays,
                            const std::vector<std::int32_t>& balances,
                            const std::vector<RunPath>& paths = {});

// Adds the exact figures of f.Border and f.Plays to `f`, on `threads` threads.
void AddExactFigures(StudyFigures& f, int threads = 1);

// The number of worker threads for `jobs` (0 or less: every core, at least 1).
int StudyJobs(int jobs);

// The memory a study holds at its peak: every balance at every band count of
// every run, and the summary's working copies.
std::uint64_t StudyMemoryBytes(const StudyRequest& request);

// Why a study ended without figures though nobody stopped it.
inline constexpr const char* StudyOutOfMemoryText = "メモリが不足したため、研究を中止しました。";
inline constexpr const char* StudyThreadFailureText =
    "研究のスレッドを起動できなかったため、研究を中止しました。";
inline constexpr const char* StudyBalanceLimitText =
    "出玉数が記録できる範囲(±2147483647玉)の限界に近づいたため、研究を中止しました。";

// Runs the study on StudyJobs(request.Jobs) threads and waits for it. Returns
// nothing when stopped or failed; a failure (memory, threads, the balance
// guard) never escapes, its message goes to `failure`. The result does not
// depend on the number of threads.
std::optional<std::vector<StudyFigures>> RunStudy(const StudyRequest& request,
                                                  std::stop_token stop = {},
                                                  std::atomic<std::int64_t>* playsDone = nullptr,
                                                  std::string* failure = nullptr);

// A study running on its own threads while the caller goes on: the window
// polls it, the companion prints its progress. Destroying it cancels and waits.
class BackgroundStudy {
public:
    explicit BackgroundStudy(StudyRequest request);
    ~BackgroundStudy();
    BackgroundStudy(const BackgroundStudy&) = delete;
    BackgroundStudy& operator=(const BackgroundStudy&) = delete;

    // Asks the workers to stop; they do within a few thousand plays.
    void Cancel();
    bool Finished() const { return Finished_.load(std::memory_order_acquire); }
    // Blocks until the study has ended (finished or cancelled).
    void Wait();
    std::int64_t PlaysDone() const { return PlaysDone_.load(std::memory_order_relaxed); }
    std::int64_t PlaysTotal() const { return Total_; }
    // The figures once finished; empty when cancelled, failed or still running.
    const std::optional<std::vector<StudyFigures>>& Result() const { return Result_; }
    // Once finished: why it failed, or "" (finished or cancelled).
    const std::string& Failure() const { return Failure_; }

private:
    StudyRequest Request_;
    std::int64_t Total_ = 0;
    std::atomic<std::int64_t> PlaysDone_{0};
    std::atomic<bool> Finished_{false};
    std::optional<std::vector<StudyFigures>> Result_;
    std::string Failure_;
    std::jthread Thread_;
};

// Outputs. The text is Japanese, one figure per line; the JSON object carries
// the documented keys; the CSV (UTF-8 with a byte-order mark, CRLF rows) holds
// the final balances and the band table.
std::string StudyText(const std::vector<StudyFigures>& borders);
std::string StudyJson(const std::vector<StudyFigures>& borders, bool sweep);
std::string StudyCsv(const std::vector<StudyFigures>& borders);
// Reads what StudyJson wrote (one border or a sweep); nothing for any other text.
std::optional<std::vector<StudyFigures>> StudyFromJson(const std::string& text);

// "残り 1分05秒" style remaining time from the share done and the time spent.
std::string RemainingTimeText(double shareDone, double secondsSpent);
