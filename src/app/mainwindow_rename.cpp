// The trial run, the execution, the click on the list of current names and the small
// handlers of the option controls.
#include "app/mainwindow.h"

#include "app/selectiontexts.h"
#include "base/selection.h"
#include "base/utf8.h"
#include "app/counterdisplay.h"
#include "ui/digitspinbox.h"
#include "filelist/displaytext.h"
#include "filelist/widgets/namelistview.h"
#include "rename/foresight.h"
#include "rename/renamerun.h"
#include "base/numbers.h"
#include "rename/undo.h"

#include <QAction>
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QScopeGuard>
#include <QLabel>
#include <QLineEdit>

namespace {
// Marks the trial rows whose files the execution would leave under their old names, as the
// folder stands now; returns how many.
int MarkRowsLeftAlone(NameListModel& rows, ForesightReading& foresight, const std::string& prefix,
                      const std::vector<std::string>& names, const std::vector<bool>& selected)
{
    std::vector<Foresight> verdicts = foresight.Foresee(names, selected, rows.names());
    std::vector<bool> marked(verdicts.size());
    int count = 0;
    for (std::size_t i = 0; i < verdicts.size(); ++i) {
        marked[i] = verdicts[i] != Foresight::Fine;
        count += marked[i] ? 1 : 0;
    }
    if (count == 0)
        return 0;
    rows.setTips(std::move(marked),
                 [verdicts = std::move(verdicts), prefix](std::size_t row, const std::string& name) {
                     return verdicts[row] == Foresight::Taken
                                ? DisplayText(prefix + name) + QStringLiteral("は存在するため変更できません")
                                : QStringLiteral("この名前には変更できません");
                 });
    return count;
}
} // namespace

void TMain::SetTextvolBytes(const std::string& bytes)
{
    textvolRaw_ = bytes;
    textvolRawShown_ = DisplayText(bytes);
    textvol->setText(textvolRawShown_);
}

std::string TMain::TextvolBytes() const
{
    // Names that are not valid UTF-8 can't make the round trip through the edit box.
    if (!textvolRaw_.empty() && textvol->text() == textvolRawShown_)
        return textvolRaw_;
    return ToUtf8(textvol->text());
}

RenameOptions TMain::CurrentOptions(int digitCount) const
{
    RenameOptions o;
    o.ChangeText = Check1->isChecked();
    o.NewText = TextvolBytes();
    o.PadDigits = Check2->isChecked();
    o.DigitCount = digitCount;
    o.Sequential = Check3->isChecked();
    o.ExtLowerCase = ExtLowerCase;
    o.JpegToJpg = JpegToJpg;
    o.ChangeExt = Check4->isChecked();
    o.NewExt = ToUtf8(Edit4->text());
    return o;
}

struct RunStart {
    int DigitCount = 0;
    int32_t FirstNumber = 0;
    std::vector<bool> Selected;
};

bool TMain::StartRun(RunStart& start, bool hidePicture)
{
    NewFile->names()->clear();
    actlabel->setText(QStringLiteral(" 000/ 000"));
    start.DigitCount = UpDown1->value();
    if (hidePicture) {
        Image1->hide();
        Image1->setEnabled(false);
    }
    start.FirstNumber = ParseInteger(ToUtf8(text2->text()));
    start.Selected = oldfile->selectedFlags();
    if (SummarizeSelection(start.Selected).Count == 0) {
        Tell(std::string(kNothingSelected));
        return false;
    }
    return true;
}

void TMain::Button6Click()
{
    RunStart start;
    if (!StartRun(start, true))
        return;
    const std::string prefix = FolderPrefixOfDir1();
    // The folder is read while the rows are composed.
    ForesightReading foresight(prefix);
    std::vector<std::string> rows;
    {
        // The rows made before a failing file still show, as they would have been appended.
        const auto showRows = qScopeGuard([&] { NewFile->names()->setNames(std::move(rows)); });
        CounterDisplay counter(actlabel);
        ComposeTrialRows(oldfile->names()->names(), start.Selected, CurrentOptions(start.DigitCount),
                         start.FirstNumber, [&](int n, int t) { counter.Show(n, t); }, rows);
    }
    const int leftAlone = MarkRowsLeftAlone(*NewFile->names(), foresight, prefix,
                                            oldfile->names()->names(), start.Selected);
    NewFile->setTopRow(oldfile->topRow());
    Tell(QStringLiteral("　　　　　仮実行終了　　　　\r　確認後　実行してください　"),
                leftAlone > 0 ? QStringLiteral("赤字の%1個のファイルは変更できません").arg(leftAlone)
                              : QString());
}

