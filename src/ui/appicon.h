#pragma once
#include <QIcon>

// The program's icon, shared by all its windows.
QIcon ProgramIcon();
