// Program entry: the application object, the main window, the About box and
// the message loop.

#include "app/AboutBox.h"
#include "app/Unit1.h"
#include "platform/TApplication.h"

#include <cstdio>
#include <exception>
#include <memory>

int main(int argc, char** argv) {
    std::unique_ptr<TApplication> application;
    try {
        application = std::make_unique<TApplication>(argc, argv);
        application->SetTitle(MainCaption);
        auto mainForm = std::make_unique<TMainForm>();
        auto aboutBox = std::make_unique<TAboutBox>();
        AboutBox = aboutBox.get();
        mainForm->Show();
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
