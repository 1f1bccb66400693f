#include "filesave/ByteSink.h"

bool FileSink::Write(const void* data, std::size_t size) {
    return size == 0 || (Stream_ != nullptr && std::fwrite(data, 1, size, Stream_) == size);
}
