#pragma once
// Every failure Pelkorin reports derives from PelkorinError; the error box shows what().
#include <stdexcept>
#include <string>

class PelkorinError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file or folder operation failed; the message names the path and the reason.
class EFileError : public PelkorinError {
public:
    using PelkorinError::PelkorinError;
};

// A row number outside a list: "ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています (<index>)".
class EListIndexError : public PelkorinError {
public:
    explicit EListIndexError(long long index);
};

// "<action> '<path>': <reason>", the reason in Japanese for the errno values users meet.
std::string FileErrorMessage(const std::string& action, const std::string& path, int errorNumber);
