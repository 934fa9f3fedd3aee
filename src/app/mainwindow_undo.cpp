// The way back from the last execution (Undo1).
#include "app/mainwindow.h"

#include "app/counterdisplay.h"
#include "base/errors.h"
#include "filelist/widgets/folderlistview.h"
#include "filelist/widgets/namelistview.h"
#include "rename/undo.h"
#include "ui/messages.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>

#include <cerrno>

void TMain::Undo1Click()
{
    const std::optional<UndoRecord> record = LoadUndoRecord();
    Undo1->setEnabled(record.has_value());
    if (!record)
        return;
    SwitchFolder(record->Folder);
    SetDriveOf(Dir1->folder());
    // A folder that opened as the program's own instead keeps the record for another try.
    if (Dir1->folder() != record->Folder)
        throw EFileError(FileErrorMessage("フォルダを開けません", record->Folder, ENOENT));
    NewFile->names()->clear();
    {
        CounterDisplay counter(actlabel);
        UndoHooks hooks;
        hooks.Progress = [&](int n, int t) { counter.Show(n, t); };
        hooks.ReportTaken = [this, &counter](const std::string& oldPath) {
            counter.ShowNow();
            ShowMessage(this, oldPath + "は存在するため元に戻せませんでした");
        };
        UndoRenames(*record, hooks);
    }
    RemoveUndoRecord();
    Undo1->setEnabled(false);
    ShowMessage(this, std::string("元に戻しました"));
    ReadListing();
    NewFile->names()->clear();
}
