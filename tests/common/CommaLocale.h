#pragma once
// A comma-decimal locale for tests: localedef writes de_DE.UTF-8 into a
// temporary folder used as LOCPATH, so no locale need be installed.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

class CommaLocale {
public:
    static constexpr const char* Name = "de_DE.UTF-8";

    // Generated on first use, removed when the test program ends. Empty when
    // localedef or the locale sources are missing.
    static const std::string& Path() {
        static const CommaLocale locale;
        return locale.Path_;
    }

    // The words that put a child process into the locale.
    static std::string Environment() { return "LOCPATH='" + Path() + "' LC_ALL=" + Name + " "; }

private:
    CommaLocale() {
        std::string pattern = (std::filesystem::temp_directory_path() / "comma-locale-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr) {
            return;
        }
        Folder_ = pattern;
        const std::string command =
            "localedef -i de_DE -f UTF-8 '" + Folder_ + "/" + Name + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) == 0) {
            Path_ = Folder_;
        }
    }
    ~CommaLocale() {
        std::error_code ignored;
        std::filesystem::remove_all(Folder_, ignored);
    }
    std::string Folder_;
    std::string Path_;
};

// Puts this process into the comma locale for a scope, as Qt does at start-up
// from the environment, and back afterwards.
class ScopedCommaLocale {
public:
    ScopedCommaLocale() : Before_(std::setlocale(LC_ALL, nullptr)) {
        if (CommaLocale::Path().empty()) {
            return;
        }
        ::setenv("LOCPATH", CommaLocale::Path().c_str(), 1);
        Active_ = std::setlocale(LC_ALL, CommaLocale::Name) != nullptr;
    }
    ~ScopedCommaLocale() {
        std::setlocale(LC_ALL, Before_.c_str());
        ::unsetenv("LOCPATH");
    }
    ScopedCommaLocale(const ScopedCommaLocale&) = delete;
    ScopedCommaLocale& operator=(const ScopedCommaLocale&) = delete;
    // False when the locale could not be made; the caller fails its test.
    bool Active() const { return Active_; }

private:
    std::string Before_;
    bool Active_ = false;
};
