#pragma once
// The main window as the dialogs see it: what they place themselves by and the folder "登録"
// opens. The settings the options dialog finds in their owner (settings/programsettings.h),
// the main check boxes and digit count in the rename inputs (rename/renameinputs.h); the
// dialogs know nothing else of the main window.
#include <string>

class QWidget;
class FolderNavigation;

class OptionsHost {
public:
    // The window the dialogs place themselves by and the track bars move.
    virtual QWidget* HostWindow() = 0;
    // The folder the main folder list shows.
    virtual std::string ShownFolder() const = 0;
    // The volumes and the folder last visited on each: one memory for every window.
    virtual FolderNavigation& Folders() = 0;
    // Opens a folder in the main folder list and its volume in the drive list; an empty
    // path changes nothing. Throws EFileError when the folder can't be entered.
    virtual void OpenSavedFolder(const std::string& path) = 0;

protected:
    ~OptionsHost() = default;
};
