#pragma once
// An open or save dialog with one filter. It remembers the last chosen name,
// which is where it starts the next time.

#include <string>

class TFileDialog {
public:
    // Folder chooses an existing folder; its file name is that folder.
    enum class Kind { Open, Save, Folder };
    TFileDialog(Kind kind, const std::string& fileName, const std::string& filter);

    // Asks through the dialog seam; false when the user cancelled.
    bool Execute();
    // Save dialogs: added, after a ".", to a chosen name that has no
    // extension, so that the file shows under the dialogs' filter.
    void SetDefaultExt(const std::string& ext) { DefaultExt_ = ext; }
    const std::string& FileName() const { return FileName_; }
    const std::string& Filter() const { return Filter_; }

private:
    Kind Kind_;
    std::string FileName_;
    std::string Filter_;
    std::string DefaultExt_;
};

// `path` with "." and `ext` added when its last component has no "." after
// its first character; unchanged otherwise or when `ext` is empty.
std::string WithDefaultExt(const std::string& path, const std::string& ext);
