#include "app/FileFailure.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

std::string ErrorText(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return "ファイルまたはフォルダがありません。";
    case EACCES:
    case EPERM:
        return "アクセスする権限がありません。";
    case EROFS:
        return "読み取り専用の場所です。";
    case ENOSPC:
    case EDQUOT:
        return "ディスクの空き容量が足りません。";
    case EISDIR:
        return "同じ名前のフォルダがあります。";
    case ENAMETOOLONG:
        return "ファイル名が長すぎます。";
    case EIO:
        return "ディスクの読み書きでエラーが起きました。";
    case 0:
        return "書き込みに失敗しました。";
    default:
        return std::strerror(error);
    }
}

} // namespace

std::string SaveFailureReason(const std::string& path, int error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path target(path);
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    if (!fs::is_directory(folder, ec))
        return "保存先のフォルダ " + folder.string() + " がありません。";
    if (fs::is_directory(target, ec))
        return ErrorText(EISDIR);
    struct statvfs space {};
    const bool known = ::statvfs(folder.c_str(), &space) == 0;
    if (known && (space.f_flag & ST_RDONLY) != 0)
        return "読み取り専用の場所には保存できません。";
    const bool exists = fs::exists(target, ec);
    if (exists && ::access(path.c_str(), W_OK) != 0)
        return "このファイルに書き込む権限がありません。";
    if (!exists && ::access(folder.c_str(), W_OK) != 0)
        return "このフォルダに書き込む権限がありません。";
    if (error == ENOSPC || error == EDQUOT || (known && space.f_bavail == 0))
        return ErrorText(ENOSPC);
    return ErrorText(error);
}

std::string OpenFailureReason(const std::string& path, int error) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return "フォルダは開けません。";
    if (error == ENOENT)
        return "ファイルがありません。";
    if (error == EACCES || error == EPERM)
        return "このファイルを読む権限がありません。";
    return ErrorText(error);
}
