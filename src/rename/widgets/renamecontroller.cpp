#include "rename/widgets/renamecontroller.h"

#include "base/numbers.h"
#include "base/selection.h"
#include "base/utf8.h"
#include "filelist/listtexts.h"
#include "filelist/widgets/foldercontroller.h"
#include "filelist/capturereading.h"
#include "rename/capturenames.h"
#include "rename/companiontexts.h"
#include "rename/foresight.h"
#include "rename/renamerun.h"
#include "rename/renametexts.h"
#include "rename/undo.h"
#include "rename/widgets/undocontroller.h"
#include "settings/optionsform.h"
#include "ui/counterdisplay.h"
#include "ui/digitspinbox.h"
#include "ui/progressrun.h"
#include "ui/displaytext.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>

namespace {
// Marks the trial rows whose files the execution would leave under their old names, as the
// folder stands now, and those without the capture time their name needs; returns how many.
int MarkRowsLeftAlone(ListState& list, ForesightReading& foresight, const FileGroups& groups,
                      std::vector<bool> noTime)
{
    std::vector<Foresight> verdicts = foresight.Foresee(list.Names(), groups, list.Trial().Names);
    noTime.resize(verdicts.size(), false);
    std::vector<bool> marked(verdicts.size());
    int count = 0;
    for (std::size_t i = 0; i < verdicts.size(); ++i) {
        marked[i] = verdicts[i] != Foresight::Fine || noTime[i];
        count += marked[i] ? 1 : 0;
    }
    if (count == 0)
        return 0;
    list.MarkTrial(std::move(marked), [verdicts = std::move(verdicts), noTime = std::move(noTime),
                                       prefix = list.Prefix()](std::size_t row, const std::string& name) {
        switch (verdicts[row]) {
        case Foresight::Taken: return DisplayText(prefix + name) + FromUtf8(kTakenTip);
        case Foresight::Refused: return FromUtf8(kRefusedTip);
        case Foresight::CompanionBlocked: return FromUtf8(kCompanionBlockedTip);
        case Foresight::Fine: break;
        }
        return noTime[row] ? FromUtf8(std::string(kNoCaptureTimeText)) : QString();
    });
    return count;
}
} // namespace

struct RunStart {
    int DigitCount = 0;
    int32_t FirstNumber = 0;
    std::vector<bool> Selected; // as the run began: a box shown during the run may not change it
};

RenameController::RenameController(RenameControls controls, ListState& list, ProgramSettings& settings,
                                   FolderController& folders, UndoController& undo, Teller tell,
                                   platform::RenameWays ways)
    : QObject(controls.Check1), c_(controls), list_(list), settings_(settings), folders_(folders), undo_(undo),
      tell_(std::move(tell)), ways_(std::move(ways))
{
    WatchTrialInputs();
}

void RenameController::ShowStartSettings(const SettingsValues& s, bool hasFile)
{
    c_.Companions1->setChecked(settings_.Companions());
    c_.CaptureName1->setChecked(settings_.CaptureName());
    if (hasFile) {
        c_.Check1->setChecked(s.ChangeText);
        c_.Check2->setChecked(s.PadDigits);
        c_.Check3->setChecked(s.Sequential);
        c_.UpDown1->setValue(MainDigitCount(ParseInteger(s.DigitCount.Text)));
        c_.Check4->setChecked(s.ChangeExt);
    }
    if (s.Marker == SettingsMarker::Ver09)
        c_.text2->setText(DisplayText(s.BaseNumber));
}

void RenameController::ApplySavedOptions(const SettingsValues& values)
{
    c_.Check1->setChecked(values.ChangeText);
    c_.Check2->setChecked(values.PadDigits);
    c_.Check3->setChecked(values.Sequential);
    c_.UpDown1->setValue(MainDigitCount(ParseInteger(values.DigitCount.Text)));
    c_.edit2->setText(QString::number(c_.UpDown1->value()));
    settings_.SetExtensionFlags(values.ExtLowerCase, values.JpegToJpg);
    c_.Check4->setChecked(values.ChangeExt);
}

QString RenameController::BaseNumberText() const
{
    return c_.text2->text();
}

int RenameController::DigitCountValue() const
{
    return c_.UpDown1->value();
}

