#include "app/RunFileSaving.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

WriteStatus SaveRunFileFromWindow(const std::string& path, std::int32_t count, double rate,
                                  double border, const RunRecords& records) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return WriteStatus::CannotCreate;
        if (!S_ISREG(info.st_mode)) {
            // A device or pipe is written in place: renaming a finished
            // temporary over it would replace the device itself.
            std::FILE* f = std::fopen(path.c_str(), "wb");
            if (f == nullptr)
                return WriteStatus::CannotCreate;
            bool ok = WriteRunFile(f, count, rate, border, records);
            ok = std::fflush(f) == 0 && ok;
            ok = std::fclose(f) == 0 && ok;
            return ok ? WriteStatus::Ok : WriteStatus::WriteFailed;
        }
        // Through a link, the file it points at is the one to replace.
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) != nullptr)
            return SaveRunFile(resolved, count, rate, border, records);
    }
    return SaveRunFile(path, count, rate, border, records);
}
