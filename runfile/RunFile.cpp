#include "runfile/RunFile.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <iterator>
#include <memory>
#include <pthread.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

void PutInt32(unsigned char* p, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int b = 0; b < 4; ++b) {
        p[b] = static_cast<unsigned char>(u >> (8 * b));
    }
}

void PutDouble(unsigned char* p, double v) {
    std::uint64_t u = 0;
    std::memcpy(&u, &v, sizeof u);
    for (int b = 0; b < 8; ++b) {
        p[b] = static_cast<unsigned char>(u >> (8 * b));
    }
}

std::int32_t GetInt32(const unsigned char* p) {
    std::uint32_t u = 0;
    for (int b = 0; b < 4; ++b) {
        u |= static_cast<std::uint32_t>(p[b]) << (8 * b);
    }
    return static_cast<std::int32_t>(u);
}

double GetDouble(const unsigned char* p) {
    std::uint64_t u = 0;
    for (int b = 0; b < 8; ++b) {
        u |= static_cast<std::uint64_t>(p[b]) << (8 * b);
    }
    double v = 0.0;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

bool WriteAll(std::FILE* stream, const unsigned char* data, std::size_t size) {
    return size == 0 || std::fwrite(data, 1, size, stream) == size;
}

// Armed by InjectReadFault for the next read of a run file.
struct ReadFault {
    bool Armed = false;
    std::size_t AfterBytes = 0;
    int Error = 0;
};
ReadFault injectedReadFault;

// Reads up to `size` bytes, retrying short reads until end of file. False
// when the system reported an error (errno says which).
bool ReadUpTo(std::FILE* stream, unsigned char* data, std::size_t size, std::size_t& got,
              ReadFault& fault) {
    got = 0;
    while (got < size) {
        std::size_t want = size - got;
        if (fault.Armed) {
            if (fault.AfterBytes == 0) {
                errno = fault.Error;
                return false;
            }
            want = std::min(want, fault.AfterBytes);
        }
        const std::size_t n = std::fread(data + got, 1, want, stream);
        if (fault.Armed) {
            fault.AfterBytes -= n;
        }
        got += n;
        if (n < want) {
            return std::ferror(stream) == 0;
        }
    }
    return true;
}

struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f != nullptr) {
            std::fclose(f);
        }
    }
};

// Whole records left in a regular file from the stream's position; 0 when the
// length is unknown (pipes, terminals, memory streams).
std::size_t RecordsLeft(std::FILE* stream) {
    const int fd = ::fileno(stream);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return 0;
    }
    const off_t at = ::ftello(stream);
    if (at < 0 || info.st_size <= at) {
        return 0;
    }
    return static_cast<std::size_t>(info.st_size - at) / RunFileRecordSize;
}

} // namespace

bool WriteRunFile(std::FILE* stream, std::int32_t count, double rate, double border,
                  const RunRecords& records) {
    if (stream == nullptr || !records.SameLengths()) {
        return false;
    }
    std::array<unsigned char, RunFileHeaderSize> header{};
    PutInt32(header.data(), RunFileTag);
    PutInt32(header.data() + 4, count);
    PutDouble(header.data() + 8, rate);
    PutDouble(header.data() + 16, border);
    if (!WriteAll(stream, header.data(), header.size())) {
        return false;
    }

    // Records are packed in blocks: the bytes are those of five 4-byte writes
    // per record, without a library call per field.
    constexpr std::size_t BlockRecords = 4096;
    std::array<unsigned char, BlockRecords * RunFileRecordSize> block{};
    const std::size_t n = records.Size();
    for (std::size_t start = 0; start < n; start += BlockRecords) {
        const std::size_t end = std::min(n, start + BlockRecords);
        unsigned char* p = block.data();
        for (std::size_t k = start; k < end; ++k, p += RunFileRecordSize) {
            PutInt32(p, records.SinceHitPlays[k]);
            PutInt32(p + 4, records.BallCounts[k]);
            PutInt32(p + 8, records.ChainCounts[k]);
            PutInt32(p + 12, records.PlayNumbers[k]);
            PutInt32(p + 16, records.HitStates[k]);
        }
        if (!WriteAll(stream, block.data(), (end - start) * RunFileRecordSize)) {
            return false;
        }
    }
    return true;
}

