#include "runfile/RunFile.h"

#include "common/FailingSaver.h"
#include "common/FailingStream.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

namespace {

RunRecords TwoRecords() {
    RunRecords r;
    r.Append(1, -25, 0, 1, 0);
    r.Append(2, 70000, 3, 2, 2);
    return r;
}

// Tag 20, count 2, rate 4.0, border 12.5, then the two records above, written out by hand.
const Bytes TwoRecordBytes = {
    0x14, 0x00, 0x00, 0x00,                                                 // tag 20
    0x02, 0x00, 0x00, 0x00,                                                 // count 2
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x40,                         // 4.0
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x29, 0x40,                         // 12.5
    0x01, 0x00, 0x00, 0x00, 0xE7, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, // 1, -25, 0
    0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,                         // 1, 0
    0x02, 0x00, 0x00, 0x00, 0x70, 0x11, 0x01, 0x00, 0x03, 0x00, 0x00, 0x00, // 2, 70000, 3
    0x02, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00,                         // 2, 2
};

Bytes WriteToBytes(std::int32_t count, double rate, double border, const RunRecords& records) {
    char* buf = nullptr;
    std::size_t size = 0;
    std::FILE* f = open_memstream(&buf, &size);
    EXPECT_NE(f, nullptr);
    EXPECT_TRUE(WriteRunFile(f, count, rate, border, records));
    std::fclose(f);
    Bytes out(buf, buf + size);
    std::free(buf);
    return out;
}

ReadStatus ReadFromBytes(Bytes bytes, RunFileHeader& header, RunRecords& records) {
    bytes.push_back(0); // fmemopen wants a non-empty buffer; the extra byte is not read
    std::FILE* f = fmemopen(bytes.data(), bytes.size() - 1 == 0 ? 1 : bytes.size() - 1, "rb");
    if (bytes.size() == 1) {
        std::fgetc(f); // make the stream empty
    }
    const ReadStatus status = ReadRunFile(f, header, records);
    std::fclose(f);
    return status;
}

class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "runfile-test-XXXXXX").string();
        Path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir() { fs::remove_all(Path_); }
    fs::path operator/(const std::string& name) const { return Path_ / name; }
    const fs::path& Path() const { return Path_; }
    std::size_t EntryCount() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(Path_), fs::directory_iterator()));
    }

private:
    fs::path Path_;
};

Bytes FileBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

TEST(RunFile, WritesTheExactBytes) {
    EXPECT_EQ(WriteToBytes(2, 4.0, 12.5, TwoRecords()), TwoRecordBytes);
}

TEST(RunFile, HeaderOnlyWhenNoRecords) {
    Bytes expected(TwoRecordBytes.begin(), TwoRecordBytes.begin() + 24);
    expected[4] = 0; // count 0
    EXPECT_EQ(WriteToBytes(0, 4.0, 12.5, RunRecords{}), expected);
}

TEST(RunFile, ReadsTheHandBuiltBytes) {
    RunFileHeader header;
    RunRecords records;
    ASSERT_EQ(ReadFromBytes(TwoRecordBytes, header, records), ReadStatus::Ok);
    EXPECT_EQ(header.Tag, 20);
    EXPECT_EQ(header.Count, 2);
    EXPECT_EQ(header.Rate, 4.0);
    EXPECT_EQ(header.Border, 12.5);
    EXPECT_EQ(records, TwoRecords());
}

TEST(RunFile, RoundTripKeepsEveryValue) {
    RunRecords in;
    for (int k = 0; k < 10000; ++k) { // more than one write block
        in.Append(k * 7 - 3, -k * 1000 + 17, k % 31, k + 1, k % 3);
    }
    in.Append(-2147483647 - 1, 2147483647, -1, 0, -5);
    const Bytes bytes = WriteToBytes(-9, 0.1, 1e-300, in);
    ASSERT_EQ(bytes.size(), 24u + 20u * in.Size());
    RunFileHeader header;
    RunRecords out;
    ASSERT_EQ(ReadFromBytes(bytes, header, out), ReadStatus::Ok);
    EXPECT_EQ(header.Count, -9);
    EXPECT_EQ(header.Rate, 0.1);
    EXPECT_EQ(header.Border, 1e-300);
    EXPECT_EQ(out, in);
}

