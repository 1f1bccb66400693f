#pragma once
// Running the companion as a separate process, as a user's shell does.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

struct CliResult {
    int exitCode = -1;
    std::string out, err;
};

inline std::string Slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs a shell command line whose standard error already goes to `errFile`;
// standard output, the exit code and that file are the result.
inline CliResult RunShell(const std::string& command, const std::filesystem::path& errFile) {
    CliResult r;
    std::FILE* p = ::popen(command.c_str(), "r");
    if (p == nullptr) {
        ADD_FAILURE() << "popen failed";
        return r;
    }
    char buf[4096];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) {
        r.out.append(buf, n);
    }
    const int status = ::pclose(p);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = Slurp(errFile);
    return r;
}
