#include "platform/TFileDialog.h"

#include "platform/DialogSeam.h"

TFileDialog::TFileDialog(Kind kind, const std::string& fileName, const std::string& filter)
    : kind_(kind), fileName_(fileName), filter_(filter) {}

bool TFileDialog::Execute() {
    auto chosen =
        DialogSeam().AskFileName({kind_ == Kind::Save, fileName_, filter_, kind_ == Kind::Folder});
    if (!chosen)
        return false;
    fileName_ = *chosen;
    return true;
}
