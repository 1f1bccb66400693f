#pragma once
// Every modal question the program asks the user (message boxes, file
// dialogs) and every request handed to the desktop shell passes through one
// seam, so that tests can answer and record them without showing anything.

#include <functional>
#include <optional>
#include <string>

struct TMessageRequest {
    std::string Caption;
    std::string Text;
    bool ErrorIcon = true;
};

struct TFileDialogRequest {
    bool Save = false;
    std::string FileName; // the dialog's current file name, may be a pattern
    std::string Filter;   // "description|pattern"
    // A folder is chosen instead of a file (the exports write several files).
    bool Folder = false;
};

// ShowCommand values of the desktop shell.
constexpr int SW_SHOW = 5;
constexpr int SW_SHOWNORMAL = 1;

struct TShellRequest {
    std::string Verb; // empty: the default action
    std::string File; // a path or an address (http:, https:, mailto:)
    std::string Parameters;
    int ShowCommand = SW_SHOWNORMAL;
};

class TDialogSeam {
public:
    virtual ~TDialogSeam() = default;
    // Modal message box with one OK button.
    virtual void ShowMessage(const TMessageRequest& request) = 0;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> AskFileName(const TFileDialogRequest& request) = 0;
    virtual void ShellExecute(const TShellRequest& request) = 0;
    // A local document opened with the desktop's program for it; onFailure
    // runs later, from the message loop, when the file is missing, no
    // program is registered for it or the program fails. By default the
    // request goes to ShellExecute and never fails.
    virtual void OpenDocument(const std::string& path, std::function<void()> onFailure);
};

// The seam in force: the real desktop unless a test installed its own.
TDialogSeam& DialogSeam();
// The real desktop, whatever seam is in force.
TDialogSeam& DesktopDialogSeam();
// nullptr restores the real desktop; the caller keeps ownership.
void SetDialogSeam(TDialogSeam* seam);
