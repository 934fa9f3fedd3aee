#include "rename/widgets/undocontroller.h"

#include "base/errors.h"
#include "base/utf8.h"
#include "filelist/widgets/foldercontroller.h"
#include "rename/renametexts.h"
#include "rename/undo.h"
#include "ui/counterdisplay.h"
#include "ui/progressrun.h"

#include <QAction>
#include <QLabel>

#include <cerrno>

UndoController::UndoController(QAction* undo1, QLabel* label, ListState& list, FolderController& folders,
                               Teller tell, platform::RenameWays ways)
    : QObject(undo1), Undo1(undo1), actlabel(label), list_(list), folders_(folders), tell_(std::move(tell)),
      ways_(std::move(ways))
{
}

void UndoController::StartUp()
{
    RepairCutRunAtStart();
    Refresh();
}

void UndoController::Refresh()
{
    // Never more than a moment: a program that holds the lock must not hold up the window.
    Undo1->setEnabled(LoadUndoRecord(nullptr, std::chrono::milliseconds(100)).has_value());
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
    // Held for the whole undo, so no other program's execution comes between its steps.
    const platform::StateLock lock = LockRecords();
    if (lock.busy()) {
        tell_(std::string(kRecordBusy));
        return;
    }
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
        ProgressRun progress(tell_.Parent(), QStringLiteral("元に戻しています"));
        hooks.Progress = [&](int n, int t) { counter.Show(n, t); progress.Show(n - 1, t); };
        hooks.Ways = ways_;
        hooks.Repair = RunWasCut();
        MarkRunStarted();
        hooks.ReportTaken = [this, &counter](const std::string& oldPath) {
            counter.ShowNow();
            tell_(OldNameTaken(oldPath));
        };
        try {
            outcome = UndoRenames(*record, hooks);
        } catch (const RunStopped& stop) {
            // The record stays whole: the files already back under their old names are passed
            // over by the next undo, which takes back the rest.
            Refresh();
            tell_(StoppedText(stop.Done));
            folders_.ReadListing();
            list_.ClearTrial();
            return;
        }
    }
    // The record keeps what is still to be done. One that can't be changed is said so; taken
    // back all the way, it is never offered again for an undo that would do nothing.
    const std::size_t left = outcome.Left.size();
    bool changed = true;
    if (left == 0) {
        changed = ReplaceUndoRecord(bytes, std::nullopt);
        if (!changed)
            MarkRecordSpent(bytes);
        MarkRunEnded();
    } else {
        UndoRecord kept = *record;
        kept.Entries = std::move(outcome.Left);
        changed = ReplaceUndoRecord(bytes, kept);
    }
    Refresh();
    std::string text = left == 0 ? std::string(kUndone) : NotUndone(left);
    if (!changed)
        text += "\n" + RecordNotChanged(UndoRecordPath());
    tell_(text);
    folders_.ReadListing();
    list_.ClearTrial();
}

bool UndoController::GoOnWithoutUndoRecord(RecordSave saved)
{
    if (saved == RecordSave::Busy) {
        tell_(std::string(kRecordBusy));
        return false;
    }
    QString text = FromUtf8(kNoRecordQuestion);
    if (saved == RecordSave::UnwrittenOldRemains)
        text += FromUtf8(kOldRecordRemains).arg(FromUtf8(UndoRecordPath()));
    text += FromUtf8(kGoOnQuestion);
    return AskYesNo(tell_.Parent(), QStringLiteral("Pelkorin"), text, false);
}
