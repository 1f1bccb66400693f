#include "cli/RenderLauncher.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

std::string RendererProgramPath() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path dir = ec ? std::filesystem::path(".") : self.parent_path();
    const std::filesystem::path beside = dir / RendererName;
    if (::access(beside.c_str(), X_OK) == 0)
        return beside.string();
    const std::filesystem::path installed =
        (dir / InstalledRendererFolder / RendererName).lexically_normal();
    if (::access(installed.c_str(), X_OK) == 0)
        return installed.string();
    return beside.string();
}

int LaunchRenderer(const CliArgs& args, std::ostream& out, std::ostream& err) {
    const std::string program = RendererProgramPath();

    std::vector<std::string> words{program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    out.flush();
    err.flush();
    ::execv(program.c_str(), argv.data());
    err << "描画プログラムを起動できません: " << program << "\n";
    return CliFileError;
}
