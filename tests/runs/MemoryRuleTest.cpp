#include "runs/MemoryRule.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t Unbounded = std::numeric_limits<std::uint64_t>::max();

struct GroupFile {
    std::string path; // below the tree's root
    std::string text;
};

} // namespace

// The room of the tightest group on the way up from the process's own group,
// in both versions of the tree; "max", missing files and other controllers
// bound nothing.
TEST(MemoryRule, CgroupHeadroomIsTheTightestGroupOnTheWayUp) {
    const struct {
        const char* name;
        std::string self;
        std::vector<GroupFile> files;
        std::uint64_t expected;
    } cases[] = {
        {"v2 own group",
         "0::/a/b\n",
         {{"a/b/memory.max", "1000\n"}, {"a/b/memory.current", "400\n"}},
         600},
        {"v2 parent tighter",
         "0::/a/b\n",
         {{"a/b/memory.max", "1000\n"},
          {"a/b/memory.current", "400\n"},
          {"a/memory.max", "700\n"},
          {"a/memory.current", "650\n"}},
         50},
        {"v2 unlimited",
         "0::/a\n",
         {{"a/memory.max", "max\n"}, {"a/memory.current", "5\n"}},
         Unbounded},
        {"v2 over its limit",
         "0::/a\n",
         {{"a/memory.max", "10\n"}, {"a/memory.current", "20\n"}},
         0},
        {"v1 memory controller",
         "5:cpu,cpuacct:/x\n4:memory:/x/y\n0::/\n",
         {{"memory/x/y/memory.limit_in_bytes", "9000\n"},
          {"memory/x/y/memory.usage_in_bytes", "1000\n"},
          {"memory/memory.limit_in_bytes", "9223372036854771712\n"},
          {"memory/memory.usage_in_bytes", "3000\n"}},
         8000},
        {"v1 mounted at its own group",
         "4:memory:/host/path\n",
         {{"memory/memory.limit_in_bytes", "5000\n"}, {"memory/memory.usage_in_bytes", "1000\n"}},
         4000},
        {"nothing known", "", {}, Unbounded},
    };
    const fs::path root =
        fs::temp_directory_path() / ("yonatama-cgroup-" + std::to_string(::getpid()));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(root);
        fs::create_directories(root);
        for (const GroupFile& f : c.files) {
            fs::create_directories((root / f.path).parent_path());
            std::ofstream(root / f.path) << f.text;
        }
        EXPECT_EQ(CgroupHeadroom(c.self, root.string()), c.expected);
    }
    fs::remove_all(root);
}

TEST(MemoryRule, ARunFitsOnlyWithAFifthLeftFree) {
    // Far from the edges, as the available memory moves while the test runs.
    const std::uint64_t room = MemoryForThisProcess();
    ASSERT_GT(room, 1000000u);
    EXPECT_TRUE(FitsInMemory(room / 2));
    EXPECT_FALSE(FitsInMemory(room / 10 * 9));
    EXPECT_TRUE(RunFitsInMemory(1000, 1, true));
    // Shown at once, a run holds its slump line too.
    const std::uint64_t plays = room / 10 * 8 / ShownBytesPerPlay / 10 * 11;
    EXPECT_FALSE(RunFitsInMemory(plays, 1, true));
    EXPECT_TRUE(RunFitsInMemory(plays, 1, false));
}
