#include "app/CompactStringList.h"

#include <limits>
#include <stdexcept>

void CompactStringList::Append(std::string_view text) {
    if (buffer_.size() + text.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("CompactStringList overflow");
    buffer_.append(text);
    offsets_.push_back(static_cast<std::uint32_t>(buffer_.size()));
}

void CompactStringList::Clear() {
    buffer_.clear();
    offsets_.resize(1);
}

void CompactStringList::Reserve(std::size_t entries, std::size_t bytes) {
    offsets_.reserve(entries + 1);
    buffer_.reserve(bytes);
}

std::size_t CompactStringList::CapacityBytes() const {
    return buffer_.capacity() + offsets_.capacity() * sizeof(std::uint32_t);
}
