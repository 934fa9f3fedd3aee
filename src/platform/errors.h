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

// Builds "<what>「<path>」<reason>" style messages from an errno value.
std::string FileErrorMessage(const std::string& action, const std::string& path, int errorNumber);
