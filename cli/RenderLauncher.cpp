#include "cli/RenderLauncher.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

int LaunchRenderer(const CliArgs& args, std::ostream& out, std::ostream& err) {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path renderer =
        (ec ? std::filesystem::path(".") : self.parent_path()) / "yonatama-render";
    const std::string program = renderer.string();

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
