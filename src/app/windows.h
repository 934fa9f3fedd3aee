#pragma once
// The program's windows, created once in their order.
#include "app/mainwindow.h"
#include "app/services.h"
#include "dialogs/aboutbox.h"
#include "dialogs/folderchooser.h"
#include "dialogs/historywindow.h"
#include "settings/widgets/optionsdialog.h"

#include <memory>
#include <string>

struct Windows {
    std::unique_ptr<TMain> Main;
    std::unique_ptr<TAbout> About;
    std::unique_ptr<TOpenfolda> Openfolda;
    std::unique_ptr<TOption> Option;
    std::unique_ptr<THistory> History;
};

// Creates the windows in the program's order; programFolder is the executable's folder.
Windows CreateWindows(const std::string& programFolder);
// The same with the services the windows reach outside through (tests hand in fakes).
Windows CreateWindows(const std::string& programFolder, AppServices services);
// The same, opening folder (the command line's, absolute raw bytes) in Dir1 at start instead
// of the settings' start folder, which stays as the settings name it; empty opens as above.
Windows CreateWindows(const std::string& programFolder, AppServices services,
                      const std::string& folder);
