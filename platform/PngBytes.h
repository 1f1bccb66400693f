#pragma once

#include <QImage>

#include <string>

// A picture as PNG bytes; empty when it cannot be encoded.
std::string PngBytes(const QImage& image);
