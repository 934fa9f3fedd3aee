#pragma once
// What the delete handler asks before it deletes. The words stay beside the window that shows
// them; the deletion itself (filelist/deletion.h) says nothing to the user.
#include <string>

// "選択された" + count in plain decimal + "個のファイルを削除します。"
inline std::string DeleteQuestion(int count)
{
    return "選択された" + std::to_string(count) + "個のファイルを削除します。";
}
