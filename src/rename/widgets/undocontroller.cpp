#include "rename/widgets/undocontroller.h"

#include "base/errors.h"
#include "base/utf8.h"
#include "filelist/widgets/foldercontroller.h"
#include "rename/renametexts.h"
#include "rename/undo.h"
#include "ui/counterdisplay.h"

#include <QAction>
#include <QLabel>

#include <cerrno>

UndoController::UndoController(QAction* undo1, QLabel* label, ListState& list, FolderController& folders,
                               Teller tell, platform::RenameWays ways)
    : QObject(undo1), Undo1(undo1), actlabel(label), list_(list), folders_(folders), tell_(std::move(tell)),
      ways_(std::move(ways))
{
}

void UndoController::Refresh()
{
    Undo1->setEnabled(LoadUndoRecord().has_value());
}

void UndoController::AfterExecution(bool recordHoldsRun)
{
    if (recordHoldsRun)
        Undo1->setEnabled(true);
    else
        Refresh();
}

void UndoController::Undo1Click()
{
    std::string bytes;
    const std::optional<UndoRecord> record = LoadUndoRecord(&bytes);
    Undo1->setEnabled(record.has_value());
    if (!record)
        return;
    // A folder made in place of the execution's keeps the record for another try.
    CheckUndoFolder(*record);
    folders_.Open(record->Folder);
    // A folder that opened as the program's own instead keeps the record too.
    if (list_.Folder() != record->Folder)
        throw EFileError(FileErrorMessage("フォルダを開けません", record->Folder, ENOENT));
    list_.ClearTrial();
    UndoOutcome outcome;
    {
        CounterDisplay counter(actlabel);
        UndoHooks hooks;
        hooks.Progress = [&](int n, int t) { counter.Show(n, t); };
        hooks.Ways = ways_;
        hooks.ReportTaken = [this, &counter](const std::string& oldPath) {
            counter.ShowNow();
            tell_(OldNameTaken(oldPath));
        };
        outcome = UndoRenames(*record, hooks);
    }
    // The record keeps what is still to be done, unless another program wrote its own since.
    const std::size_t left = outcome.Left.size();
    if (left == 0) {
        ReplaceUndoRecord(bytes, std::nullopt);
        Refresh();
        tell_(std::string(kUndone));
    } else {
        UndoRecord kept = *record;
        kept.Entries = std::move(outcome.Left);
        ReplaceUndoRecord(bytes, kept);
        Undo1->setEnabled(true);
        tell_(NotUndone(left));
    }
    folders_.ReadListing();
    list_.ClearTrial();
}

bool UndoController::GoOnWithoutUndoRecord(RecordSave saved)
{
    QString text = FromUtf8(kNoRecordQuestion);
    if (saved == RecordSave::UnwrittenOldRemains)
        text += FromUtf8(kOldRecordRemains).arg(FromUtf8(UndoRecordPath()));
    text += FromUtf8(kGoOnQuestion);
    return AskYesNo(tell_.Parent(), QStringLiteral("Pelkorin"), text, false);
}