TEST(RunFile, TrailingPartialRecordIsDropped) {
    for (const std::size_t extra : {1u, 7u, 19u}) {
        Bytes bytes = TwoRecordBytes;
        bytes.insert(bytes.end(), extra, 0x55);
        RunFileHeader header;
        RunRecords records;
        ASSERT_EQ(ReadFromBytes(bytes, header, records), ReadStatus::Ok);
        EXPECT_EQ(records, TwoRecords()) << extra;
    }
    // Cut inside the second record: only the first is kept.
    RunFileHeader header;
    RunRecords records;
    ASSERT_EQ(
        ReadFromBytes(Bytes(TwoRecordBytes.begin(), TwoRecordBytes.end() - 3), header, records),
        ReadStatus::Ok);
    EXPECT_EQ(records.Size(), 1u);
    EXPECT_EQ(records.BallCounts[0], -25);
}

struct HostileFile {
    const char* name;
    Bytes bytes;
    ReadStatus status;
};

TEST(RunFile, HostileFilesAreRefusedAndLeaveNoRecords) {
    const Bytes header(TwoRecordBytes.begin(), TwoRecordBytes.begin() + 24);
    const std::vector<HostileFile> cases = {
        {"empty", {}, ReadStatus::TooShortForTag},
        {"three bytes", {0x14, 0, 0}, ReadStatus::TooShortForTag},
        {"tag 21", {0x15, 0, 0, 0}, ReadStatus::ForeignTag},
        {"big-endian tag", {0, 0, 0, 0x14, 0, 0, 0, 0}, ReadStatus::ForeignTag},
        {"text file", {'h', 'e', 'l', 'l', 'o', '\n'}, ReadStatus::ForeignTag},
        {"tag only", {0x14, 0, 0, 0}, ReadStatus::TooShortForHeader},
        {"header cut", Bytes(header.begin(), header.end() - 1), ReadStatus::TooShortForHeader},
        {"header only", header, ReadStatus::Ok},
    };
    for (const auto& c : cases) {
        RunFileHeader h;
        RunRecords records = TwoRecords(); // stale contents must not survive
        EXPECT_EQ(ReadFromBytes(c.bytes, h, records), c.status) << c.name;
        EXPECT_EQ(records.Size(), 0u) << c.name;
        EXPECT_TRUE(records.SameLengths()) << c.name;
    }
}

TEST(RunFile, CannotOpen) {
    RunFileHeader h;
    RunRecords records = TwoRecords();
    EXPECT_EQ(ReadRunFile(std::string("/nonexistent-folder/x.sim"), h, records),
              ReadStatus::CannotOpen);
    EXPECT_EQ(records.Size(), 0u);
    records = TwoRecords();
    EXPECT_EQ(ReadRunFile(static_cast<std::FILE*>(nullptr), h, records), ReadStatus::CannotOpen);
    EXPECT_EQ(records.Size(), 0u);
}

TEST(RunFile, WriteReportsAFailingStream) {
    // An unbuffered stream over 30 bytes: the header fits, the records do not.
    std::vector<char> buf(30);
    std::FILE* f = fmemopen(buf.data(), buf.size(), "wb");
    ASSERT_NE(f, nullptr);
    std::setvbuf(f, nullptr, _IONBF, 0);
    EXPECT_FALSE(WriteRunFile(f, 2, 4.0, 12.5, TwoRecords()));
    std::fclose(f);

    EXPECT_FALSE(WriteRunFile(nullptr, 0, 4.0, 12.5, RunRecords{}));
    RunRecords uneven = TwoRecords();
    uneven.HitStates.pop_back();
    char* mem = nullptr;
    std::size_t size = 0;
    std::FILE* g = open_memstream(&mem, &size);
    EXPECT_FALSE(WriteRunFile(g, 2, 4.0, 12.5, uneven));
    std::fclose(g);
    std::free(mem);
}

TEST(RunFile, SaveWritesAndReplaces) {
    TempDir dir;
    const fs::path target = dir / "run.sim";
    ASSERT_EQ(SaveRunFile(target.string(), 5, 1.0, 2.0, RunRecords{}), WriteStatus::Ok);
    EXPECT_EQ(FileBytes(target).size(), 24u);
    ASSERT_EQ(SaveRunFile(target.string(), 2, 4.0, 12.5, TwoRecords()), WriteStatus::Ok);
    EXPECT_EQ(FileBytes(target), TwoRecordBytes);
    EXPECT_EQ(dir.EntryCount(), 1u); // no temporary left behind

    RunFileHeader h;
    RunRecords back;
    EXPECT_EQ(ReadRunFile(target.string(), h, back), ReadStatus::Ok);
    EXPECT_EQ(back, TwoRecords());
}