ReadStatus ReadRunFile(std::FILE* stream, RunFileHeader& header, RunRecords& records) {
    ReadFault fault = std::exchange(injectedReadFault, ReadFault{});
    records.Clear();
    header = RunFileHeader{};
    if (stream == nullptr) {
        return ReadStatus::CannotOpen;
    }
    std::array<unsigned char, RunFileHeaderSize> head{};
    std::size_t got = 0;
    if (!ReadUpTo(stream, head.data(), 4, got, fault)) {
        return ReadStatus::ReadFailed;
    }
    if (got < 4) {
        return ReadStatus::TooShortForTag;
    }
    header.Tag = GetInt32(head.data());
    if (header.Tag != RunFileTag) {
        return ReadStatus::ForeignTag;
    }
    if (!ReadUpTo(stream, head.data() + 4, RunFileHeaderSize - 4, got, fault)) {
        return ReadStatus::ReadFailed;
    }
    if (got < RunFileHeaderSize - 4) {
        return ReadStatus::TooShortForHeader;
    }
    header.Count = GetInt32(head.data() + 4);
    header.Rate = GetDouble(head.data() + 8);
    header.Border = GetDouble(head.data() + 16);

    // Sized once when the length is known; a pipe grows as it goes.
    records.Reserve(RecordsLeft(stream));
    constexpr std::size_t BlockRecords = 4096;
    std::array<unsigned char, BlockRecords * RunFileRecordSize> block{};
    for (;;) {
        const bool ok = ReadUpTo(stream, block.data(), block.size(), got, fault);
        if (!ok) {
            // A failing disk is not the end of the file: nothing of it is kept.
            const int error = errno;
            records = RunRecords{};
            errno = error;
            return ReadStatus::ReadFailed;
        }
        const std::size_t whole = got / RunFileRecordSize;
        for (std::size_t k = 0; k < whole; ++k) {
            const unsigned char* p = block.data() + k * RunFileRecordSize;
            records.Append(GetInt32(p), GetInt32(p + 4), GetInt32(p + 8), GetInt32(p + 12),
                           GetInt32(p + 16));
        }
        // A short block means end of file: a partial record ends the loop.
        if (got < block.size()) {
            break;
        }
    }
    return ReadStatus::Ok;
}

ReadStatus ReadRunFile(const std::string& path, RunFileHeader& header, RunRecords& records) {
    const std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
    if (!f) {
        records.Clear();
        header = RunFileHeader{};
        return ReadStatus::CannotOpen;
    }
    return ReadRunFile(f.get(), header, records);
}

namespace {

std::size_t LastSeparator(const std::string& path) {
    const std::size_t pos = path.find_last_of("/\\");
    return pos == std::string::npos ? 0 : pos + 1;
}

} // namespace

namespace {

std::atomic<SaveFault> injectedFault{SaveFault::None};
std::atomic<void (*)()> savedHook{nullptr};

using BodyWriter = std::function<bool(std::FILE*)>;

// Writes, flushes, syncs and closes; every step is checked.
bool FinishStream(std::FILE* f, bool ok) {
    ok = std::fflush(f) == 0 && ok;
    ok = ::fsync(::fileno(f)) == 0 && ok;
    return std::fclose(f) == 0 && ok;
}

// Devices, pipes and files beside which no temporary can be made are written
// in place, as a plain "wb" open would.
WriteStatus WriteInPlace(const std::string& path, const BodyWriter& body, SaveFault fault) {
    std::FILE* f = fault == SaveFault::Create ? nullptr : std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        return WriteStatus::CannotCreate;
    }
    const bool ok = body(f) && fault != SaveFault::Write;
    // fsync fails on pipes and some devices with EINVAL; that is not a lost write.
    bool closed = std::fflush(f) == 0 && ok;
    if (closed && ::fsync(::fileno(f)) != 0 && errno != EINVAL && errno != EROFS) {
        closed = false;
    }
    closed = std::fclose(f) == 0 && closed;
    return closed ? WriteStatus::Ok : WriteStatus::WriteFailed;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Follows symbolic links (dangling ones too) to the name of the file they
// lead to. False with errno set on a loop or an unreadable link.
bool FollowLinks(std::string& path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return true; // a missing name is the file to create
        }
        std::array<char, PATH_MAX> buf{};
        const ssize_t n = ::readlink(path.c_str(), buf.data(), buf.size());
        if (n < 0 || static_cast<std::size_t>(n) >= buf.size()) {
            if (n >= 0) {
                errno = ENAMETOOLONG;
            }
            return false;
        }
        const std::string next(buf.data(), static_cast<std::size_t>(n));
        path = next.front() == '/' ? next : FolderOf(path) + next;
    }
    errno = ELOOP;
    return false;
}

