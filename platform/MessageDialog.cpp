#include "platform/MessageDialog.h"

#include "platform/DialogSeam.h"

void ShowErrorMessage(const std::string& text) {
    DialogSeam().ShowMessage({"エラー", text, true});
}
