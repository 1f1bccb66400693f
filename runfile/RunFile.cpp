#include "runfile/RunFile.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

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

// Reads up to `size` bytes, retrying short reads until end of file or error.
std::size_t ReadUpTo(std::FILE* stream, unsigned char* data, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const std::size_t n = std::fread(data + got, 1, size - got, stream);
        if (n == 0) {
            break;
        }
        got += n;
    }
    return got;
}

struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f != nullptr) {
            std::fclose(f);
        }
    }
};

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
    records.Clear();
    header = RunFileHeader{};
    if (stream == nullptr) {
        return ReadStatus::CannotOpen;
    }
    std::array<unsigned char, RunFileHeaderSize> head{};
    if (ReadUpTo(stream, head.data(), 4) < 4) {
        return ReadStatus::TooShortForTag;
    }
    header.Tag = GetInt32(head.data());
    if (header.Tag != RunFileTag) {
        return ReadStatus::ForeignTag;
    }
    if (ReadUpTo(stream, head.data() + 4, RunFileHeaderSize - 4) < RunFileHeaderSize - 4) {
        return ReadStatus::TooShortForHeader;
    }
    header.Count = GetInt32(head.data() + 4);
    header.Rate = GetDouble(head.data() + 8);
    header.Border = GetDouble(head.data() + 16);

    constexpr std::size_t BlockRecords = 4096;
    std::array<unsigned char, BlockRecords * RunFileRecordSize> block{};
    for (;;) {
        const std::size_t got = ReadUpTo(stream, block.data(), block.size());
        const std::size_t whole = got / RunFileRecordSize;
        for (std::size_t k = 0; k < whole; ++k) {
            const unsigned char* p = block.data() + k * RunFileRecordSize;
            records.Append(GetInt32(p), GetInt32(p + 4), GetInt32(p + 8), GetInt32(p + 12),
                           GetInt32(p + 16));
        }
        // A short block means end of file (or an error): a partial record ends the loop.
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

// Devices and pipes are written in place: renaming over them would replace
// the device node itself.
WriteStatus WriteInPlace(const std::string& path, std::int32_t count, double rate, double border,
                         const RunRecords& records, SaveFault fault) {
    std::FILE* f = fault == SaveFault::Create ? nullptr : std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        return WriteStatus::CannotCreate;
    }
    bool ok = WriteRunFile(f, count, rate, border, records) && fault != SaveFault::Write;
    ok = std::fflush(f) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    return ok ? WriteStatus::Ok : WriteStatus::WriteFailed;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

void InjectSaveFault(SaveFault fault) {
    injectedFault.store(fault);
}

WriteStatus SaveRunFile(const std::string& path, std::int32_t count, double rate, double border,
                        const RunRecords& records) {
    const SaveFault fault = injectedFault.exchange(SaveFault::None);
    std::string target = path;
    mode_t mode = 0;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            return WriteStatus::CannotCreate;
        }
        if (!S_ISREG(info.st_mode)) {
            return WriteInPlace(path, count, rate, border, records, fault);
        }
        // Through a link the file it points at is replaced, and the link kept.
        std::array<char, PATH_MAX> resolved{};
        if (::realpath(path.c_str(), resolved.data()) != nullptr) {
            target = resolved.data();
        }
        mode = info.st_mode & 07777;
    } else {
        mode = NewFileMode();
    }

    // Same folder, so the final rename stays on one file system.
    std::string temp = target + ".tmp-XXXXXX";
    const int fd = fault == SaveFault::Create ? -1 : ::mkstemp(temp.data());
    if (fd < 0) {
        return WriteStatus::CannotCreate;
    }
    std::FILE* f = ::fdopen(fd, "wb");
    if (f == nullptr) {
        ::close(fd);
        std::remove(temp.c_str());
        return WriteStatus::CannotCreate;
    }
    bool ok = WriteRunFile(f, count, rate, border, records) && fault != SaveFault::Write;
    ok = std::fflush(f) == 0 && ok;
    ok = ::fchmod(fd, mode) == 0 && ok; // mkstemp creates for the owner only
    ok = ::fsync(fd) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (!ok || fault == SaveFault::Rename || std::rename(temp.c_str(), target.c_str()) != 0) {
        std::remove(temp.c_str());
        return WriteStatus::WriteFailed;
    }
    return WriteStatus::Ok;
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
