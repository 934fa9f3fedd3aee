#pragma once
// The file dialogs of the windows: made on first use (a dialog watches the file system while it
// exists) and kept, so each opens where the user last looked; drivable by tests, so not native.
#include <QString>
#include <optional>
#include <string>

class QFileDialog;
class QWidget;

// Runs the dialog held in `dialog`, making it first when it is null. The picked file's path as
// raw bytes, or nothing when the user cancelled.
std::optional<std::string> PickFile(QFileDialog*& dialog, QWidget* parent, const QString& title);
