#pragma once
// The desktop's own message box and file dialog, built but not yet shown, so
// that how they are set up can be checked without a modal loop.

#include "platform/DialogSeam.h"

#include <memory>

class QFileDialog;
class QMessageBox;
class QWidget;

std::unique_ptr<QMessageBox> CreateMessageBox(const TMessageRequest& request, QWidget* parent);
std::unique_ptr<QFileDialog> CreateFileDialog(const TFileDialogRequest& request, QWidget* parent);