void RenameController::SetTextvolBytes(const std::string& bytes)
{
    textvolRaw_ = bytes;
    textvolRawShown_ = DisplayText(bytes);
    c_.textvol->setText(textvolRawShown_);
}

std::string RenameController::TextvolBytes() const
{
    // Names that are not valid UTF-8 can't make the round trip through the edit box.
    if (!textvolRaw_.empty() && c_.textvol->text() == textvolRawShown_)
        return textvolRaw_;
    return ToUtf8(c_.textvol->text());
}

RenameOptions RenameController::CurrentOptions(int digitCount) const
{
    RenameOptions o;
    o.ChangeText = c_.Check1->isChecked();
    o.NewText = TextvolBytes();
    o.PadDigits = c_.Check2->isChecked();
    o.DigitCount = digitCount;
    o.Sequential = c_.Check3->isChecked();
    o.ExtLowerCase = settings_.ExtLowerCase();
    o.JpegToJpg = settings_.JpegToJpg();
    o.ChangeExt = c_.Check4->isChecked();
    o.NewExt = ToUtf8(c_.Edit4->text());
    return o;
}

FileGroups RenameController::Groups(const RunStart& start) const
{
    return GroupFiles(list_.Names(), start.Selected, settings_.Companions());
}

RenameOptions RenameController::RunOptions(const RunStart& start, const FileGroups& groups,
                                           std::vector<bool>* noTime)
{
    RenameOptions o = CurrentOptions(start.DigitCount);
    if (!settings_.CaptureName() || !o.ChangeText)
        return o;
    // Each header is read once a session: the capture-date sort shares what was read.
    const SelectedCaptureTimes times =
        CaptureTimesOfSelected(list_.Prefix(), list_.Names(), start.Selected, list_.CaptureTimes());
    auto parts = std::make_shared<std::vector<std::optional<std::string>>>(CaptureTextParts(o.NewText, times.Times));
    if (noTime) {
        // Only a photo's own time names its group; a companion needs none.
        noTime->assign(parts->size(), false);
        for (std::size_t g = 0; g < groups.size(); ++g)
            (*noTime)[groups.PhotoOf(g)] = !(*parts)[groups.PhotoOf(g)];
    }
    o.TextParts = std::move(parts);
    return o;
}

bool RenameController::StartRun(RunStart& start, bool hidePicture)
{
    list_.ClearTrial();
    c_.actlabel->setText(QStringLiteral(" 000/ 000"));
    start.DigitCount = c_.UpDown1->value();
    if (hidePicture)
        emit pictureToHide();
    start.FirstNumber = ParseInteger(ToUtf8(c_.text2->text()));
    start.Selected = list_.Selected();
    if (SummarizeSelection(start.Selected).Count == 0) {
        tell_(std::string(kNothingSelected));
        return false;
    }
    return true;
}

void RenameController::Button6Click()
{
    RunStart start;
    if (!StartRun(start, true))
        return;
    // The folder is read while the rows are composed.
    ForesightReading foresight(list_.Prefix());
    const FileGroups groups = Groups(start);
    std::vector<bool> noTime;
    const RenameOptions options = RunOptions(start, groups, &noTime);
    std::vector<std::string> rows;
    {
        // The rows made before a failing file still show, as they would have been appended.
        const auto showRows = qScopeGuard([&] { list_.ShowTrial(std::move(rows)); });
        CounterDisplay counter(c_.actlabel);
        ProgressRun progress(tell_.Parent(), QStringLiteral("仮実行しています"));
        try {
            ComposeTrialRows(list_.Names(), groups, options, start.FirstNumber,
                             [&](int n, int t) { counter.Show(n, t); progress.Show(n - 1, t); }, rows);
        } catch (const RunStopped&) {
            // A stopped trial run shows no rows.
            rows.clear();
            return;
        }
    }
    const int leftAlone = MarkRowsLeftAlone(list_, foresight, groups, std::move(noTime));
    emit trialShown();
    tell_(FromUtf8(kTrialDone), leftAlone > 0 ? FromUtf8(kRowsLeftAlone).arg(leftAlone) : QString());
}

