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
    const std::string& FileName() const { return fileName_; }
    const std::string& Filter() const { return filter_; }

private:
    Kind kind_;
    std::string fileName_;
    std::string filter_;
};
