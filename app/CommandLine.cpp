#include "app/CommandLine.h"

namespace {

bool IsHelp(const std::string& word) {
    return word == "--help" || word == "-h";
}

bool IsVersion(const std::string& word) {
    return word == "--version" || word == "-v";
}

} // namespace

CommandLine::Action InfoRequest(const std::vector<std::string>& args) {
    for (const std::string& word : args) {
        if (word == "--")
            break;
        if (IsHelp(word))
            return CommandLine::Action::Help;
        if (IsVersion(word))
            return CommandLine::Action::Version;
    }
    return CommandLine::Action::Start;
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    line.What = InfoRequest(args);
    if (line.What != CommandLine::Action::Start)
        return line;
    bool optionsEnded = false;
    for (const std::string& word : args) {
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && word.size() > 1 && word[0] == '-') {
            line.What = CommandLine::Action::Refused;
            line.Problem = "不明なオプションです: " + word;
            return line;
        }
        if (!line.File.empty()) {
            line.What = CommandLine::Action::Refused;
            line.Problem = "開けるファイルは一つだけです: " + word;
            return line;
        }
        line.File = word;
    }
    return line;
}

std::string UsageText() {
    return "使い方: yonatama [FILE.sim]\n"
           "パチンコ機「銀蛇XX」のシミュレーター「ヨナタマ - 銀蛇XX」のウィンドウを開きます。\n"
           "FILE.sim を指定すると、ファイル→開く と同じようにそのファイルを読み込んで表示します。\n"
           "\n"
           "  -h, --help     この説明を表示して終了します\n"
           "  -v, --version  バージョンを表示して終了します\n"
           "\n"
           "デスクトップなしの実行・表示・描画は yonatama-cli を使います。\n";
}

std::string VersionLine() {
    return std::string("yonatama ") + YONATAMA_VERSION + "\n";
}