void RenameController::Button7Click()
{
    const std::string prefix = list_.Prefix();
    RunStart start;
    if (!StartRun(start, false))
        return;
    bool declined = false;
    bool saved = false;
    int renamed = 0;
    int stoppedAt = -1;
    {
        // Undo1 follows the record whichever way the run ends.
        const auto undoState = qScopeGuard([&] { undo_.AfterExecution(saved && renamed > 0); });
        ExecutionRecord record;
        CounterDisplay counter(c_.actlabel);
        ExecuteHooks hooks;
        hooks.BeforeRenames = [&](const UndoRecord& planned) {
            const RecordSave outcome = record.Save(planned);
            saved = outcome == RecordSave::Saved;
            declined = !saved && !undo_.GoOnWithoutUndoRecord(outcome);
            return !declined;
        };
        hooks.Renamed = [&] {
            record.Renamed();
            ++renamed;
        };
        const FileGroups groups = Groups(start);
        ProgressRun progress(tell_.Parent(), QStringLiteral("実行しています"));
        // The dialog counts files, a group of companions as its files.
        const int files = static_cast<int>(groups.Starts.empty() ? 0 : groups.Starts[groups.size()]);
        hooks.Progress = [&](int n, int t) {
            counter.Show(n, t);
            progress.Show(static_cast<int>(groups.Starts[static_cast<std::size_t>(n - 1)]), files);
        };
        hooks.Ways = ways_;
        hooks.ReportTaken = [this, &counter](const std::string& newPath) {
            counter.ShowNow();
            tell_(TakenByAnother(newPath));
        };
        try {
            ExecuteRenames(prefix, list_.Names(), groups, RunOptions(start, groups, nullptr), start.FirstNumber, hooks);
        } catch (const RunStopped& stop) {
            stoppedAt = stop.Done;
        }
    }
    // Declined: nothing was renamed, nothing to report.
    if (declined)
        return;
    if (stoppedAt >= 0)
        tell_(StoppedText(stoppedAt));
    else
        tell_(std::string(kExecutionDone));
    folders_.ReadListing();
    list_.ClearTrial();
}

void RenameController::WatchTrialInputs()
{
    // What the trial rows were made from: the rows chosen, their order, and every value the
    // new names depend on. Program changes count as much as the user's.
    auto changed = [this] { TrialInputChanged(); };
    connect(&list_, &ListState::selectionChanged, this, changed);
    connect(&list_, &ListState::currentChanged, this, changed);
    for (QCheckBox* check : {c_.Check1, c_.Check2, c_.Check3, c_.Check4})
        connect(check, &QCheckBox::toggled, this, changed);
    for (QLineEdit* edit : {c_.textvol, c_.edit2, c_.text2, c_.Edit4})
        connect(edit, &QLineEdit::textChanged, this, changed);
    connect(c_.UpDown1, &QSpinBox::valueChanged, this, changed);
    connect(&settings_, &ProgramSettings::namingChanged, this, changed);
}

void RenameController::TrialInputChanged()
{
    list_.TrialNoLongerHolds(FromUtf8(kTrialStale));
}

void RenameController::TextvolEdited()
{
    // Typing in textvol ends the raw bytes a click on the list put there.
    textvolRaw_.clear();
    textvolRawShown_.clear();
}

void RenameController::OldFileClick()
{
    const SelectionSummary s = SummarizeSelection(list_.Selected());
    if (s.Last < 0)
        return;
    SetTextvolBytes(SplitName(list_.Names()[static_cast<std::size_t>(s.Last)]).TextPart);
}

void RenameController::Check1Click()
{
    c_.textvol->setEnabled(c_.Check1->isChecked());
}

void RenameController::Check2Click()
{
    c_.edit2->setEnabled(c_.Check2->isChecked());
    c_.UpDown1->setEnabled(c_.Check2->isChecked());
}

void RenameController::Check3Click()
{
    c_.text2->setEnabled(c_.Check3->isChecked());
}

void RenameController::Check4Click()
{
    c_.Edit4->setEnabled(c_.Check4->isChecked());
}

void RenameController::UpDown1Click()
{
    c_.edit2->setText(QString::number(c_.UpDown1->value()));
}

void RenameController::Companions1Click(bool on)
{
    settings_.SetCompanions(on);
}

void RenameController::CaptureName1Click(bool on)
{
    settings_.SetCaptureName(on);
}
