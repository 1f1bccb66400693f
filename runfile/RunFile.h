#pragma once
// The .sim run file: a 24-byte header (tag 20, play count, rate, border) and
// 20-byte records to the end of the file, all little-endian.

#include "filesave/ByteSink.h"
#include "filesave/FileSaver.h"
#include "runfile/RunRecords.h"

#include <cstdint>
#include <cstdio>
#include <string>

inline constexpr std::int32_t RunFileTag = 20;
inline constexpr std::size_t RunFileHeaderSize = 24;
inline constexpr std::size_t RunFileRecordSize = 20;

struct RunFileHeader {
    std::int32_t Tag = 0;
    std::int32_t Count = 0;
    double Rate = 0.0;
    double Border = 0.0;
};

enum class ReadStatus {
    Ok,
    CannotOpen,        // no stream or the path cannot be opened
    TooShortForTag,    // fewer than 4 bytes
    ForeignTag,        // the tag is not 20
    TooShortForHeader, // tag 20 but fewer than 24 bytes
    ReadFailed,        // the system reported a read error (errno tells which)
};

// Writes header and records to a sink (or an open binary stream, neither
// flushed nor closed here). False when any write failed.
bool WriteRunFile(ByteSink& sink, std::int32_t count, double rate, double border,
                  const RunRecords& records);
bool WriteRunFile(std::FILE* stream, std::int32_t count, double rate, double border,
                  const RunRecords& records);

// Room for `count` records in every column, large columns in huge pages.
void ReserveRecords(RunRecords& records, std::size_t count);

// Reads a whole run file from an open binary stream. A trailing partial record
// is dropped; a read error refuses the whole file (ReadFailed, errno set). On
// any status but Ok the records are left empty. Values are not validated (see
// ValidateRecords in results). When the stream is a regular file the vectors
// are sized once from its length; throws std::bad_alloc when they do not fit.
ReadStatus ReadRunFile(std::FILE* stream, RunFileHeader& header, RunRecords& records);
ReadStatus ReadRunFile(const std::string& path, RunFileHeader& header, RunRecords& records);

// Saves a whole run file through `saver` (see FileSaver).
WriteStatus SaveRunFile(const std::string& path, std::int32_t count, double rate, double border,
                        const RunRecords& records, const FileSaver& saver = SystemSaver());

// The file name of run `run` of a batch: "<count>_<run>" inserted before the
// first "." of the last path component, or appended to it when it has none.
// Both '/' and '\\' separate path components.
std::string BatchFileName(const std::string& chosenPath, int count, int run);
