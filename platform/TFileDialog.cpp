#include "platform/TFileDialog.h"

#include "platform/DialogSeam.h"

TFileDialog::TFileDialog(Kind kind, const std::string& fileName, const std::string& filter)
    : Kind_(kind), FileName_(fileName), Filter_(filter) {}

bool TFileDialog::Execute() {
    auto chosen =
        DialogSeam().AskFileName({Kind_ == Kind::Save, FileName_, Filter_, Kind_ == Kind::Folder});
    if (!chosen)
        return false;
    FileName_ = Kind_ == Kind::Save ? WithDefaultExt(*chosen, DefaultExt_) : *chosen;
    return true;
}

std::string WithDefaultExt(const std::string& path, const std::string& ext) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (ext.empty() || nameStart >= path.size())
        return path;
    // A leading dot marks a hidden name, not an extension.
    if (path.find('.', nameStart + 1) != std::string::npos)
        return path;
    return path + "." + ext;
}
