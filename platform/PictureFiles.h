#pragma once
// Pictures as PNG bytes, for the code outside this folder that writes them
// (the window's export, the companion's render and study pictures, the icons
// of the package) without touching the GUI toolkit itself.

#include "platform/ControlHostClient.h"
#include "platform/DrawContext.h"
#include "platform/TForm.h"

#include <functional>
#include <string>

// Each returns "" when the picture cannot be made or encoded.

// The form's window as it shows now.
std::string WindowPng(const TForm& form);

// What the control host shows, repainted now at its size.
std::string ControlPng(ControlHostHandle* host);

// A white picture of width × height drawn by `draw`.
std::string DrawnPng(int width, int height, const std::function<void(DrawContext&)>& draw);

// The program's icon at size × size.
std::string ProgramIconPng(int size);
