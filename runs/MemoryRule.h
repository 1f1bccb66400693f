#pragma once
// One rule for what a run may hold, the same for the window, `run`, `render`
// and `study`: the work must leave a fifth of the memory this process may
// still take free for everything else. That memory is the system's available
// memory bounded by the process's address-space and data limits and by its
// cgroup's memory limit.

#include <cstdint>
#include <string>

// The messages of the ways memory runs out or would.
inline constexpr const char* TooManyPlaysText =
    "Play数が大きすぎて、記録をメモリに保持できません。Play数を減らしてください。";
inline constexpr const char* OutOfMemoryText =
    "メモリが不足したため、シミュレーションを中止しました。";
inline constexpr const char* FileTooLargeText =
    "このファイルは大きすぎて、メモリに読み込めません。";
inline constexpr const char* TooManyRunsText =
    "Sim回数が大きすぎて、結果をメモリに保持できません。Sim回数を減らしてください。";

// Bytes held per play: the five records, plus the slump line's X and Y when
// the run is shown at once (the per-play rows are made on demand).
inline constexpr std::uint64_t RecordBytesPerPlay = 20;
inline constexpr std::uint64_t ShownBytesPerPlay = RecordBytesPerPlay + 16;

// Bytes this process could still allocate (the largest value when nothing
// bounds it).
std::uint64_t MemoryForThisProcess();

// True when `bytes` leaves a fifth of MemoryForThisProcess() free.
bool FitsInMemory(std::uint64_t bytes);

// True when a run of `plays` plays (its records, shown at once or not), with
// the final balance of each of `runs` runs, fits.
bool RunFitsInMemory(std::uint64_t plays, std::uint64_t runs, bool shown);

// Bytes the cgroup of this process may still take: the smallest room left
// under memory.max (v2) or memory.limit_in_bytes (v1) from the process's own
// group up to the root. `selfCgroup` is the text of /proc/self/cgroup, `root`
// the folder the hierarchy is mounted at. The largest value when unlimited or
// unknown.
std::uint64_t CgroupHeadroom(const std::string& selfCgroup, const std::string& root);
