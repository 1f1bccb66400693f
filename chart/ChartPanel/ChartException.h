#pragma once
// The one exception type of the chart engine; its message is the fixed English text.

#include <stdexcept>
#include <string>

class ChartException : public std::runtime_error {
public:
    explicit ChartException(const std::string& message) : std::runtime_error(message) {}
};
