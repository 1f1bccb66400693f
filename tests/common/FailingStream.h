#pragma once
// A stdio stream over bytes in memory whose reads fail with `error` once
// `good` bytes were read, as a failing disk makes them fail; past the end of
// the bytes (good beyond them) it ends as a file does.

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <sys/types.h>
#include <vector>

struct FailingSource {
    std::vector<unsigned char> bytes;
    std::size_t good = 0;
    int error = EIO;
    std::size_t at = 0;
};

inline std::FILE* OpenFailingStream(FailingSource& source) {
    cookie_io_functions_t io{};
    io.read = [](void* cookie, char* buf, std::size_t size) -> ssize_t {
        auto& s = *static_cast<FailingSource*>(cookie);
        if (s.at >= s.good) {
            errno = s.error;
            return -1;
        }
        const std::size_t n = std::min({size, s.good - s.at, s.bytes.size() - s.at});
        std::memcpy(buf, s.bytes.data() + s.at, n);
        s.at += n;
        return static_cast<ssize_t>(n);
    };
    return fopencookie(&source, "rb", io);
}
