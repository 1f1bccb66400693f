// libFuzzer entry: arbitrary bytes as a run file, then everything the window
// would do with an accepted file. Also the same bytes as typed input text.

#include "numfmt/Conversions.h"
#include "numfmt/NumberFormats.h"
#include "results/ResultTexts.h"
#include "runfile/RunFile.h"

// The failing stream of the tests: a disk that fails after some bytes.
#include "common/FailingStream.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The same bytes read from a real file (its length known, so the reader sizes
// its vectors up front) must give what the stream gave; a read error struck
// anywhere must refuse the file whole.
void ReadAsFile(const std::uint8_t* data, std::size_t size, ReadStatus streamStatus,
                const RunRecords& streamRecords) {
    const int fd = memfd_create("run", 0);
    Check(fd >= 0);
    Check(size == 0 || write(fd, data, size) == static_cast<ssize_t>(size));
    Check(lseek(fd, 0, SEEK_SET) == 0);
    std::FILE* f = fdopen(fd, "rb");
    Check(f != nullptr);
    RunFileHeader header;
    RunRecords records;
    Check(ReadRunFile(f, header, records) == streamStatus);
    Check(records == streamRecords);

    if (size > 0) {
        const std::size_t good = data[0] % (size + 2);
        FailingSource source{{data, data + size}, good};
        std::FILE* failing = OpenFailingStream(source);
        Check(failing != nullptr);
        const ReadStatus faulted = ReadRunFile(failing, header, records);
        std::fclose(failing);
        Check(records.Size() == 0 && records.SameLengths());
        // A fault past the end is never reached; one inside the data always is,
        // unless an earlier refusal (a foreign tag) ended the read first.
        if (good > size) {
            Check(faulted == streamStatus);
        } else {
            Check(faulted == ReadStatus::ReadFailed || faulted == ReadStatus::ForeignTag);
        }
    }
    std::fclose(f);
}

void ReadAndShow(const std::uint8_t* data, std::size_t size) {
    // fmemopen refuses an empty buffer: give it one byte and consume it first.
    std::vector<std::uint8_t> bytes(data, data + size);
    bytes.push_back(0);
    std::FILE* f = fmemopen(bytes.data(), size == 0 ? 1 : size, "rb");
    Check(f != nullptr);
    if (size == 0) {
        std::fgetc(f);
    }
    RunFileHeader header;
    RunRecords records;
    const ReadStatus status = ReadRunFile(f, header, records);
    std::fclose(f);
    ReadAsFile(data, size, status, records);

    if (status != ReadStatus::Ok) {
        Check(records.Size() == 0 && records.SameLengths());
        Check(!ReadFailureText(status).empty());
        return;
    }
    Check(size >= RunFileHeaderSize);
    Check(records.Size() == (size - RunFileHeaderSize) / RunFileRecordSize);

    // Writing back what was read gives the input without its partial record.
    char* out = nullptr;
    std::size_t outSize = 0;
    std::FILE* w = open_memstream(&out, &outSize);
    Check(w != nullptr);
    Check(WriteRunFile(w, header.Count, header.Rate, header.Border, records));
    std::fclose(w);
    const std::size_t whole = RunFileHeaderSize + records.Size() * RunFileRecordSize;
    Check(outSize == whole && std::memcmp(out, data, whole) == 0);
    std::free(out);

    (void)FormatGeneral15(header.Rate);
    (void)FormatGeneral15(header.Border);
    (void)FormatAverage(static_cast<float>(header.Rate));
    if (!ValidateRecords(records).empty()) {
        return;
    }
    (void)SummaryForRecords(records, header.Rate);
    for (std::size_t i = 0; i < records.Size(); ++i) {
        (void)PlayText(records, i);
        (void)Play2Text(records, i);
        (void)BallText(records, i);
        (void)OutcomeText(records.HitStates[i]);
    }
    (void)BonusRows(records);
    for (const KeizokuRow& row : KeizokuRows(ComputeChainStats(records))) {
        Check(!row.Percent.empty());
    }
}

void ParseAsText(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 64));
    if (const auto v = TryStrToFloat(text)) {
        Check(std::isfinite(*v));
        (void)FormatGeneral15(*v);
        (void)FormatAverage(static_cast<float>(*v));
    }
    (void)TryStrToInt(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ReadAndShow(data, size);
    ParseAsText(data, size);
    return 0;
}
