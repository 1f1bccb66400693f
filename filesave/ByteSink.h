#pragma once
// Where the bytes of a save go: the saver hands one to the code that writes
// the file's contents.

#include <cstddef>
#include <cstdio>

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // False when the bytes did not all reach the file.
    virtual bool Write(const void* data, std::size_t size) = 0;
};

// A sink over an open stream, which it neither flushes nor closes.
class FileSink : public ByteSink {
public:
    explicit FileSink(std::FILE* stream) : Stream_(stream) {}
    bool Write(const void* data, std::size_t size) override;

private:
    std::FILE* Stream_;
};
