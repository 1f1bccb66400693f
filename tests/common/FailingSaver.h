#pragma once
// A saver whose create, write or rename fails as the system's would: a full
// disk after a number of bytes, a refused create, a refused rename.

#include "filesave/FileSaver.h"

#include <cerrno>
#include <cstddef>
#include <memory>

enum class SaveFault { None, Create, Write, Rename };

// Takes `room` bytes, then fails every write as a full disk does.
class FullDiskSink : public ByteSink {
public:
    FullDiskSink(std::unique_ptr<ByteSink> inner, std::size_t room)
        : Inner_(std::move(inner)), Room_(room) {}
    bool Write(const void* data, std::size_t size) override {
        const std::size_t taken = size < Room_ ? size : Room_;
        Room_ -= taken;
        if (taken > 0 && !Inner_->Write(data, taken)) {
            return false;
        }
        if (taken < size) {
            errno = ENOSPC;
            return false;
        }
        return true;
    }

private:
    std::unique_ptr<ByteSink> Inner_;
    std::size_t Room_;
};

class FailingSaver : public FileSaver {
public:
    explicit FailingSaver(SaveFault fault, std::size_t room = 0, void (*written)() = nullptr)
        : Fault_(fault), Room_(room), Written_(written) {}

protected:
    int Open(const std::string& path, int flags, mode_t mode) const override {
        if (Fault_ == SaveFault::Create) {
            errno = EACCES;
            return -1;
        }
        return FileSaver::Open(path, flags, mode);
    }
    std::unique_ptr<ByteSink> SinkFor(std::FILE* stream) const override {
        auto sink = FileSaver::SinkFor(stream);
        if (Fault_ == SaveFault::Write) {
            return std::make_unique<FullDiskSink>(std::move(sink), Room_);
        }
        return sink;
    }
    int Rename(const std::string& from, const std::string& to) const override {
        if (Fault_ == SaveFault::Rename) {
            errno = EXDEV;
            return -1;
        }
        return FileSaver::Rename(from, to);
    }
    void Written() const override {
        if (Written_ != nullptr) {
            Written_();
        }
    }

private:
    SaveFault Fault_;
    std::size_t Room_;
    void (*Written_)();
};
