#pragma once
// An append-only list of short texts kept in one character buffer with one
// offset per entry, so a million rows cost a few bytes each instead of a heap
// string apiece.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CompactStringList {
public:
    CompactStringList() { offsets_.push_back(0); }

    // Throws std::length_error when the buffer would outgrow 32-bit offsets.
    void Append(std::string_view text);
    std::size_t Size() const { return offsets_.size() - 1; }
    bool Empty() const { return Size() == 0; }
    // Valid until the next Append or Clear.
    std::string_view operator[](std::size_t index) const {
        return std::string_view(buffer_).substr(offsets_[index],
                                                offsets_[index + 1] - offsets_[index]);
    }
    void Clear();
    void Reserve(std::size_t entries, std::size_t bytes);
    // Bytes held by the buffer and the offsets.
    std::size_t CapacityBytes() const;

private:
    std::string buffer_;
    std::vector<std::uint32_t> offsets_;
};
