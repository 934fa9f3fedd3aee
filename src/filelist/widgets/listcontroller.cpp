#include "filelist/widgets/listcontroller.h"

#include "filelist/shiftedkeys.h"

#include "filelist/capturesort.h"
#include "filelist/listtexts.h"
#include "filelist/sortkeys.h"
#include "filelist/widgets/namelistview.h"
#include "filelist/widgets/sortaidmodel.h"
#include "ui/progressrun.h"

#include <QItemSelectionModel>
#include <QMenu>

namespace {
void AlignTop(NameListView* from, NameListView* to)
{
    if (to->topRow() != from->topRow())
        to->setTopRow(from->topRow());
}
} // namespace

ListController::ListController(ListControls controls, ListState& list, Teller tell,
                               std::function<int64_t()> clockOffset)
    : QObject(controls.oldfile), c_(controls), list_(list), tell_(std::move(tell)), clockOffset_(std::move(clockOffset))
{
    Bind();
}

void ListController::Bind()
{
    c_.File1->names()->show(list_.Listing().Names);
    c_.oldfile->names()->show(list_.Current());
    c_.NewFile->names()->show(list_.Trial());
    c_.fileListRows->show(list_.SortAid());
    connect(&list_, &ListState::listedChanged, c_.File1, [this] { c_.File1->names()->rowsChanged(); });
    connect(&list_, &ListState::currentChanged, c_.oldfile, [this] {
        c_.oldfile->names()->rowsChanged();
        c_.oldfile->setSelectedFlags(list_.Selected());
        c_.oldfile->setTopRow(0);
    });
    connect(&list_, &ListState::selectionChanged, c_.oldfile, [this] {
        if (c_.oldfile->selectedFlags() != list_.Selected())
            c_.oldfile->setSelectedFlags(list_.Selected());
    });
    // What the user selects, and what the program selects through the view, is the state's.
    connect(c_.oldfile->selectionModel(), &QItemSelectionModel::selectionChanged, &list_,
            [this] { list_.Select(c_.oldfile->selectedFlags()); });
    connect(&list_, &ListState::trialChanged, c_.NewFile, [this] { c_.NewFile->names()->rowsChanged(); });
    connect(&list_, &ListState::trialMarksChanged, c_.NewFile, [this] { c_.NewFile->names()->marksChanged(); });
    connect(&list_, &ListState::sortAidChanged, c_.fileListRows, [this] { c_.fileListRows->rowsChanged(); });
}

void ListController::OldFileScrolled()
{
    AlignTop(c_.oldfile, c_.NewFile);
}

void ListController::NewFileScrolled()
{
    AlignTop(c_.NewFile, c_.oldfile);
}

void ListController::OldFileSelectionChanged()
{
    AlignTop(c_.oldfile, c_.NewFile);
}

void ListController::OldFileContextMenu(const QPoint& pos)
{
    c_.PopupMenu1->popup(c_.oldfile->viewport()->mapToGlobal(pos));
}

void ListController::Button3Click()
{
    list_.Select(std::vector<bool>(list_.Names().size(), true));
    c_.oldfile->setTopRow(0);
}

void ListController::Button4Click()
{
    list_.Select({});
    c_.oldfile->setTopRow(0);
}

void ListController::MoveRows(bool up)
{
    const int top = c_.oldfile->topRow();
    if (!list_.MoveSelected(up)) {
        tell_(std::string(kCannotMove));
        return;
    }
    c_.oldfile->setTopRow(top);
}

void ListController::Button1Click()
{
    MoveRows(true);
}

void ListController::Button2Click()
{
    MoveRows(false);
}

void ListController::N4Click()
{
    list_.ShowOrder(list_.Listing().Names, {});
}

void ListController::N5Click()
{
    KeyedSort(false);
}

void ListController::N6Click()
{
    KeyedSort(true);
}

void ListController::KeyedSort(bool byDate)
{
    const std::string prefix = list_.Prefix();
    const std::vector<std::string>& names = list_.Listing().Names;
    std::vector<std::string> keys;
    keys.reserve(names.size());
    for (const std::string& name : names)
        keys.push_back(byDate ? DateKeyOfFile(prefix + name) : ExtensionKey(name));
    const std::vector<std::size_t> order = StableOrderByKeys(keys);
    list_.ShowSorted(order, std::move(keys));
}

void ListController::N15Click()
{
    CaptureSortResult sorted;
    try {
        ProgressRun progress(tell_.Parent(), QStringLiteral("撮影日時を読んでいます"));
        sorted = CaptureSortOfFolder(list_.Prefix(), list_.Listing().Names, list_.CaptureTimes(),
                                     [&](std::size_t n, std::size_t t) {
                                         progress.Show(static_cast<int>(n) - 1, static_cast<int>(t));
                                     });
    } catch (const RunStopped&) {
        return; // the order stays as it was
    }
    if (clockOffset_)
        ShiftCaptureKeys(sorted.Keys, clockOffset_());
    list_.ShowSorted(sorted.Order, std::move(sorted.Keys));
}
