#pragma once
// What a handler that works on the selected files says when none is selected: the trial run,
// the execution and deleting all say the same words.

inline constexpr char kNothingSelected[] = "ファイルが選択されていません。";
