// The way back from the last execution (Undo1), and the question an execution asks when its
// record can't be written.
#include "app/mainwindow.h"

#include "app/counterdisplay.h"
#include "base/errors.h"
#include "base/utf8.h"
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
    std::string bytes;
    const std::optional<UndoRecord> record = LoadUndoRecord(&bytes);
    Undo1->setEnabled(record.has_value());
    if (!record)
        return;
    // A folder made in place of the execution's keeps the record for another try.
    CheckUndoFolder(*record);
    SwitchFolder(record->Folder);
    SetDriveOf(Dir1->folder());
    // A folder that opened as the program's own instead keeps the record too.
    if (Dir1->folder() != record->Folder)
        throw EFileError(FileErrorMessage("フォルダを開けません", record->Folder, ENOENT));
    NewFile->names()->clear();
    UndoOutcome outcome;
    {
        CounterDisplay counter(actlabel);
        UndoHooks hooks;
        hooks.Progress = [&](int n, int t) { counter.Show(n, t); };
        hooks.Ways = Services.Renames;
        hooks.ReportTaken = [this, &counter](const std::string& oldPath) {
            counter.ShowNow();
            Tell(oldPath + "は存在するため元に戻せませんでした");
        };
        outcome = UndoRenames(*record, hooks);
    }
    // The record keeps what is still to be done, unless another program wrote its own since.
    const std::size_t left = outcome.Left.size();
    if (left == 0) {
        ReplaceUndoRecord(bytes, std::nullopt);
        Undo1->setEnabled(LoadUndoRecord().has_value());
        Tell(std::string("元に戻しました"));
    } else {
        UndoRecord kept = *record;
        kept.Entries = std::move(outcome.Left);
        ReplaceUndoRecord(bytes, kept);
        Undo1->setEnabled(true);
        Tell(std::to_string(left) + "個のファイルを元に戻せませんでした");
    }
    ReadListing();
    NewFile->names()->clear();
}

bool TMain::GoOnWithoutUndoRecord(RecordSave saved)
{
    QString text = QStringLiteral("元に戻すための記録を書けません。このまま実行すると、元に戻すことはできません。");
    if (saved == RecordSave::UnwrittenOldRemains)
        text += QStringLiteral("\n前の実行の記録 %1 は消せないため残りますが、このプログラムでは使いません。"
                               "次に起動する前に消してください。")
                    .arg(FromUtf8(UndoRecordPath()));
    text += QStringLiteral("\n実行しますか？");
    return AskYesNo(this, QStringLiteral("Pelkorin"), text, false);
}
