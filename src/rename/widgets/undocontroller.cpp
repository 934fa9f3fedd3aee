#include "rename/widgets/undocontroller.h"

#include "base/errors.h"
#include "base/utf8.h"
#include "filelist/widgets/foldercontroller.h"
#include "rename/history.h"
#include "rename/renametexts.h"
#include "rename/undo.h"
#include "ui/counterdisplay.h"
#include "ui/displaytext.h"
#include "ui/progressrun.h"

#include <QAction>
#include <QLabel>

#include <cerrno>

UndoController::UndoController(QAction* undo1, QAction* redo1, QLabel* label, ListState& list,
                               FolderController& folders, Teller tell, platform::RenameWays ways)
    : QObject(undo1), Undo1(undo1), Redo1(redo1), actlabel(label), list_(list), folders_(folders),
      tell_(std::move(tell)), ways_(std::move(ways))
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
    const std::vector<HistoryItem> items = ReadHistory(std::chrono::milliseconds(100));
    Undo1->setEnabled(NextToUndo(items).has_value());
    Redo1->setEnabled(NextToRedo(items).has_value());
}

void UndoController::AfterExecution(bool recordHoldsRun)
{
    if (!recordHoldsRun)
        return Refresh();
    Undo1->setEnabled(true);
    Redo1->setEnabled(false);
}

void UndoController::OpenFolderOf(const std::string& folder)
{
    folders_.Open(folder);
    // A folder that opened as the program's own instead keeps the record too.
    if (list_.Folder() != folder)
        throw EFileError(FileErrorMessage("フォルダを開けません", folder, ENOENT));
    list_.ClearTrial();
}

void UndoController::Finish(const std::string& text)
{
    Refresh();
    tell_(text);
    folders_.ReadListing();
    list_.ClearTrial();
}

std::string UndoController::UndoOne(HistoryItem item, bool& whole)
{
    whole = false;
    const std::optional<UndoRecord> record = LoadHistoryRecord(item);
    if (!record) {
        SetAsideDamaged(item);
        return {};
    }
    // A folder made in place of the execution's keeps the record for another try.
    CheckUndoFolder(*record);
    OpenFolderOf(record->Folder);
    UndoOutcome outcome;
    {
        CounterDisplay counter(actlabel);
        ProgressRun progress(tell_.Parent(), QStringLiteral("元に戻しています"));
        UndoHooks hooks;
        hooks.Progress = [&](int n, int t) { counter.Show(n, t); progress.Show(n - 1, t); };
        hooks.Ways = ways_;
        hooks.Repair = RunWasCut();
        MarkRunStarted();
        hooks.ReportTaken = [this, &counter](const std::string& oldPath) {
            counter.ShowNow();
            tell_(OldNameTaken(oldPath));
        };
        outcome = UndoRenames(*record, hooks);
    }
    // The record keeps what is still to be done, what came back waits for a redo. One that
    // can't be changed is said so; taken back all the way, it is never offered again for an
    // undo that would do nothing.
    std::vector<UndoEntry> back = std::move(outcome.Back);
    if (item.Redoable)
        if (const std::optional<UndoRecord> before = LoadHistoryBack(item))
            back.insert(back.end(), before->Entries.begin(), before->Entries.end());
    const std::size_t left = outcome.Left.size();
    UndoRecord kept = *record;
    kept.Entries = std::move(outcome.Left);
    const TakenBack state = left == 0 ? TakenBack::Wholly
                            : outcome.Restored > 0 ? TakenBack::Partly
                                                   : item.State;
    const bool changed = UpdateHistory(item, kept, std::move(back), state);
    if (left == 0 && !changed)
        MarkHistorySpent(item);
    if (left == 0)
        MarkRunEnded();
    std::string text = outcome.Stopped ? ToUtf8(StoppedText(outcome.Done))
                       : left == 0     ? std::string(kUndone)
                                       : NotUndone(left);
    if (!changed)
        text += "\n" + RecordNotChanged(HistoryRecordPath(item));
    whole = left == 0 && !outcome.Stopped;
    return text;
}

