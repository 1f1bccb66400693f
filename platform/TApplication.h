#pragma once
// The application object: title, message loop, processing of pending
// messages, and the standard display of an exception that escapes a handler.

#include <functional>
#include <memory>
#include <string>

class QApplication;

class TApplication {
public:
    // Uses the running QApplication, or creates one from argc/argv.
    TApplication(int& argc, char** argv);
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    void SetTitle(const std::string& title);
    const std::string& Title() const { return Title_; }

    // Runs the message loop until the main window closes; returns the exit code.
    int Run();
    // Handles every message waiting now, then returns.
    void ProcessMessages();
    // Handles messages as they come for `milliseconds`, or until `done` (asked
    // a few times a second) says so; the window answers at once meanwhile.
    void ProcessMessagesFor(int milliseconds, const std::function<bool()>& done = {});
    // Ends the message loop once the current handler has returned.
    void Terminate();
    // The error box with the exception's message; a foreign exception shows
    // an empty message.
    void HandleException(std::exception_ptr error);
    void ShowException(const std::string& message);
    // Calls a handler and shows what escapes it, as the message loop does.
    void Guarded(const std::function<void()>& handler);

    // Runs a handler from the message loop once the current one has returned.
    void Post(const std::function<void()>& handler);

    // The folder of the running executable, with its trailing separator.
    static std::string ExeDir();

private:
    std::unique_ptr<QApplication> Owned_;
    std::string Title_;
    bool Running_ = false;
};

// The one application object of the process (nullptr before it exists).
extern TApplication* Application;

// Calls a handler through the application object when there is one.
void RunGuarded(const std::function<void()>& handler);
