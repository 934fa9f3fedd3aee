#pragma once
// Names as a disk that folds letter case compares them.
#include <string>
#include <string_view>

// Each character of the Basic Multilingual Plane to its simple case fold, so that Ä and ä,
// Ｋ and ｋ give one name as they do on exFAT (whose up-case table reaches no further: other
// characters stay as they are). A name that is not UTF-8 folds A to Z only, its other bytes
// being no characters.
std::string FoldedCase(std::string_view name);
