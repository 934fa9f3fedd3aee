#pragma once
// Starts the program's windows on a program folder of the test's own and finds controls by name.
#include "app/windows.h"
#include "support/modalboxes.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <string>

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
StartedProgram StartProgram(const std::string& programFolder);