// A fresh file beside `target` whose name is never longer than the target's,
// so a name that is legal there leaves room for its temporary.
int CreateTemporary(const std::string& target, std::string& temp) {
    static constexpr char Letters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const std::string folder = FolderOf(target);
    const std::size_t nameLength = std::max<std::size_t>(1, target.size() - folder.size());
    const std::size_t length = std::min<std::size_t>(nameLength, 16);
    std::random_device entropy;
    std::mt19937_64 pick((static_cast<std::uint64_t>(entropy()) << 32) ^ entropy() ^
                         static_cast<std::uint64_t>(::getpid()));
    for (int attempt = 0; attempt < 200; ++attempt) {
        std::string name(length, '.');
        for (std::size_t k = length > 1 ? 1 : 0; k < length; ++k) {
            name[k] = Letters[pick() % (sizeof Letters - 1)];
        }
        temp = folder + name;
        const int fd = ::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

// While a temporary exists, the signals that would end the program remove it
// first. Signals the program handles or ignores itself are left alone.
constexpr int CleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};
char signalTemp[PATH_MAX + 1];
volatile std::sig_atomic_t signalTempArmed = 0;

extern "C" void RemoveTemporaryAndEnd(int signal) {
    if (signalTempArmed != 0) {
        ::unlink(signalTemp);
    }
    // SA_RESETHAND restored the default action: the signal, delivered again
    // when this handler returns, ends the program as it would have.
    ::raise(signal);
}

class TemporaryGuard {
public:
    explicit TemporaryGuard(const std::string& temp) {
        if (temp.size() >= sizeof signalTemp) {
            return;
        }
        std::memcpy(signalTemp, temp.c_str(), temp.size() + 1);
        signalTempArmed = 1;
        for (std::size_t k = 0; k < std::size(CleanupSignals); ++k) {
            struct sigaction now {};
            if (::sigaction(CleanupSignals[k], nullptr, &now) != 0 || now.sa_handler != SIG_DFL ||
                (now.sa_flags & SA_SIGINFO) != 0) {
                continue;
            }
            struct sigaction ours {};
            ours.sa_handler = &RemoveTemporaryAndEnd;
            ours.sa_flags = SA_RESETHAND;
            sigemptyset(&ours.sa_mask);
            installed_[k] = ::sigaction(CleanupSignals[k], &ours, nullptr) == 0;
        }
    }
    TemporaryGuard(const TemporaryGuard&) = delete;
    TemporaryGuard& operator=(const TemporaryGuard&) = delete;

    // Runs `step` (the rename or the removal) with the signals held back, then
    // gives them their own actions again.
    template <typename Step> bool Finish(Step step) {
        sigset_t block{}, old{};
        sigemptyset(&block);
        for (const int s : CleanupSignals) {
            sigaddset(&block, s);
        }
        ::pthread_sigmask(SIG_BLOCK, &block, &old);
        const bool ok = step();
        Disarm();
        ::pthread_sigmask(SIG_SETMASK, &old, nullptr);
        return ok;
    }
    ~TemporaryGuard() { Disarm(); }

private:
    void Disarm() {
        signalTempArmed = 0;
        for (std::size_t k = 0; k < std::size(CleanupSignals); ++k) {
            if (installed_[k]) {
                struct sigaction now {};
                ::sigaction(CleanupSignals[k], nullptr, &now);
                // Left as ours unless the handler already ran and reset it.
                if (now.sa_handler == &RemoveTemporaryAndEnd) {
                    ::signal(CleanupSignals[k], SIG_DFL);
                }
                installed_[k] = false;
            }
        }
    }
    bool installed_[std::size(CleanupSignals)] = {};
};

// Keeps what the owner of a replaced file decided, as far as this user may.
bool KeepOwnerAndMode(int fd, const struct stat* old, mode_t newMode) {
    if (old == nullptr) {
        return ::fchmod(fd, newMode) == 0;
    }
    // Either may be refused to an ordinary user; the file then belongs to them.
    (void)::fchown(fd, old->st_uid, static_cast<gid_t>(-1));
    (void)::fchown(fd, static_cast<uid_t>(-1), old->st_gid);
    return ::fchmod(fd, old->st_mode & 07777) == 0;
}

WriteStatus SaveThroughTemporary(const std::string& path, const BodyWriter& body) {
    const SaveFault fault = injectedFault.exchange(SaveFault::None);
    std::string target = path;
    if (!FollowLinks(target)) {
        return WriteStatus::CannotCreate;
    }
    struct stat info {};
    const bool exists = ::stat(target.c_str(), &info) == 0;
    if (exists) {
        if (S_ISDIR(info.st_mode)) {
            return WriteStatus::CannotCreate;
        }
        if (!S_ISREG(info.st_mode)) {
            return WriteInPlace(target, body, fault);
        }
        // Replacing through the folder would get round the file's own mode.
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
            return WriteStatus::WriteFailed;
        }
    }

    std::string temp;
    const int fd = fault == SaveFault::Create ? -1 : CreateTemporary(target, temp);
    if (fd < 0) {
        if (exists && fault != SaveFault::Create) {
            return WriteInPlace(target, body, fault);
        }
        return WriteStatus::CannotCreate;
    }
    TemporaryGuard guard(temp);
    std::FILE* f = ::fdopen(fd, "wb");
    if (f == nullptr) {
        ::close(fd);
        guard.Finish([&] { return ::unlink(temp.c_str()) == 0; });
        return WriteStatus::CannotCreate;
    }
    bool ok = body(f) && fault != SaveFault::Write;
    if (void (*hook)() = savedHook.load()) {
        hook();
    }
    ok = std::fflush(f) == 0 && ok;
    ok = KeepOwnerAndMode(fd, exists ? &info : nullptr, NewFileMode()) && ok;
    ok = FinishStream(f, ok);
    const bool renamed = guard.Finish([&] {
        if (ok && fault != SaveFault::Rename && std::rename(temp.c_str(), target.c_str()) == 0) {
            return true;
        }
        ::unlink(temp.c_str());
        return false;
    });
    return renamed ? WriteStatus::Ok : WriteStatus::WriteFailed;
}

} // namespace

void InjectSaveFault(SaveFault fault) {
    injectedFault.store(fault);
}

void SetSaveWrittenHook(void (*hook)()) {
    savedHook.store(hook);
}

void InjectReadFault(std::size_t afterBytes, int error) {
    injectedReadFault = ReadFault{true, afterBytes, error};
}

WriteStatus SaveRunFile(const std::string& path, std::int32_t count, double rate, double border,
                        const RunRecords& records) {
    return SaveThroughTemporary(
        path, [&](std::FILE* f) { return WriteRunFile(f, count, rate, border, records); });
}

WriteStatus SaveWholeFile(const std::string& path, const std::string& bytes) {
    return SaveThroughTemporary(path, [&](std::FILE* f) {
        return WriteAll(f, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    });
}

std::string BatchFileName(const std::string& chosenPath, int count, int run) {
    const std::string tag = std::to_string(count) + "_" + std::to_string(run);
    const std::size_t nameStart = LastSeparator(chosenPath);
    const std::size_t dot = chosenPath.find('.', nameStart);
    if (dot == std::string::npos) {
        return chosenPath + tag;
    }
    std::string result = chosenPath;
    result.insert(dot, tag);
    return result;
}