TEST(RunFile, SaveFailuresKeepTheOldFile) {
    TempDir dir;
    EXPECT_EQ(SaveRunFile((dir / "missing/run.sim").string(), 2, 4.0, 12.5, TwoRecords()),
              WriteStatus::CannotCreate);

    // A folder is never replaced.
    fs::create_directory(dir / "folder.sim");
    EXPECT_EQ(SaveRunFile((dir / "folder.sim").string(), 2, 4.0, 12.5, TwoRecords()),
              WriteStatus::CannotCreate);
    EXPECT_TRUE(fs::is_directory(dir / "folder.sim"));
    EXPECT_EQ(dir.EntryCount(), 1u);

    // A file-size limit makes the writes fail half way: the old file must survive.
    const fs::path target = dir / "keep.sim";
    ASSERT_EQ(SaveRunFile(target.string(), 2, 4.0, 12.5, TwoRecords()), WriteStatus::Ok);
    RunRecords big;
    for (int k = 0; k < 5000; ++k) {
        big.Append(k, k, 0, k + 1, 0);
    }
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const WriteStatus status = SaveRunFile(target.string(), 5000, 4.0, 12.5, big);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(status, WriteStatus::WriteFailed);
    EXPECT_EQ(FileBytes(target), TwoRecordBytes);
    EXPECT_EQ(dir.EntryCount(), 2u); // folder.sim and keep.sim, no temporary
}

enum class SaveTarget { OldFile, NewFile, Device };

struct FaultCase {
    std::string name;
    SaveFault fault;
    SaveTarget target;
    WriteStatus expected;
};

TEST(RunFile, FailingSavesKeepTheOldFile) {
    const std::vector<FaultCase> cases = {
        {"create over a file", SaveFault::Create, SaveTarget::OldFile, WriteStatus::CannotCreate},
        {"write over a file", SaveFault::Write, SaveTarget::OldFile, WriteStatus::WriteFailed},
        {"rename over a file", SaveFault::Rename, SaveTarget::OldFile, WriteStatus::WriteFailed},
        {"create of a new file", SaveFault::Create, SaveTarget::NewFile, WriteStatus::CannotCreate},
        {"write of a new file", SaveFault::Write, SaveTarget::NewFile, WriteStatus::WriteFailed},
        {"rename of a new file", SaveFault::Rename, SaveTarget::NewFile, WriteStatus::WriteFailed},
        {"create on a device", SaveFault::Create, SaveTarget::Device, WriteStatus::CannotCreate},
        {"write on a device", SaveFault::Write, SaveTarget::Device, WriteStatus::WriteFailed},
        // A device is never renamed over, so that step cannot fail there.
        {"rename on a device", SaveFault::Rename, SaveTarget::Device, WriteStatus::Ok},
        {"no fault", SaveFault::None, SaveTarget::OldFile, WriteStatus::Ok},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const fs::path target =
            c.target == SaveTarget::Device ? fs::path("/dev/null") : dir / "run.sim";
        if (c.target == SaveTarget::OldFile) {
            ASSERT_EQ(SaveRunFile(target.string(), 2, 4.0, 12.5, TwoRecords()), WriteStatus::Ok);
        }
        EXPECT_EQ(SaveRunFile(target.string(), 5, 1.0, 2.0, RunRecords{}, FailingSaver(c.fault)),
                  c.expected);
        const bool replaced = c.expected == WriteStatus::Ok;
        switch (c.target) {
        case SaveTarget::OldFile:
            EXPECT_EQ(FileBytes(target).size(), replaced ? 24u : TwoRecordBytes.size());
            EXPECT_EQ(dir.EntryCount(), 1u); // no temporary left behind
            break;
        case SaveTarget::NewFile:
            EXPECT_EQ(dir.EntryCount(), 0u);
            break;
        case SaveTarget::Device:
            EXPECT_TRUE(fs::is_character_file(target));
            EXPECT_EQ(dir.EntryCount(), 0u);
            break;
        }
        // The system's saver then replaces it.
        ASSERT_EQ(SaveRunFile(target.string(), 2, 4.0, 12.5, TwoRecords()), WriteStatus::Ok);
        if (c.target != SaveTarget::Device) {
            EXPECT_EQ(FileBytes(target), TwoRecordBytes);
        }
    }
}

