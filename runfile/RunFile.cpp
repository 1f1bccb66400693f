#include "runfile/RunFile.h"

#include "engine/HugePages.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <sys/stat.h>
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

// Reads up to `size` bytes, retrying short reads until end of file. False
// when the system reported an error (errno says which).
bool ReadUpTo(std::FILE* stream, unsigned char* data, std::size_t size, std::size_t& got) {
    got = 0;
    while (got < size) {
        const std::size_t want = size - got;
        const std::size_t n = std::fread(data + got, 1, want, stream);
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

void ReserveRecords(RunRecords& records, std::size_t count) {
    for (auto* v : {&records.SinceHitPlays, &records.BallCounts, &records.ChainCounts,
                    &records.PlayNumbers, &records.HitStates}) {
        ReserveHuge(*v, count);
    }
}

bool WriteRunFile(std::FILE* stream, std::int32_t count, double rate, double border,
                  const RunRecords& records) {
    if (stream == nullptr) {
        return false;
    }
    FileSink sink(stream);
    return WriteRunFile(sink, count, rate, border, records);
}

bool WriteRunFile(ByteSink& sink, std::int32_t count, double rate, double border,
                  const RunRecords& records) {
    if (!records.SameLengths()) {
        return false;
    }
    std::array<unsigned char, RunFileHeaderSize> header{};
    PutInt32(header.data(), RunFileTag);
    PutInt32(header.data() + 4, count);
    PutDouble(header.data() + 8, rate);
    PutDouble(header.data() + 16, border);
    if (!sink.Write(header.data(), header.size())) {
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
        if (!sink.Write(block.data(), (end - start) * RunFileRecordSize)) {
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
    std::size_t got = 0;
    if (!ReadUpTo(stream, head.data(), 4, got)) {
        return ReadStatus::ReadFailed;
    }
    if (got < 4) {
        return ReadStatus::TooShortForTag;
    }
    header.Tag = GetInt32(head.data());
    if (header.Tag != RunFileTag) {
        return ReadStatus::ForeignTag;
    }
    if (!ReadUpTo(stream, head.data() + 4, RunFileHeaderSize - 4, got)) {
        return ReadStatus::ReadFailed;
    }
    if (got < RunFileHeaderSize - 4) {
        return ReadStatus::TooShortForHeader;
    }
    header.Count = GetInt32(head.data() + 4);
    header.Rate = GetDouble(head.data() + 8);
    header.Border = GetDouble(head.data() + 16);

    // Sized once when the length is known; a pipe grows as it goes.
    ReserveRecords(records, RecordsLeft(stream));
    constexpr std::size_t BlockRecords = 4096;
    std::array<unsigned char, BlockRecords * RunFileRecordSize> block{};
    // A block is taken apart column by column and each column appended at
    // once, which costs far less than five appends per record.
    std::array<std::array<std::int32_t, BlockRecords>, 5> columns;
    std::vector<std::int32_t>* const into[] = {&records.SinceHitPlays, &records.BallCounts,
                                               &records.ChainCounts, &records.PlayNumbers,
                                               &records.HitStates};
    for (;;) {
        const bool ok = ReadUpTo(stream, block.data(), block.size(), got);
        if (!ok) {
            // A failing disk is not the end of the file: nothing of it is kept.
            const int error = errno;
            records = RunRecords{};
            errno = error;
            return ReadStatus::ReadFailed;
        }
        const std::size_t whole = got / RunFileRecordSize;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const unsigned char* p = block.data() + 4 * c;
            for (std::size_t k = 0; k < whole; ++k, p += RunFileRecordSize) {
                columns[c][k] = GetInt32(p);
            }
            into[c]->insert(into[c]->end(), columns[c].begin(),
                            columns[c].begin() + static_cast<std::ptrdiff_t>(whole));
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

WriteStatus SaveRunFile(const std::string& path, std::int32_t count, double rate, double border,
                        const RunRecords& records, const FileSaver& saver) {
    return saver.Save(
        path, [&](ByteSink& sink) { return WriteRunFile(sink, count, rate, border, records); });
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
