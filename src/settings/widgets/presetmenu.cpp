#include "settings/widgets/presetmenu.h"

#include "base/utf8.h"
#include "settings/presettexts.h"
#include "ui/guard.h"
#include "ui/messages.h"

#include <QAction>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QScopeGuard>

namespace {
QString Question(const std::string& name, const char* end)
{
    return FromUtf8(kPresetQuestionStart) + QString::fromStdString(name) + FromUtf8(end);
}
} // namespace

PresetMenu::PresetMenu(PresetControls controls, QWidget* window, RenameInputs& inputs, PresetList& presets,
                       std::function<void(const RenameInputValues&)> apply)
    : QObject(controls.Presets1), c_(controls), window_(window), inputs_(inputs), presets_(presets),
      apply_(std::move(apply))
{
    // Save, a separator, the presets, a separator, the delete submenu.
    c_.Presets1->addAction(c_.PresetSave1);
    c_.Presets1->addSeparator();
    lastSeparator_ = c_.Presets1->addSeparator();
    c_.Presets1->addMenu(c_.PresetDelete1);
}

void PresetMenu::Load()
{
    presets_.Load();
    ListPresets();
}

void PresetMenu::ListPresets()
{
    // An entry may be the one whose handler runs now: it goes once that is over.
    for (QMenu* menu : {c_.Presets1, c_.PresetDelete1})
        for (QAction* old : menu->actions())
            if (old->property("preset").isValid()) {
                menu->removeAction(old);
                old->deleteLater();
            }
    for (const Preset& p : presets_.All()) {
        const QString text = QString::fromStdString(p.Name);
        // No "&" of a name becomes a shortcut.
        QString shown = text;
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* apply = new QAction(shown, c_.Presets1);
        apply->setProperty("preset", text);
        c_.Presets1->insertAction(lastSeparator_, apply);
        auto* remove = new QAction(shown, c_.PresetDelete1);
        remove->setProperty("preset", text);
        c_.PresetDelete1->addAction(remove);
        const std::string name = p.Name;
        connect(apply, &QAction::triggered, this, [this, name] { Guarded(window_, [&] { PresetClick(name); }); });
        connect(remove, &QAction::triggered, this,
                [this, name] { Guarded(window_, [&] { PresetDeleteClick(name); }); });
    }
    c_.PresetDelete1->setEnabled(!presets_.All().empty());
}

void PresetMenu::PresetSave1Click()
{
    QInputDialog ask(window_);
    ask.setObjectName(QStringLiteral("PresetName"));
    ask.setWindowTitle(QStringLiteral("Pelkorin"));
    ask.setInputMode(QInputDialog::TextInput);
    ask.setLabelText(FromUtf8(kPresetNameLabel));
    if (auto* edit = ask.findChild<QLineEdit*>())
        edit->setMaxLength(64);
    if (ask.exec() != QDialog::Accepted)
        return;
    const std::optional<std::string> name = PresetNameOf(ToUtf8(ask.textValue()));
    if (!name)
        return;
    if (presets_.Find(*name) &&
        !AskYesNo(window_, QStringLiteral("Pelkorin"), Question(*name, kPresetOverwriteEnd), false))
        return;
    // The list shows the preset even when the file can't take it.
    const auto listed = qScopeGuard([this] { ListPresets(); });
    presets_.Save(*name, inputs_.Values());
}

void PresetMenu::PresetClick(const std::string& name)
{
    if (const Preset* p = presets_.Find(name))
        apply_(p->Values);
}

void PresetMenu::PresetDeleteClick(const std::string& name)
{
    if (!presets_.Find(name) ||
        !AskYesNo(window_, QStringLiteral("Pelkorin"), Question(name, kPresetDeleteEnd), false))
        return;
    const auto listed = qScopeGuard([this] { ListPresets(); });
    presets_.Remove(name);
}
