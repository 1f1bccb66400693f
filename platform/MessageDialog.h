#pragma once
// The error message box: caption "エラー", error icon, one OK button.

#include <string>

void ShowErrorMessage(const std::string& text);
