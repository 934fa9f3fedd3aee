#include "base/errors.h"

#include <cerrno>
#include <cstring>

namespace {
std::string ReasonText(int e)
{
    switch (e) {
    case ENOENT: return "見つかりません";
    case EACCES:
    case EPERM: return "アクセスが拒否されました";
    case ENOTDIR: return "フォルダではありません";
    case EISDIR: return "フォルダです";
    case EEXIST: return "既に存在します";
    case ENOSPC: return "ディスクの空き容量が足りません";
    case EROFS: return "読み取り専用のファイルシステムです";
    case ENAMETOOLONG: return "名前が長すぎます";
    case ELOOP: return "シンボリックリンクが多すぎます";
    case EIO: return "入出力エラーが発生しました";
    case EBUSY: return "使用中です";
    case EMFILE:
    case ENFILE: return "開いているファイルが多すぎます";
    case EFBIG: return "ファイルが大きすぎます";
    case EXDEV: return "別のファイルシステムです";
    default: return std::strerror(e);
    }
}
} // namespace

EListIndexError::EListIndexError(long long index)
    : PelkorinError("ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています (" + std::to_string(index) + ")")
{
}

std::string FileErrorMessage(const std::string& action, const std::string& path, int errorNumber)
{
    return action + " '" + path + "': " + ReasonText(errorNumber);
}
