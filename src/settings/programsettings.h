#pragma once
// The one owner of the program's settings while it runs: the settings file as read at start,
// and the values the window works with (start folder, viewer, extension flags). The options
// dialog changes them here; whoever depends on them hears of it.
#include "settings/extraoptions.h"
#include "settings/settingsfile.h"

#include <QObject>
#include <string>

class ProgramSettings : public QObject {
    Q_OBJECT
public:
    explicit ProgramSettings(std::string programFolder, QObject* parent = nullptr);

    // The executable's folder: where the settings file and the help page live, and where the
    // lists go back to when a folder can't be opened.
    const std::string& ProgramFolder() const { return programFolder_; }
    void SetProgramFolder(std::string folder) { programFolder_ = std::move(folder); }

    // Reads the settings file of the program folder. Throws EFileError when it exists but
    // can't be read. True when it held settings (a known marker): the start values are then
    // those of the file.
    bool Load();
    // The file as read at start, every flag off when there was none, and its 25 lines.
    const SettingsValues& Startup() const { return startup_; }
    const SettingsLinesArray& Lines() const { return lines_; }

    const std::string& StartFolder() const { return startFolder_; }
    const std::string& ViewerPath() const { return viewerPath_; }
    void SetViewerPath(std::string path) { viewerPath_ = std::move(path); }
    bool ExtLowerCase() const { return extLowerCase_; }
    bool JpegToJpg() const { return jpegToJpg_; }
    void SetExtensionFlags(bool lowerCase, bool jpegToJpg);

    // The options kept in their own file (settings/extraoptions.h): as read at start, and
    // stored when they change. Throws EFileError when the change can't be stored.
    const ExtraOptions& LoadExtraOptions();
    void StoreExtraOptions(const ExtraOptions& next);

signals:
    // An extension flag, a value the new names depend on, changed.
    void namingChanged();

private:

    std::string programFolder_;
    SettingsValues startup_;
    SettingsLinesArray lines_;
    std::string startFolder_;
    std::string viewerPath_;
    bool extLowerCase_ = false;
    bool jpegToJpg_ = false;
    ExtraOptions extra_;
};
