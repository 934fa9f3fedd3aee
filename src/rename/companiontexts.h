#pragma once
// The words of the companion option: its menu entry and the tip of a trial row whose file
// stays because a file renamed with it can't be (Foresight::CompanionBlocked).

inline constexpr char kCompanionsAction[] = "関連ﾌｧｲﾙも変更(&R)";
inline constexpr char kCompanionBlockedTip[] = "関連ﾌｧｲﾙを変更できないため変更しません";
