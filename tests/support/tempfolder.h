#pragma once
// A real temporary folder, removed with everything in it at the end of the test.
#include <string>
#include <vector>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // path + "/" + relative
    std::string operator/(const std::string& relative) const;
    // Creates (or replaces) a file with the given content; name may hold raw bytes.
    void Write(const std::string& name, const std::string& content = {}) const;
    void MakeFolder(const std::string& name) const;
    std::string Read(const std::string& name) const;
    bool Exists(const std::string& name) const;
    // The names of the files (not folders) directly in the folder, sorted by bytes.
    std::vector<std::string> Files() const;

private:
    std::string path_;
};
