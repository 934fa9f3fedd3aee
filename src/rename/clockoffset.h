#pragma once
// The correction of a camera clock that was wrong or on another zone's time, as the user
// types it: "+H:MM:SS" or "-H:MM:SS".
#include <cstdint>
#include <optional>
#include <string_view>
#include <string>

// What the question asks for.
inline constexpr char kClockOffsetLabel[] = "カメラの時計に足す時間 (+H:MM:SS または -H:MM:SS):";
// The box of a text in another form.
inline constexpr std::string_view kClockOffsetFormText = "時刻の補正は +9:00:00 のように入力してください";

// Seconds of "+H:MM:SS" or "-H:MM:SS" (H 0 to 9999, minutes and seconds two digits below 60);
// nullopt for any other text, spaces included.
std::optional<int64_t> ParseClockOffset(std::string_view text);
// The text ParseClockOffset reads back: "+0:00:00" for none.
std::string ClockOffsetText(int64_t seconds);
