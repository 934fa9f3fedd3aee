#pragma once
// A real temporary folder, removed with everything in it at the end of the test, and the one
// way tests read a file back.
#include <QTemporaryDir>
#include <ctime>
#include <string>
#include <vector>

// The whole content of a file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);

class TempFolder {
public:
    TempFolder();
    // A temporary folder inside parent rather than the system's temporary folder.
    explicit TempFolder(const std::string& parent);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // path + "/" + relative
    std::string operator/(const std::string& relative) const;
    // Creates (or replaces) a file with the given content; name may hold raw bytes.
    // Returns the file's path.
    std::string Write(const std::string& name, const std::string& content = {}) const;
    // Sets a file's modification time; false when the file system refuses it.
    bool Touch(const std::string& name, std::time_t modified) const;
    void MakeFolder(const std::string& name) const;
    std::string Read(const std::string& name) const;
    // True when the name exists, a dangling symbolic link included.
    bool Exists(const std::string& name) const;
    // The names of the files (not folders) directly in the folder, sorted by bytes.
    std::vector<std::string> Files() const;

private:
    QTemporaryDir dir_;
    std::string path_;
};
