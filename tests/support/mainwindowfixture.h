#pragma once
// Starts the program's windows on a program folder of the test's own and finds controls by name.
#include "app/windows.h"
#include "support/modalboxes.h"
#include "support/tempfolder.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

template <typename T = QWidget>
T* Find(QObject* root, const char* name)
{
    T* w = root->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << "no control named " << name;
    return w;
}

class NameListView;
// The rows of a name list as the raw name bytes they stand for.
std::vector<std::string> RowBytes(NameListView* list);

// Creates the windows as the program does, answering the boxes start-up shows, and shows Main.
struct StartedProgram {
    Windows windows;
    std::vector<SeenBox> startupBoxes;
    TMain* main() const { return windows.Main.get(); }
};
StartedProgram StartProgram(const std::string& programFolder, AppServices services = {});
// The real services, but with the given volumes as the drive list.
AppServices OnVolumes(std::vector<platform::Volume> volumes);

// The program started with <temp>/work as its own folder, so it opens that folder at start,
// holding the given files (raw-byte names) and folders; the temporary folder around it shows
// whether anything left the folder.
class ProgramInWork {
public:
    explicit ProgramInWork(const std::vector<std::pair<std::string, std::string>>& files,
                           const std::vector<std::string>& folders = {});
    std::string work() const { return root_ / "work"; }
    const TempFolder& root() const { return root_; }
    TMain* m() const { return p_.main(); }
    NameListView* list(const char* name) const;
    // The counter label's text.
    QString counter() const;
    // The names in the work folder, files and folders, sorted by bytes.
    std::vector<std::string> OnDisk() const;

    // What a user does, each answering the boxes it brings up with their default button.
    std::vector<SeenBox> Press(const char* button) const;
    std::vector<SeenBox> Trigger(const char* entry) const;
    // Selects exactly these rows (or the rows of these names) of the list of current names.
    void SelectRows(const std::vector<int>& rows) const;
    void SelectNames(const std::vector<std::string>& names) const;
    int RowOf(const std::string& name) const;

private:
    TempFolder root_;
    StartedProgram p_;
};
