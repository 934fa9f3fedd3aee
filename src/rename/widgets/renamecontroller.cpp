#include "rename/widgets/renamecontroller.h"

#include "base/numbers.h"
#include "base/selection.h"
#include "base/utf8.h"
#include "filelist/listtexts.h"
#include "filelist/widgets/foldercontroller.h"
#include "filelist/capturereading.h"
#include "rename/capturenames.h"
#include "rename/capturerun.h"
#include "rename/clockoffset.h"
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
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>

namespace {
// Marks the trial rows whose files the execution would leave under their old names, as the
// folder stands now, and those without the capture time or camera facts their name needs;
// returns how many.
int MarkRowsLeftAlone(ListState& list, ForesightReading& foresight, const FileGroups& groups,
                      std::vector<CaptureMark> noTime)
{
    std::vector<Foresight> verdicts = foresight.Foresee(list.Names(), groups, list.Trial().Names);
    noTime.resize(verdicts.size(), CaptureMark::None);
    std::vector<bool> marked(verdicts.size());
    int count = 0;
    for (std::size_t i = 0; i < verdicts.size(); ++i) {
        marked[i] = verdicts[i] != Foresight::Fine || noTime[i] != CaptureMark::None;
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
        return noTime[row] != CaptureMark::None ? FromUtf8(std::string(CaptureMarkText(noTime[row]))) : QString();
    });
    return count;
}
} // namespace

struct RunStart {
    RenameInputValues Inputs; // as the run began: nothing changes them while it goes on
    int DigitCount = 0;
    int32_t FirstNumber = 0;
    std::vector<bool> Selected; // as the run began: a box shown during the run may not change it
};

RenameController::RenameController(RenameControls controls, RenameInputs& inputs, ListState& list,
                                   ProgramSettings& settings, FolderController& folders, UndoController& undo,
                                   Teller tell, platform::RenameWays ways)
    : QObject(controls.Check1), c_(controls), inputs_(inputs), list_(list), settings_(settings), folders_(folders),
      undo_(undo), tell_(std::move(tell)), ways_(std::move(ways))
{
    ShowInputs();
    connect(&inputs_, &RenameInputs::changed, this, &RenameController::ShowInputs);
    WatchTrialInputs();
}

void RenameController::ShowKeptOptions()
{
    RenameInputValues v = inputs_.Values();
    const ExtraOptions& kept = settings_.LoadExtraOptions();
    v.Companions = kept.Companions;
    v.CaptureName = kept.CaptureName;
    v.DayCounter = kept.DayCounter;
    v.ClockOffset = kept.ClockOffset;
    inputs_.Set(v);
}

void RenameController::ShowStartSettings(const SettingsValues& s, bool hasFile)
{
    RenameInputValues v = inputs_.Values();
    if (hasFile) {
        v.ChangeText = s.ChangeText;
        v.PadDigits = s.PadDigits;
        v.Sequential = s.Sequential;
        // The boxes before the digit count hold even when its line is no number.
        inputs_.Set(v);
        v.DigitCount = MainDigitCount(ParseInteger(s.DigitCount.Text));
        v.ChangeExt = s.ChangeExt;
    }
    if (s.Marker == SettingsMarker::Ver09)
        v.BaseNumber = s.BaseNumber;
    inputs_.Set(v);
}

void RenameController::ApplyPreset(const RenameInputValues& values)
{
    inputs_.Set(values);
    StoreKeptOptions();
}

void RenameController::StoreKeptOptions()
{
    const RenameInputValues& v = inputs_.Values();
    settings_.StoreExtraOptions({v.Companions, v.CaptureName, v.DayCounter, v.ClockOffset});
}

void RenameController::ShowInputs()
{
    const RenameInputValues& v = inputs_.Values();
    // Check boxes first, so their handlers enable the boxes before they are filled.
    c_.Check1->setChecked(v.ChangeText);
    c_.Check2->setChecked(v.PadDigits);
    c_.Check3->setChecked(v.Sequential);
    c_.Check4->setChecked(v.ChangeExt);
    c_.UpDown1->setValue(v.DigitCount);
    // A text part that is not UTF-8 shows as its display text and stays raw bytes here.
    if (c_.textvol->text() != DisplayText(v.NewText))
        c_.textvol->setText(DisplayText(v.NewText));
    if (ToUtf8(c_.text2->text()) != v.BaseNumber)
        c_.text2->setText(FromUtf8(v.BaseNumber));
    if (ToUtf8(c_.Edit4->text()) != v.NewExt)
        c_.Edit4->setText(FromUtf8(v.NewExt));
    c_.Companions1->setChecked(v.Companions);
    c_.CaptureName1->setChecked(v.CaptureName);
    c_.DayCounter1->setChecked(v.DayCounter);
    c_.ClockOffset1->setChecked(v.ClockOffset != 0);
}

FileGroups RenameController::Groups(const RunStart& start) const
{
    return GroupFiles(list_.Names(), start.Selected, start.Inputs.Companions);
}

