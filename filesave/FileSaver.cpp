#include "filesave/FileSaver.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <pthread.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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
            Installed_[k] = ::sigaction(CleanupSignals[k], &ours, nullptr) == 0;
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
            if (Installed_[k]) {
                struct sigaction now {};
                ::sigaction(CleanupSignals[k], nullptr, &now);
                // Left as ours unless the handler already ran and reset it.
                if (now.sa_handler == &RemoveTemporaryAndEnd) {
                    ::signal(CleanupSignals[k], SIG_DFL);
                }
                Installed_[k] = false;
            }
        }
    }
    bool Installed_[std::size(CleanupSignals)] = {};
};

// Keeps what the owner of a replaced file decided, as far as this user may.
bool KeepOwnerAndMode(int fd, const struct stat* old, mode_t newMode) {
    if (old == nullptr) {
        return ::fchmod(fd, newMode) == 0;
    }
    // Either may be refused to an ordinary user; the file then belongs to them.
    [[maybe_unused]] const int owner = ::fchown(fd, old->st_uid, static_cast<gid_t>(-1));
    [[maybe_unused]] const int group = ::fchown(fd, static_cast<uid_t>(-1), old->st_gid);
    return ::fchmod(fd, old->st_mode & 07777) == 0;
}

} // namespace

int FileSaver::Open(const std::string& path, int flags, mode_t mode) const {
    return ::open(path.c_str(), flags | O_CLOEXEC, mode);
}

std::unique_ptr<ByteSink> FileSaver::SinkFor(std::FILE* stream) const {
    return std::make_unique<FileSink>(stream);
}

int FileSaver::Rename(const std::string& from, const std::string& to) const {
    return std::rename(from.c_str(), to.c_str());
}

// Devices, pipes and files beside which no temporary can be made are written
// in place, as a plain "wb" open would.
WriteStatus FileSaver::WriteInPlace(const std::string& path, const SaveBody& body) const {
    const int fd = Open(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    std::FILE* f = fd < 0 ? nullptr : ::fdopen(fd, "wb");
    if (f == nullptr) {
        if (fd >= 0) {
            ::close(fd);
        }
        return WriteStatus::CannotCreate;
    }
    const bool ok = body(*SinkFor(f));
    // fsync fails on pipes and some devices with EINVAL; that is not a lost write.
    bool closed = std::fflush(f) == 0 && ok;
    if (closed && ::fsync(::fileno(f)) != 0 && errno != EINVAL && errno != EROFS) {
        closed = false;
    }
    closed = std::fclose(f) == 0 && closed;
    return closed ? WriteStatus::Ok : WriteStatus::WriteFailed;
}

// A fresh file beside `target` whose name is never longer than the target's,
// so a name that is legal there leaves room for its temporary.
int FileSaver::CreateTemporary(const std::string& target, std::string& temp) const {
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
        const int fd = Open(temp, O_RDWR | O_CREAT | O_EXCL, 0600);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

WriteStatus FileSaver::ThroughTemporary(const std::string& target, const struct stat* existing,
                                        const SaveBody& body) const {
    std::string temp;
    const int fd = CreateTemporary(target, temp);
    if (fd < 0) {
        return existing != nullptr ? WriteInPlace(target, body) : WriteStatus::CannotCreate;
    }
    TemporaryGuard guard(temp);
    std::FILE* f = ::fdopen(fd, "wb");
    if (f == nullptr) {
        ::close(fd);
        guard.Finish([&] { return ::unlink(temp.c_str()) == 0; });
        return WriteStatus::CannotCreate;
    }
    bool ok = body(*SinkFor(f));
    Written();
    ok = std::fflush(f) == 0 && ok;
    ok = KeepOwnerAndMode(fd, existing, NewFileMode()) && ok;
    ok = ::fsync(fd) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    const bool renamed = guard.Finish([&] {
        if (ok && Rename(temp, target) == 0) {
            return true;
        }
        ::unlink(temp.c_str());
        return false;
    });
    return renamed ? WriteStatus::Ok : WriteStatus::WriteFailed;
}

WriteStatus FileSaver::Save(const std::string& path, const SaveBody& body) const {
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
            return WriteInPlace(target, body);
        }
        // Replacing through the folder would get round the file's own mode.
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
            return WriteStatus::WriteFailed;
        }
    }
    return ThroughTemporary(target, exists ? &info : nullptr, body);
}

WriteStatus FileSaver::SaveBytes(const std::string& path, std::string_view bytes) const {
    return Save(path, [bytes](ByteSink& sink) { return sink.Write(bytes.data(), bytes.size()); });
}

const FileSaver& SystemSaver() {
    static const FileSaver saver;
    return saver;
}