TEST(RunFile, SaveKeepsLinksModesAndDevices) {
    TempDir dir;
    const fs::path real = dir / "real.sim";
    const fs::path link = dir / "link.sim";
    ASSERT_EQ(SaveRunFile(real.string(), 0, 1.0, 1.0, RunRecords{}), WriteStatus::Ok);
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(real, link);

    ASSERT_EQ(SaveRunFile(link.string(), 2, 4.0, 12.5, TwoRecords()), WriteStatus::Ok);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(FileBytes(real), TwoRecordBytes);
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(dir.EntryCount(), 2u);

    // A device is written in place, not replaced by a regular file.
    ASSERT_EQ(SaveRunFile("/dev/null", 2, 4.0, 12.5, TwoRecords()), WriteStatus::Ok);
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

struct NameCase {
    std::string chosen;
    int count, run;
    std::string expected;
};

TEST(RunFile, BatchFileNames) {
    const std::vector<NameCase> cases = {
        {R"(C:\data\test.sim)", 1000, 3, R"(C:\data\test1000_3.sim)"},
        {"run.sim", 1000, 1, "run1000_1.sim"},
        {"/home/u/.local/run.sim", 50, 2, "/home/u/.local/run50_2.sim"},
        {"/data/v1.2/run.sim", 7, 10, "/data/v1.2/run7_10.sim"},
        {R"(D:\v1.2\out)", 7, 1, R"(D:\v1.2\out7_1)"},
        {"/data/v1.2/run", 7, 1, "/data/v1.2/run7_1"},
        {"run", 0, 4, "run0_4"},
        {"/tmp/run.tar.sim", 3, 1, "/tmp/run3_1.tar.sim"},
        {"/tmp/.hidden", 3, 1, "/tmp/3_1.hidden"},
        {"mixed/dir.x\\name.sim", 2, 2, "mixed/dir.x\\name2_2.sim"},
        {"", 1, 1, "1_1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BatchFileName(c.chosen, c.count, c.run), c.expected) << c.chosen;
    }
}

namespace {

// A run file of `n` records as bytes.
Bytes ManyRecordBytes(int n) {
    RunRecords r;
    for (int k = 0; k < n; ++k) {
        r.Append(k % 50, k * 3 - 700, k % 4, k + 1, k % 3 == 0 ? 0 : 2);
    }
    return WriteToBytes(n, 4.0, 12.5, r);
}

// Runs `body` in a child process, as the unprivileged user "nobody" when this
// process is root (root would get round every permission); the child's exit
// code, or 128 + the signal that ended it.
int InChild(const std::function<int()>& body, bool asOtherUser) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (asOtherUser && ::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(90);
        }
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void GiveToChildUser(const fs::path& p) {
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(p.c_str(), 65534, 65534), 0) << p;
    }
}

} // namespace

