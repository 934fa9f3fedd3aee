#pragma once
// What the trial run, the execution and the undo say to the user, in one place.
#include <string>

inline constexpr char kTrialDone[] = "　　　　　仮実行終了　　　　\r　確認後　実行してください　";
// The informative line under kTrialDone when rows are red: the count goes in for %1.
inline constexpr char kRowsLeftAlone[] = "赤字の%1個のファイルは変更できません";
// Tooltips of trial rows: a taken name (after the full path), a refused one, stale rows.
inline constexpr char kTakenTip[] = "は存在するため変更できません";
inline constexpr char kRefusedTip[] = "この名前には変更できません";
inline constexpr char kTrialStale[] = "仮実行の後で変更されています";

// The menu entry that makes textvol a pattern of the capture time.
inline constexpr char kCaptureNameAction[] = "撮影日時を名前に使う(&T)";
// The entries of the day counter and the camera clock's correction.
inline constexpr char kDayCounterAction[] = "日付ごとに連番(&D)";
inline constexpr char kClockOffsetAction[] = "撮影時刻の補正(&C)...";

inline constexpr char kExecutionDone[] = "　　　実行処理が終了しました　　　　";
inline std::string TakenByAnother(const std::string& newPath)
{
    return newPath + "は存在するため変更できませんでした";
}

inline constexpr char kUndone[] = "元に戻しました";
inline std::string NotUndone(std::size_t count)
{
    return std::to_string(count) + "個のファイルを元に戻せませんでした";
}
inline constexpr char kRedone[] = "やり直しました";
inline std::string NotRedone(std::size_t count)
{
    return std::to_string(count) + "個のファイルをやり直せませんでした";
}
// The menu entries of the history.
inline constexpr char kRedoAction[] = "やり直す(&R)";
inline constexpr char kHistoryAction[] = "実行の履歴(&H)...";
// Another program (one stopped, say) holds the records' lock: nothing is renamed.
inline constexpr char kRecordBusy[] = "別のプログラムが実行の記録を使っています";
// Added on a line of its own to the closing box of an undo whose record can't be changed.
inline std::string RecordNotChanged(const std::string& path)
{
    return "実行の記録を書き換えられません: " + path;
}
inline std::string OldNameTaken(const std::string& oldPath)
{
    return oldPath + "は存在するため元に戻せませんでした";
}
// The question before an execution whose undo record can't be written; the path of an older
// record that can't be removed goes in for %1 of the second line, shown only then.
inline constexpr char kNoRecordQuestion[] =
    "元に戻すための記録を書けません。このまま実行すると、元に戻すことはできません。";
inline constexpr char kOldRecordRemains[] =
    "\n前の実行の記録 %1 は消せないため残りますが、このプログラムでは使いません。"
    "次に起動する前に消してください。";
inline constexpr char kGoOnQuestion[] = "\n実行しますか？";
