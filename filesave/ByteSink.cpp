#include "filesave/ByteSink.h"

bool FileSink::Write(const void* data, std::size_t size) {
    return size == 0 || (stream_ != nullptr && std::fwrite(data, 1, size, stream_) == size);
}
