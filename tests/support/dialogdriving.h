#pragma once
// Helpers for driving the program's dialogs in window tests: opening the options dialog,
// using the folder chooser and the file dialog, and the settings file the dialog writes.
#include "base/utf8.h"
#include "support/mainwindowfixture.h"
#include "support/modalsteps.h"

#include <QString>
#include <map>
#include <string>

// Opens the options dialog from the menu and runs the steps while it and its boxes are open.
ModalRun WithOptions(TMain* main, std::vector<ModalStep> steps);

// A step acting on the options dialog.
ModalStep OptionStep(std::function<void(QWidget*)> act);

// Double-clicks the row of a folder list that stands for folder (raw bytes), as a user opens it.
void OpenFolderRow(QWidget* window, const char* list, const std::string& folder);
// Clicks the row once: it is highlighted, not opened.
void HighlightFolderRow(QWidget* window, const char* list, const std::string& folder);

// Steps that open the folder chooser from the options dialog and leave it by "選択" on
// folder (opened first), by "キャンセル" (empty folder) or by its close box (null folder).
std::vector<ModalStep> ChooseStartFolder(const std::string* folder, bool cancel = false);

// Steps that press "設定" on the viewer page and pick file in the file dialog, or cancel it
// when file is empty; seenTitle receives the dialog's caption.
std::vector<ModalStep> PickViewer(const std::string& file, QString* seenTitle = nullptr);

// The settings file as "登録" writes it: marker, Shift-JIS headers, values (by line number)
// over those of a fresh start without a settings file, CR LF after every line.
std::string ExpectedSettingsFile(const std::map<int, std::string>& values);

// A settings file of the same form, for start-up.
inline std::string SettingsFileWith(const std::map<int, std::string>& values)
{
    return ExpectedSettingsFile(values);
}
