// The main dialog's message texts (see dialog_messages.h). The Japanese texts
// are written as their code page 932 bytes, with the text in the comment.
#include "app/dialog_messages.h"

#include <cerrno>

const char kMessageCaption[] = "ERROR";

// "カメラからの映像が止まりました。最後の画像を表示しています。"
// The picture from the camera has stopped. The last picture is shown.
const char kCameraStoppedText[] =
    "\x83\x4a\x83\x81\x83\x89\x82\xa9\x82\xe7\x82\xcc\x89\x66\x91\x9c\x82\xaa\x8e\x7e\x82\xdc\x82"
    "\xe8\x82\xdc\x82\xb5\x82\xbd\x81\x42\x8d\xc5\x8c\xe3\x82\xcc\x89\xe6\x91\x9c\x82\xf0\x95\x5c"
    "\x8e\xa6\x82\xb5\x82\xc4\x82\xa2\x82\xdc\x82\xb7\x81\x42";

namespace {

// "スナップショットを保存できませんでした。": the snapshot could not be saved.
const char kSnapshotNotSaved[] =
    "\x83\x58\x83\x69\x83\x62\x83\x76\x83\x56\x83\x87\x83\x62\x83\x67\x82\xf0\x95\xdb\x91\xb6\x82"
    "\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42";

// The reason, in the user's words rather than the system's.
std::string Reason(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            // "書き込みが許可されていません": writing is not permitted.
            return "\x8f\x91\x82\xab\x8d\x9e\x82\xdd\x82\xaa\x8b\x96\x89\xc2\x82\xb3\x82\xea\x82"
                   "\xc4\x82\xa2\x82\xdc\x82\xb9\x82\xf1";
        case EROFS:
            // "読み取り専用の場所です": the place is read-only.
            return "\x93\xc7\x82\xdd\x8e\xe6\x82\xe8\x90\xea\x97\x70\x82\xcc\x8f\xea\x8f\x8a\x82"
                   "\xc5\x82\xb7";
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            // "ディスクに空きがありません": the disk is full.
            return "\x83\x66\x83\x42\x83\x58\x83\x4e\x82\xc9\x8b\xf3\x82\xab\x82\xaa\x82\xa0\x82"
                   "\xe8\x82\xdc\x82\xb9\x82\xf1";
        case ENAMETOOLONG:
            // "名前が長すぎます": the name is too long.
            return "\x96\xbc\x91\x4f\x82\xaa\x92\xb7\x82\xb7\x82\xac\x82\xdc\x82\xb7";
        case ENOENT:
        case ENOTDIR:
            // "フォルダがありません": the folder does not exist.
            return "\x83\x74\x83\x48\x83\x8b\x83\x5f\x82\xaa\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82"
                   "\xf1";
        case EISDIR:
            // "同じ名前のフォルダがあります": a folder has that name.
            return "\x93\xaf\x82\xb6\x96\xbc\x91\x4f\x82\xcc\x83\x74\x83\x48\x83\x8b\x83\x5f\x82"
                   "\xaa\x82\xa0\x82\xe8\x82\xdc\x82\xb7";
        default:
            // "書き込みエラー (errno N)": a write error, by its number.
            return "\x8f\x91\x82\xab\x8d\x9e\x82\xdd\x83\x47\x83\x89\x81\x5b (errno " +
                   std::to_string(error) + ")";
    }
}

}  // namespace

std::string SnapshotNotSavedText(const std::string& name, int error) {
    return std::string(kSnapshotNotSaved) + "\n" + name + "\n" + Reason(error);
}