void UndoController::Undo1Click()
{
    // Held for the whole undo, so no other program's execution comes between its steps.
    const platform::StateLock lock = LockRecords();
    if (lock.busy()) {
        tell_(std::string(kRecordBusy));
        return;
    }
    // A record found damaged is set aside: the next one is the one to take back.
    std::string text;
    for (;;) {
        const std::vector<HistoryItem> items = ReadHistory();
        const std::optional<std::size_t> next = NextToUndo(items);
        if (!next)
            return Refresh();
        bool whole = false;
        text = UndoOne(items[*next], whole);
        if (!text.empty())
            break;
    }
    Finish(text);
}

void UndoController::UndoDownTo(int row)
{
    const platform::StateLock lock = LockRecords();
    if (lock.busy()) {
        tell_(std::string(kRecordBusy));
        return;
    }
    const std::vector<HistoryItem> items = ReadHistory();
    if (row < 0 || static_cast<std::size_t>(row) >= items.size())
        return;
    std::string text;
    for (std::size_t i : ::UndoDownTo(items, static_cast<std::size_t>(row))) {
        bool whole = false;
        const std::string said = UndoOne(items[i], whole);
        if (!said.empty())
            text = said;
        if (!said.empty() && !whole)
            break;
    }
    if (!text.empty())
        Finish(text);
    else
        Refresh();
}

void UndoController::Redo1Click()
{
    const platform::StateLock lock = LockRecords();
    if (lock.busy()) {
        tell_(std::string(kRecordBusy));
        return;
    }
    const std::vector<HistoryItem> items = ReadHistory();
    const std::optional<std::size_t> next = NextToRedo(items);
    const std::optional<UndoRecord> back = next ? LoadHistoryBack(items[*next]) : std::nullopt;
    if (!back)
        return Refresh();
    HistoryItem item = items[*next];
    CheckUndoFolder(*back);
    OpenFolderOf(back->Folder);
    UndoOutcome outcome;
    {
        CounterDisplay counter(actlabel);
        ProgressRun progress(tell_.Parent(), QStringLiteral("やり直しています"));
        UndoHooks hooks;
        hooks.Progress = [&](int n, int t) { counter.Show(n, t); progress.Show(n - 1, t); };
        hooks.Ways = ways_;
        hooks.Repair = RunWasCut();
        MarkRunStarted();
        hooks.ReportTaken = [this, &counter](const std::string& newPath) {
            counter.ShowNow();
            tell_(TakenByAnother(newPath));
        };
        outcome = RedoRenames(*back, hooks);
    }
    // The files renamed again join the entries still to take back, after them: the order in
    // which the execution renamed them.
    std::optional<UndoRecord> record = LoadHistoryRecord(item);
    if (!record) {
        record = *back;
        record->Entries.clear();
    }
    const std::size_t left = outcome.Left.size();
    const TakenBack state = outcome.Back.empty() ? item.State : left == 0 ? TakenBack::No : TakenBack::Partly;
    record->Entries.insert(record->Entries.end(), outcome.Back.begin(), outcome.Back.end());
    const bool changed = UpdateHistory(item, *record, std::move(outcome.Left), state);
    if (left == 0)
        MarkRunEnded();
    std::string text = outcome.Stopped ? ToUtf8(StoppedText(outcome.Done))
                       : left == 0     ? std::string(kRedone)
                                       : NotRedone(left);
    if (!changed)
        text += "\n" + RecordNotChanged(HistoryRecordPath(item));
    Finish(text);
}

QStringList UndoController::HistoryRows()
{
    QStringList rows;
    for (const HistoryItem& item : ReadHistory(std::chrono::milliseconds(100)))
        rows << HistoryRowText(item, DisplayText(item.Folder));
    return rows;
}

bool UndoController::GoOnWithoutUndoRecord(RecordSave saved)
{
    if (saved == RecordSave::Busy) {
        tell_(std::string(kRecordBusy));
        return false;
    }
    QString text = FromUtf8(kNoRecordQuestion);
    if (saved == RecordSave::UnwrittenOldRemains)
        text += FromUtf8(kOldRecordRemains).arg(FromUtf8(HistoryFolder()));
    text += FromUtf8(kGoOnQuestion);
    return AskYesNo(tell_.Parent(), QStringLiteral("Pelkorin"), text, false);
}
