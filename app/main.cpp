// Program entry: the command line, the application object, the main window,
// the About box and the message loop.

#include "app/AboutBox.h"
#include "app/CommandLine.h"
#include "app/Unit1.h"
#include "platform/TApplication.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Words(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

// Help and version need no display; a refused line never opens a window.
int Answered(const CommandLine& line) {
    switch (line.What) {
    case CommandLine::Action::Help:
        std::fputs(UsageText().c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    case CommandLine::Action::Version:
        std::fputs(VersionLine().c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    case CommandLine::Action::Refused:
        std::fprintf(stderr, "%s\n%s", line.Problem.c_str(), UsageText().c_str());
        return CommandLineError;
    case CommandLine::Action::Start:
        break;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    CommandLine info;
    info.What = InfoRequest(Words(argc, argv));
    if (const int code = Answered(info); code >= 0)
        return code;
    std::unique_ptr<TApplication> application;
    try {
        // Qt takes its own options (-platform, -display, ...) off argv here.
        application = std::make_unique<TApplication>(argc, argv);
        const CommandLine line = ParseCommandLine(Words(argc, argv));
        if (const int code = Answered(line); code >= 0)
            return code;
        application->SetTitle(MainCaption);
        auto mainForm = std::make_unique<TMainForm>();
        auto aboutBox = std::make_unique<TAboutBox>();
        AboutBox = aboutBox.get();
        mainForm->Show();
        // Opened from the message loop, so that its messages have the window
        // shown behind them.
        if (!line.File.empty())
            application->Post([&mainForm, file = line.File] { mainForm->OpenRunFile(file); });
        const int code = application->Run();
        AboutBox = nullptr;
        return code;
    } catch (...) {
        if (application) {
            application->HandleException(std::current_exception());
        } else {
            try {
                throw;
            } catch (const std::exception& e) {
                std::fprintf(stderr, "%s\n", e.what());
            } catch (...) {
            }
        }
        return 1;
    }
}
