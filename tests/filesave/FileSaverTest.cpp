#include "filesave/FileSaver.h"

#include "common/FailingSaver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class SaverFolder : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("yonatama-saver-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::size_t Entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
    }
    fs::path dir;
};

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Written in pieces, as the run file and the CSV writers do.
bool WriteInPieces(ByteSink& sink, const std::string& text, std::size_t piece) {
    for (std::size_t at = 0; at < text.size(); at += piece) {
        if (!sink.Write(text.data() + at, std::min(piece, text.size() - at))) {
            return false;
        }
    }
    return true;
}

} // namespace

TEST_F(SaverFolder, ADiskThatFillsMidwayKeepsTheOldFileWhole) {
    const std::string text(10000, 'x');
    const struct {
        std::size_t room;
        WriteStatus expected;
    } cases[] = {
        {0, WriteStatus::WriteFailed},    {1, WriteStatus::WriteFailed},
        {4095, WriteStatus::WriteFailed}, {9999, WriteStatus::WriteFailed},
        {10000, WriteStatus::Ok},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.room);
        const fs::path target = dir / "keep.csv";
        ASSERT_EQ(SystemSaver().SaveBytes(target.string(), "old"), WriteStatus::Ok);
        const FailingSaver full(SaveFault::Write, c.room);
        EXPECT_EQ(full.Save(target.string(),
                            [&](ByteSink& sink) { return WriteInPieces(sink, text, 1000); }),
                  c.expected);
        EXPECT_EQ(ReadAll(target), c.expected == WriteStatus::Ok ? text : "old");
        EXPECT_EQ(Entries(), 1u); // no temporary left behind
    }
}

TEST_F(SaverFolder, ABodyThatFailsOrARefusedStepLeavesNothingNew) {
    const struct {
        const char* name;
        SaveFault fault;
        bool bodyOk;
        WriteStatus expected;
    } cases[] = {
        {"body fails", SaveFault::None, false, WriteStatus::WriteFailed},
        {"create refused", SaveFault::Create, true, WriteStatus::CannotCreate},
        {"rename refused", SaveFault::Rename, true, WriteStatus::WriteFailed},
        {"whole", SaveFault::None, true, WriteStatus::Ok},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path target = dir / "new.json";
        const FailingSaver saver(c.fault);
        EXPECT_EQ(saver.Save(target.string(),
                             [&](ByteSink& sink) { return sink.Write("{}", 2) && c.bodyOk; }),
                  c.expected);
        EXPECT_EQ(fs::exists(target), c.expected == WriteStatus::Ok);
        EXPECT_EQ(Entries(), c.expected == WriteStatus::Ok ? 1u : 0u);
        fs::remove(target);
    }
}