RenameOptions RenameController::RunOptions(const RunStart& start, const FileGroups& groups,
                                           std::vector<CaptureMark>* noTime)
{
    RenameOptions o = OptionsOf(start.Inputs, settings_.ExtLowerCase(), settings_.JpegToJpg());
    o.DigitCount = start.DigitCount;
    AddCaptureNaming(o, start.Inputs, list_.Prefix(), list_.Names(), groups, list_.CaptureTimes(), noTime);
    return o;
}

bool RenameController::StartRun(RunStart& start, bool hidePicture)
{
    list_.ClearTrial();
    c_.actlabel->setText(QStringLiteral(" 000/ 000"));
    start.Inputs = inputs_.Values();
    start.DigitCount = start.Inputs.DigitCount;
    if (hidePicture)
        emit pictureToHide();
    start.FirstNumber = ParseInteger(start.Inputs.BaseNumber);
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
    std::vector<CaptureMark> noTime;
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
            if (!saved && !declined)
                record.GoOnUnrecorded();
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
    connect(&inputs_, &RenameInputs::changed, this, changed);
    connect(&settings_, &ProgramSettings::namingChanged, this, changed);
}

void RenameController::TrialInputChanged()
{
    list_.TrialNoLongerHolds(FromUtf8(kTrialStale));
}

void RenameController::TextvolChanged()
{
    // The raw bytes a click put there stay while the box shows them unchanged.
    if (c_.textvol->text() != DisplayText(inputs_.Values().NewText))
        inputs_.Set(&RenameInputValues::NewText, ToUtf8(c_.textvol->text()));
}

void RenameController::Text2Changed()
{
    inputs_.Set(&RenameInputValues::BaseNumber, ToUtf8(c_.text2->text()));
}

void RenameController::Edit4Changed()
{
    inputs_.Set(&RenameInputValues::NewExt, ToUtf8(c_.Edit4->text()));
}

void RenameController::OldFileClick()
{
    // A pattern of capture times is no text part to copy over.
    if (inputs_.Values().CaptureName)
        return;
    const SelectionSummary s = SummarizeSelection(list_.Selected());
    if (s.Last < 0)
        return;
    inputs_.Set(&RenameInputValues::NewText, SplitName(list_.Names()[static_cast<std::size_t>(s.Last)]).TextPart);
}

void RenameController::Check1Click()
{
    inputs_.Set(&RenameInputValues::ChangeText, c_.Check1->isChecked());
    c_.textvol->setEnabled(c_.Check1->isChecked());
}

void RenameController::Check2Click()
{
    inputs_.Set(&RenameInputValues::PadDigits, c_.Check2->isChecked());
    c_.edit2->setEnabled(c_.Check2->isChecked());
    c_.UpDown1->setEnabled(c_.Check2->isChecked());
}

void RenameController::Check3Click()
{
    inputs_.Set(&RenameInputValues::Sequential, c_.Check3->isChecked());
    c_.text2->setEnabled(c_.Check3->isChecked());
}

void RenameController::Check4Click()
{
    inputs_.Set(&RenameInputValues::ChangeExt, c_.Check4->isChecked());
    c_.Edit4->setEnabled(c_.Check4->isChecked());
}

void RenameController::UpDown1Click()
{
    inputs_.Set(&RenameInputValues::DigitCount, c_.UpDown1->value());
    c_.edit2->setText(QString::number(c_.UpDown1->value()));
}

void RenameController::Companions1Click(bool on)
{
    inputs_.Set(&RenameInputValues::Companions, on);
    StoreKeptOptions();
}

void RenameController::CaptureName1Click(bool on)
{
    inputs_.Set(&RenameInputValues::CaptureName, on);
    StoreKeptOptions();
}

void RenameController::DayCounter1Click(bool on)
{
    inputs_.Set(&RenameInputValues::DayCounter, on);
    StoreKeptOptions();
}

void RenameController::ClockOffset1Click()
{
    // The entry's check tells whether an offset is set, whatever the click made of it.
    const auto shown = qScopeGuard([this] { c_.ClockOffset1->setChecked(inputs_.Values().ClockOffset != 0); });
    QInputDialog ask(tell_.Parent());
    ask.setObjectName(QStringLiteral("ClockOffset"));
    ask.setWindowTitle(QStringLiteral("Pelkorin"));
    ask.setInputMode(QInputDialog::TextInput);
    ask.setLabelText(FromUtf8(kClockOffsetLabel));
    ask.setTextValue(FromUtf8(ClockOffsetText(inputs_.Values().ClockOffset)));
    if (ask.exec() != QDialog::Accepted)
        return;
    const std::optional<int64_t> offset = ParseClockOffset(ToUtf8(ask.textValue()));
    if (!offset) {
        tell_(std::string(kClockOffsetFormText));
        return;
    }
    inputs_.Set(&RenameInputValues::ClockOffset, *offset);
    StoreKeptOptions();
}
