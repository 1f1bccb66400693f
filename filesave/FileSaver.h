#pragma once
// The careful save every file of the programs goes through: the whole file is
// written beside the target and renamed over it, so an existing file survives
// any failure; owner, group and mode of a replaced file are kept where this
// user may set them. Links (also dangling ones and chains) are followed to the
// file they name. An existing file this user may not write is left alone
// (WriteFailed). When no temporary can be made beside an existing writable
// file, that file is written in place. Devices and pipes are always written in
// place. SIGINT, SIGTERM and SIGHUP (when they would end the program) remove
// the temporary before the program ends.

#include "filesave/ByteSink.h"
#include "filesave/SaveStatus.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>

// Writes the file's contents; false when anything failed.
using SaveBody = std::function<bool(ByteSink&)>;

class FileSaver {
public:
    virtual ~FileSaver() = default;

    WriteStatus Save(const std::string& path, const SaveBody& body) const;
    WriteStatus SaveBytes(const std::string& path, std::string_view bytes) const;

protected:
    // The steps a save is made of, as the system does them. A test overrides
    // one to fail as a full disk, a refused create or a refused rename would.
    virtual int Open(const std::string& path, int flags, mode_t mode) const;
    virtual std::unique_ptr<ByteSink> SinkFor(std::FILE* stream) const;
    virtual int Rename(const std::string& from, const std::string& to) const;
    // Once the temporary holds every byte, before it is closed and renamed.
    virtual void Written() const {}

private:
    WriteStatus WriteInPlace(const std::string& path, const SaveBody& body) const;
    WriteStatus ThroughTemporary(const std::string& target, const struct stat* existing,
                                 const SaveBody& body) const;
    int CreateTemporary(const std::string& target, std::string& temp) const;
};

// The saver the programs use.
const FileSaver& SystemSaver();
