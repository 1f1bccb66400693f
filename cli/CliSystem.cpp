#include "cli/CliSystem.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The path's prefixes that name folders, outermost first ("a", "a/b", ...).
std::vector<std::string> Prefixes(const std::string& path) {
    std::vector<std::string> out;
    for (std::size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1)) {
        if (path[at - 1] != '/') {
            out.push_back(path.substr(0, at));
        }
    }
    if (path.back() != '/') {
        out.push_back(path);
    }
    return out;
}

} // namespace

std::string SystemErrorText(int error) {
    switch (error) {
    case ENOENT:
        return "ファイルまたはフォルダがありません";
    case EACCES:
    case EPERM:
        return "アクセスが許可されていません";
    case ENAMETOOLONG:
        return "名前が長すぎます";
    case ELOOP:
        return "シンボリックリンクが循環しています";
    case ENOTDIR:
        return "途中の名前がフォルダではありません";
    case EISDIR:
        return "フォルダです";
    case ENOSPC:
        return "ディスクの空きがありません";
    case EDQUOT:
        return "ディスク使用量の上限を超えました";
    case EFBIG:
        return "ファイルが大きすぎます";
    case EROFS:
        return "読み取り専用のファイルシステムです";
    case EIO:
        return "入出力エラーです";
    case ENOMEM:
        return "メモリが不足しています";
    default:
        return "システムエラー " + std::to_string(error);
    }
}

std::string CheckOutputFolder(const std::string& folder) {
    const std::string prefix = "出力フォルダを使えません: " + folder + "（";
    if (folder.size() >= PATH_MAX) {
        return prefix + SystemErrorText(ENAMETOOLONG) + "）";
    }
    std::string existing = folder.front() == '/' ? "/" : ".";
    const std::vector<std::string> names = Prefixes(folder);
    for (std::size_t k = 0; k < names.size(); ++k) {
        struct stat info {};
        if (::stat(names[k].c_str(), &info) == 0) {
            if (!S_ISDIR(info.st_mode)) {
                return prefix + SystemErrorText(ENOTDIR) + "）";
            }
            existing = names[k];
            continue;
        }
        if (errno != ENOENT) {
            return prefix + SystemErrorText(errno) + "）";
        }
        // The rest will be made: each name must fit, the folder above must take them.
        const long nameMax = ::pathconf(existing.c_str(), _PC_NAME_MAX);
        for (std::size_t m = k; m < names.size(); ++m) {
            const std::size_t start = m == 0 ? 0 : names[m - 1].size() + 1;
            std::string name = names[m].substr(start);
            name.erase(0, name.find_first_not_of('/'));
            if (nameMax > 0 && name.size() > static_cast<std::size_t>(nameMax)) {
                return prefix + SystemErrorText(ENAMETOOLONG) + "）";
            }
        }
        break;
    }
    const std::string& writable = names.empty() || existing != names.back() ? existing : folder;
    if (::access(writable.c_str(), W_OK | X_OK) != 0) {
        return prefix + SystemErrorText(errno) + "）";
    }
    return {};
}

bool MakeOutputFolder(const std::string& folder, std::vector<std::string>& created) {
    for (const std::string& name : Prefixes(folder)) {
        if (::mkdir(name.c_str(), 0777) == 0) {
            created.push_back(name);
            continue;
        }
        struct stat info {};
        if (errno != EEXIST || ::stat(name.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
            const int error = errno == EEXIST ? ENOTDIR : errno;
            errno = error;
            return false;
        }
    }
    return true;
}

void RemoveEmptyFolders(const std::vector<std::string>& created) {
    for (auto it = created.rbegin(); it != created.rend(); ++it) {
        ::rmdir(it->c_str()); // fails, as it should, on a folder that holds something
    }
}