TEST(RunFile, AReadErrorRefusesTheWholeFileWhereverItStrikes) {
    const Bytes bytes = ManyRecordBytes(300000);
    struct Case {
        const char* name;
        std::size_t good;
    };
    const std::vector<Case> cases = {
        {"in the tag", 2},
        {"in the header", 10},
        {"on a record boundary", 24 + 20 * 12000},
        {"inside a record", 24 + 20 * 12000 + 7},
        {"one byte before the end", 24 + 20 * 300000 - 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Through a real stdio stream whose system reads fail.
        FailingSource source{bytes, c.good};
        std::FILE* f = OpenFailingStream(source);
        ASSERT_NE(f, nullptr);
        RunFileHeader header;
        RunRecords records = TwoRecords();
        errno = 0;
        EXPECT_EQ(ReadRunFile(f, header, records), ReadStatus::ReadFailed);
        EXPECT_EQ(errno, EIO);
        std::fclose(f);
        EXPECT_EQ(records.Size(), 0u);
        EXPECT_TRUE(records.SameLengths());
    }
}

TEST(RunFile, AFolderOpenedAsAFileIsAReadErrorNotAForeignFile) {
    TempDir dir;
    std::FILE* f = std::fopen(dir.Path().c_str(), "rb");
    if (f == nullptr) {
        GTEST_SKIP() << "this system does not open folders as streams";
    }
    RunFileHeader header;
    RunRecords records;
    EXPECT_EQ(ReadRunFile(f, header, records), ReadStatus::ReadFailed);
    EXPECT_EQ(errno, EISDIR);
    std::fclose(f);
}

TEST(RunFile, ShortFilesStillEndAtTheirLastWholeRecordWithoutAnError) {
    const Bytes bytes = ManyRecordBytes(50);
    for (const std::size_t cut : {24u, 24u + 20u, 24u + 20u * 49u + 19u}) {
        FailingSource source{Bytes(bytes.begin(), bytes.begin() + static_cast<long>(cut)),
                             cut + 1}; // never reaches the failing read
        std::FILE* f = OpenFailingStream(source);
        RunFileHeader header;
        RunRecords records;
        EXPECT_EQ(ReadRunFile(f, header, records), ReadStatus::Ok) << cut;
        EXPECT_EQ(records.Size(), (cut - 24) / 20) << cut;
        std::fclose(f);
    }
}

TEST(RunFile, VectorsAreSizedOnceFromTheFileLength) {
    TempDir dir;
    for (const int n : {1, 4097, 10001}) {
        const fs::path file = dir / ("n" + std::to_string(n) + ".sim");
        Bytes bytes = ManyRecordBytes(n);
        bytes.push_back(0x33); // a partial record is not counted
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        RunFileHeader header;
        RunRecords records;
        ASSERT_EQ(ReadRunFile(file.string(), header, records), ReadStatus::Ok);
        const auto expected = static_cast<std::size_t>(n);
        EXPECT_EQ(records.Size(), expected);
        for (const auto* v : {&records.SinceHitPlays, &records.BallCounts, &records.ChainCounts,
                              &records.PlayNumbers, &records.HitStates}) {
            EXPECT_EQ(v->capacity(), expected) << n;
        }
    }
}

TEST(RunFile, NamesUpToTheSystemLimitSave) {
    for (const std::size_t length : {1u, 2u, 17u, 245u, 250u, 254u, 255u}) {
        SCOPED_TRACE(length);
        TempDir dir;
        const fs::path target = dir / std::string(length, 'n');
        ASSERT_EQ(SaveRunFile(target.string(), 5, 1.0, 2.0, RunRecords{}), WriteStatus::Ok);
        ASSERT_EQ(SaveRunFile(target.string(), 2, 4.0, 12.5, TwoRecords()), WriteStatus::Ok);
        EXPECT_EQ(FileBytes(target), TwoRecordBytes);
        EXPECT_EQ(dir.EntryCount(), 1u);
        EXPECT_EQ(SystemSaver().SaveBytes(target.string(), "abc"), WriteStatus::Ok);
        EXPECT_EQ(FileBytes(target), (Bytes{'a', 'b', 'c'}));
        EXPECT_EQ(dir.EntryCount(), 1u);
    }
}

TEST(RunFile, LinksAreFollowedToTheFileTheyNameAndStayLinks) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> links; // link, what it names
        std::string saveThrough;
        std::string file; // the regular file that must hold the records
    };
    const std::vector<Case> cases = {
        {"dangling", {{"link.sim", "new.sim"}}, "link.sim", "new.sim"},
        {"chain to a missing file",
         {{"a.sim", "b.sim"}, {"b.sim", "sub/c.sim"}},
         "a.sim",
         "sub/c.sim"},
        {"relative from a subfolder", {{"sub/l.sim", "../up.sim"}}, "sub/l.sim", "up.sim"},
        {"chain to an existing file",
         {{"a.sim", "b.sim"}, {"b.sim", "old.sim"}},
         "a.sim",
         "old.sim"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        fs::create_directory(dir / "sub");
        ASSERT_EQ(SaveRunFile((dir / "old.sim").string(), 0, 1, 1, RunRecords{}), WriteStatus::Ok);
        for (const auto& [link, to] : c.links) {
            fs::create_symlink(to, dir / link);
        }
        ASSERT_EQ(SaveRunFile((dir / c.saveThrough).string(), 2, 4.0, 12.5, TwoRecords()),
                  WriteStatus::Ok);
        for (const auto& [link, to] : c.links) {
            EXPECT_TRUE(fs::is_symlink(dir / link)) << link;
        }
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / c.file)));
        EXPECT_EQ(FileBytes(dir / c.file), TwoRecordBytes);
    }

    // A loop names no file: nothing is created and the links stay.
    TempDir dir;
    fs::create_symlink("y.sim", dir / "x.sim");
    fs::create_symlink("x.sim", dir / "y.sim");
    EXPECT_EQ(SaveRunFile((dir / "x.sim").string(), 2, 4.0, 12.5, TwoRecords()),
              WriteStatus::CannotCreate);
    EXPECT_TRUE(fs::is_symlink(dir / "x.sim"));
    EXPECT_EQ(dir.EntryCount(), 2u);
}

