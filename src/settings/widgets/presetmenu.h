#pragma once
// The presets submenu: saving the rename inputs under a name, applying a saved preset and
// deleting one, each with its question. The list itself is settings/presets.h's.
#include "rename/renameinputs.h"
#include "settings/presets.h"

#include <QObject>
#include <functional>
#include <string>

class QAction;
class QMenu;
class QWidget;

struct PresetControls {
    QMenu* Presets1;
    QAction* PresetSave1;
    QMenu* PresetDelete1;
};

class PresetMenu : public QObject {
    Q_OBJECT
public:
    // apply sets every input as a preset holds it (and stores what is kept across starts);
    // it may throw, inside the guard of the entry chosen.
    PresetMenu(PresetControls controls, QWidget* window, RenameInputs& inputs, PresetList& presets,
               std::function<void(const RenameInputValues&)> apply);

    // Reads the presets file and lists its presets.
    void Load();

    // Handlers.
    void PresetSave1Click();
    void PresetClick(const std::string& name);
    void PresetDeleteClick(const std::string& name);

private:
    // The entries after the change: one per preset in both menus.
    void ListPresets();

    PresetControls c_;
    QWidget* window_;
    RenameInputs& inputs_;
    PresetList& presets_;
    std::function<void(const RenameInputValues&)> apply_;
    QAction* lastSeparator_ = nullptr;
};
