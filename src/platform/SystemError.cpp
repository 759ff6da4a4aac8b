#include "platform/SystemError.h"

#include <cerrno>
#include <cstring>

namespace tarnbook::platform {

std::string systemReason(int err) {
    switch (err) {
        case ENOENT:
            return "ファイルまたはフォルダがありません";
        case EACCES:
        case EPERM:
            return "アクセスが拒否されました";
        case EROFS:
            return "読み取り専用のファイルシステムです";
        case ENOSPC:
            return "ディスクの空き領域が足りません";
        case EDQUOT:
            return "ディスクの使用量の上限を超えました";
        case EEXIST:
            return "同じ名前のファイルまたはフォルダが既にあります";
        case EISDIR:
            return "フォルダです";
        case ENOTDIR:
            return "パスの途中にフォルダではないものがあります";
        case ENAMETOOLONG:
            return "名前が長すぎます";
        case ENOTEMPTY:
            return "フォルダが空ではありません";
        case EBUSY:
        case ETXTBSY:
            return "使用中です";
        case EMFILE:
        case ENFILE:
            return "開いているファイルが多すぎます";
        case EIO:
            return "入出力エラーが起きました";
        case EFBIG:
            return "ファイルが大きすぎます";
        case EXDEV:
            return "別のファイルシステムへは移動できません";
        case ELOOP:
            return "シンボリックリンクが循環しています";
        case ENOEXEC:
            return "実行できる形式ではありません";
        case EWOULDBLOCK:
            return "ほかのプログラムが使用しています";
        default:
            return "システムエラー " + std::to_string(err) + " (" + std::strerror(err) + ")";
    }
}

std::string failureText(FileAction action, std::string_view path, int err) {
    const char* what = "";
    switch (action) {
        case FileAction::Create:
            what = "ファイルを作成できません。";
            break;
        case FileAction::CreateIn:
            what = "フォルダにファイルを作成できません。";
            break;
        case FileAction::CreateFolder:
            what = "フォルダを作成できません。";
            break;
        case FileAction::Read:
            what = "ファイルを読み込めません。";
            break;
        case FileAction::Write:
            what = "ファイルに書き込めません。";
            break;
        case FileAction::Replace:
            what = "ファイルを置き換えられません。";
            break;
        case FileAction::Copy:
            what = "ファイルをコピーできません。";
            break;
        case FileAction::Rename:
            what = "名前を変更できません。";
            break;
        case FileAction::Delete:
            what = "削除できません。";
            break;
        case FileAction::Start:
            what = "プログラムを起動できません。";
            break;
        case FileAction::Lock:
            what = "ロックファイルを作成できません。";
            break;
    }
    return std::string(what) + "\n[ " + std::string(path) + " ]\n理由: " + systemReason(err);
}

}  // namespace tarnbook::platform