TEST(RunFile, AFileTheUserMayNotWriteIsLeftAlone) {
    TempDir dir;
    GiveToChildUser(dir.Path());
    const fs::path target = dir / "ro.sim";
    ASSERT_EQ(SaveRunFile(target.string(), 2, 4.0, 12.5, TwoRecords()), WriteStatus::Ok);
    GiveToChildUser(target);
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const int code = InChild(
        [&] {
            // A plain "wb" open must fail for this user, or the case proves nothing.
            if (std::FILE* probe = std::fopen(target.c_str(), "r+b")) {
                std::fclose(probe);
                return 3;
            }
            return static_cast<int>(SaveRunFile(target.string(), 5, 1.0, 2.0, RunRecords{}));
        },
        true);
    EXPECT_EQ(code, static_cast<int>(WriteStatus::WriteFailed));
    EXPECT_EQ(FileBytes(target), TwoRecordBytes);
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(RunFile, AWritableFileInAFolderWithoutRoomForATemporaryIsWrittenInPlace) {
    TempDir dir;
    GiveToChildUser(dir.Path());
    const fs::path locked = dir / "locked";
    fs::create_directory(locked);
    const fs::path target = locked / "run.sim";
    ASSERT_EQ(SaveRunFile(target.string(), 0, 1.0, 1.0, RunRecords{}), WriteStatus::Ok);
    GiveToChildUser(locked);
    GiveToChildUser(target);
    struct stat before {};
    ASSERT_EQ(::stat(target.c_str(), &before), 0);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    struct Case {
        const char* name;
        SaveFault fault;
        int expected;
    };
    const std::vector<Case> cases = {
        // In place a failed write leaves a cut file; the whole save then mends it.
        {"write fails", SaveFault::Write, static_cast<int>(WriteStatus::WriteFailed)},
        {"whole", SaveFault::None, static_cast<int>(WriteStatus::Ok)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int code = InChild(
            [&] {
                return static_cast<int>(SaveRunFile(target.string(), 2, 4.0, 12.5, TwoRecords(),
                                                    FailingSaver(c.fault)));
            },
            true);
        EXPECT_EQ(code, c.expected);
    }
    fs::permissions(locked, fs::perms::owner_all);
    EXPECT_EQ(FileBytes(target), TwoRecordBytes);
    struct stat after {};
    ASSERT_EQ(::stat(target.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino); // the same file, not a replacement
    EXPECT_EQ(std::distance(fs::directory_iterator(locked), fs::directory_iterator()), 1);
}

TEST(RunFile, ReplacingKeepsOwnerGroupAndMode) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root may give a file to another owner";
    }
    TempDir dir;
    const fs::path target = dir / "theirs.sim";
    ASSERT_EQ(SaveRunFile(target.string(), 0, 1.0, 1.0, RunRecords{}), WriteStatus::Ok);
    ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(target.c_str(), 02640), 0);
    ASSERT_EQ(SaveRunFile(target.string(), 2, 4.0, 12.5, TwoRecords()), WriteStatus::Ok);
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
    EXPECT_EQ(info.st_mode & 07777, 02640u);
    EXPECT_EQ(FileBytes(target), TwoRecordBytes);
}

TEST(RunFile, AnEndingSignalDuringASaveRemovesTheTemporary) {
    struct Case {
        const char* name;
        int signal;
        bool ignored; // the program ignores it: the save completes
    };
    const std::vector<Case> cases = {
        {"SIGINT", SIGINT, false},
        {"SIGTERM", SIGTERM, false},
        {"SIGHUP", SIGHUP, false},
        {"ignored SIGTERM", SIGTERM, true},
    };
    static int raised = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const fs::path target = dir / "run.sim";
        ASSERT_EQ(SaveRunFile(target.string(), 2, 4.0, 12.5, TwoRecords()), WriteStatus::Ok);
        raised = c.signal;
        const int code = InChild(
            [&] {
                std::signal(c.signal, c.ignored ? SIG_IGN : SIG_DFL);
                const FailingSaver raising(SaveFault::None, 0, [] { ::raise(raised); });
                return static_cast<int>(
                    SaveRunFile(target.string(), 5, 1.0, 2.0, RunRecords{}, raising));
            },
            false);
        if (c.ignored) {
            EXPECT_EQ(code, static_cast<int>(WriteStatus::Ok));
            EXPECT_EQ(FileBytes(target).size(), 24u);
        } else {
            EXPECT_EQ(code, 128 + c.signal);
            EXPECT_EQ(FileBytes(target), TwoRecordBytes);
        }
        EXPECT_EQ(dir.EntryCount(), 1u);
    }
}
