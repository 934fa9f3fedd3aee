#pragma once
// The words of the presets: the menu, the name asked for and the two questions.
inline constexpr char kPresetsMenu[] = "プリセット(&P)";
inline constexpr char kPresetSaveAction[] = "現在の設定を保存(&S)...";
inline constexpr char kPresetDeleteMenu[] = "プリセットを削除(&D)";
inline constexpr char kPresetNameLabel[] = "プリセットの名前:";
inline constexpr char kPresetQuestionStart[] = "プリセット「";
inline constexpr char kPresetOverwriteEnd[] = "」を上書きしますか？";
inline constexpr char kPresetDeleteEnd[] = "」を削除しますか？";