void TMain::Button7Click()
{
    const std::string prefix = FolderPrefixOfDir1();
    RunStart start;
    if (!StartRun(start, false))
        return;
    bool declined = false;
    bool saved = false;
    int renamed = 0;
    {
        // Undo1 follows the record whichever way the run ends; the record just written needs
        // no second reading.
        const auto undoState = qScopeGuard([&] { Undo1->setEnabled((saved && renamed > 0) || LoadUndoRecord().has_value()); });
        ExecutionRecord record;
        CounterDisplay counter(actlabel);
        ExecuteHooks hooks;
        hooks.BeforeRenames = [&](const UndoRecord& planned) {
            const RecordSave outcome = record.Save(planned);
            saved = outcome == RecordSave::Saved;
            declined = !saved && !GoOnWithoutUndoRecord(outcome);
            return !declined;
        };
        hooks.Renamed = [&] {
            record.Renamed();
            ++renamed;
        };
        hooks.Progress = [&](int n, int t) { counter.Show(n, t); };
        hooks.Ways = Services.Renames;
        hooks.ReportTaken = [this, &counter](const std::string& newPath) {
            counter.ShowNow();
            Tell(newPath + "は存在するため変更できませんでした");
        };
        ExecuteRenames(prefix, oldfile->names()->names(), start.Selected,
                       CurrentOptions(start.DigitCount), start.FirstNumber, hooks);
    }
    // Declined: nothing was renamed, nothing to report.
    if (declined)
        return;
    Tell(std::string("　　　実行処理が終了しました　　　　"));
    ReadListing();
    NewFile->names()->clear();
}

void TMain::WatchTrialInputs()
{
    // What the trial rows were made from: the rows chosen, their order, and every value the
    // new names depend on. Program changes count as much as the user's.
    auto changed = [this] { TrialInputChanged(); };
    connect(oldfile->selectionModel(), &QItemSelectionModel::selectionChanged, this, changed);
    NameListModel* order = oldfile->names();
    connect(order, &QAbstractItemModel::modelReset, this, changed);
    connect(order, &QAbstractItemModel::layoutChanged, this, changed);
    connect(order, &QAbstractItemModel::rowsMoved, this, changed);
    for (QCheckBox* check : {Check1, Check2, Check3, Check4})
        connect(check, &QCheckBox::toggled, this, changed);
    for (QLineEdit* edit : {textvol, edit2, text2, Edit4})
        connect(edit, &QLineEdit::textChanged, this, changed);
    connect(UpDown1, &QSpinBox::valueChanged, this, changed);
    // The extension flags change in SetExtensionFlags. Any further option the names come to
    // depend on (a checkable menu entry, say) is connected here as well.
}

void TMain::TrialInputChanged()
{
    NewFile->names()->setStale(QStringLiteral("仮実行の後で変更されています"));
}

void TMain::SetExtensionFlags(bool lowerCase, bool jpegToJpg)
{
    const bool changed = lowerCase != ExtLowerCase || jpegToJpg != JpegToJpg;
    ExtLowerCase = lowerCase;
    JpegToJpg = jpegToJpg;
    if (changed)
        TrialInputChanged();
}

void TMain::TextvolEdited()
{
    // Typing in textvol ends the raw bytes a click on the list put there.
    textvolRaw_.clear();
    textvolRawShown_.clear();
}

void TMain::OldFileClick()
{
    const SelectionSummary s = SummarizeSelection(oldfile->selectedFlags());
    if (s.Last < 0)
        return;
    SetTextvolBytes(SplitName(oldfile->names()->names()[static_cast<std::size_t>(s.Last)]).TextPart);
}

void TMain::Check1Click()
{
    textvol->setEnabled(Check1->isChecked());
}

void TMain::Check2Click()
{
    edit2->setEnabled(Check2->isChecked());
    UpDown1->setEnabled(Check2->isChecked());
}

void TMain::Check3Click()
{
    text2->setEnabled(Check3->isChecked());
}

void TMain::Check4Click()
{
    Edit4->setEnabled(Check4->isChecked());
}

void TMain::UpDown1Click()
{
    edit2->setText(QString::number(UpDown1->value()));
}
