#include "rename/widgets/undocontroller.h"

#include "base/errors.h"
#include "base/utf8.h"
#include "filelist/widgets/foldercontroller.h"
#include "rename/history.h"
#include "rename/historyrun.h"
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
    const std::vector<HistoryItem> items = ReadHistory(std::chrono::milliseconds(100), true);
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

HistoryStep UndoController::Step(const HistoryItem& item, bool redo)
{
    CounterDisplay counter(actlabel);
    ProgressRun progress(tell_.Parent(), redo ? QStringLiteral("やり直しています") : QStringLiteral("元に戻しています"));
    UndoHooks hooks;
    hooks.Progress = [&](int n, int t) { counter.Show(n, t); progress.Show(n - 1, t); };
    hooks.Ways = ways_;
    hooks.Repair = RunWasCut();
    hooks.ReportTaken = [this, &counter, redo](const std::string& path) {
        counter.ShowNow();
        tell_(redo ? TakenByAnother(path) : OldNameTaken(path));
    };
    const BeforeStep open = [this](const UndoRecord& r) { OpenFolderOf(r.Folder); };
    return redo ? RedoExecution(item, hooks, open) : UndoExecution(item, hooks, open);
}

std::string UndoController::ClosingText(const HistoryStep& step, bool redo)
{
    const std::size_t left = step.Run.Left.size();
    std::string text = step.Run.Stopped ? ToUtf8(StoppedText(step.Run.Done))
                       : left == 0      ? std::string(redo ? kRedone : kUndone)
                       : redo           ? NotRedone(left)
                                        : NotUndone(left);
    if (!step.Changed)
        text += "\n" + RecordNotChanged(step.RecordPath);
    return text;
}

std::string UndoController::UndoOne(const HistoryItem& item, bool& whole)
{
    const HistoryStep step = Step(item, false);
    whole = step.Found && step.Run.Left.empty() && !step.Run.Stopped;
    return step.Found ? ClosingText(step, false) : std::string();
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
        const std::vector<HistoryItem> items = ReadHistory(platform::StateLock::kWait, true);
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
    const std::vector<HistoryItem> items = ReadHistory(platform::StateLock::kWait, true);
    const std::optional<std::size_t> next = NextToRedo(items);
    if (!next)
        return Refresh();
    const HistoryStep step = Step(items[*next], true);
    if (!step.Found)
        return Refresh();
    Finish(ClosingText(step, true));
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
