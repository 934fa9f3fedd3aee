#pragma once
// The program's windows, created once in their order.
#include "app/mainwindow.h"

#include <memory>
#include <string>

struct Windows {
    std::unique_ptr<TMain> Main;
};

// Creates the windows in the program's order; programFolder is the executable's folder.
Windows CreateWindows(const std::string& programFolder);
