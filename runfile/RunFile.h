#pragma once
// The .sim run file: a 24-byte header (tag 20, play count, rate, border) and
// 20-byte records to the end of the file, all little-endian.

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

enum class WriteStatus {
    Ok,
    CannotCreate, // the file (or its temporary) could not be created
    WriteFailed,  // a write, flush, close or the final rename failed, or the
                  // file exists and this user may not write it
};

// Writes header and records to an open binary stream. False when any write
// failed. The stream is neither flushed nor closed here.
bool WriteRunFile(std::FILE* stream, std::int32_t count, double rate, double border,
                  const RunRecords& records);

// Reads a whole run file from an open binary stream. A trailing partial record
// is dropped; a read error refuses the whole file (ReadFailed, errno set). On
// any status but Ok the records are left empty. Values are not validated (see
// ValidateRecords in results). When the stream is a regular file the vectors
// are sized once from its length; throws std::bad_alloc when they do not fit.
ReadStatus ReadRunFile(std::FILE* stream, RunFileHeader& header, RunRecords& records);
ReadStatus ReadRunFile(const std::string& path, RunFileHeader& header, RunRecords& records);

// Writes a complete file next to the target and renames it over the target, so
// an existing file survives any failure; owner, group and mode of a replaced
// file are kept where this user may set them. Links (also dangling ones and
// chains) are followed to the file they name. An existing file this user may
// not write is left alone (WriteFailed). When no temporary can be made beside
// an existing writable file, that file is written in place. Devices and pipes
// are always written in place. SIGINT, SIGTERM and SIGHUP (when they would end
// the program) remove the temporary before the program ends.
WriteStatus SaveRunFile(const std::string& path, std::int32_t count, double rate, double border,
                        const RunRecords& records);

// The same careful save for any file whose whole contents are in memory.
WriteStatus SaveWholeFile(const std::string& path, const std::string& bytes);

// Test hook: the step at which the next SaveRunFile fails as if the system had
// refused it, so the failure paths can be reached on any machine and as any
// user. The program never sets it; None clears it.
enum class SaveFault { None, Create, Write, Rename };
void InjectSaveFault(SaveFault fault);

// Test hook: called once the temporary of a save holds every byte, before it is
// flushed, closed and renamed (nullptr clears it).
void SetSaveWrittenHook(void (*hook)());

// Test hook: the next ReadRunFile through a stream fails with `error` (errno)
// once `afterBytes` bytes were read, as a failing disk would make it.
void InjectReadFault(std::size_t afterBytes, int error);

// The file name of run `run` of a batch: "<count>_<run>" inserted before the
// first "." of the last path component, or appended to it when it has none.
// Both '/' and '\\' separate path components.
std::string BatchFileName(const std::string& chosenPath, int count, int run);
