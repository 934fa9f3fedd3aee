// Selecting, moving and sorting the rows of the list of current names, and keeping the two
// name lists scrolled together.
#include "app/mainwindow.h"

#include "filelist/capturesort.h"
#include "filelist/moves.h"
#include "filelist/sortkeys.h"
#include "filelist/widgets/namelistview.h"
#include "filelist/widgets/sortaidmodel.h"

#include <QMenu>

void TMain::AlignTop(NameListView* from, NameListView* to)
{
    if (to->topRow() != from->topRow())
        to->setTopRow(from->topRow());
}

void TMain::OldFileScrolled()
{
    AlignTop(oldfile, NewFile);
}

void TMain::NewFileScrolled()
{
    AlignTop(NewFile, oldfile);
}

void TMain::OldFileSelectionChanged()
{
    AlignTop(oldfile, NewFile);
    OldFileClick();
}

void TMain::OldFileContextMenu(const QPoint& pos)
{
    PopupMenu1->popup(oldfile->viewport()->mapToGlobal(pos));
}

void TMain::Button3Click()
{
    oldfile->selectAllRows();
    oldfile->setTopRow(0);
}

void TMain::Button4Click()
{
    oldfile->clearSelectedRows();
    oldfile->setTopRow(0);
}

namespace {
template <typename Move>
void MoveRows(TMain* main, NameListView* list, Move move)
{
    std::vector<std::string> rows = list->names()->names();
    std::vector<bool> selected = list->selectedFlags();
    if (rows.empty())
        return;
    if (!move(rows, selected)) {
        main->Tell(std::string("移動できません"));
        return;
    }
    const int top = list->topRow();
    list->names()->setNames(std::move(rows));
    list->setSelectedFlags(selected);
    list->setTopRow(top);
}
} // namespace

void TMain::Button1Click()
{
    MoveRows(this, oldfile, MoveSelectedUp<std::string>);
}

void TMain::Button2Click()
{
    MoveRows(this, oldfile, MoveSelectedDown<std::string>);
}

void TMain::N4Click()
{
    FillOldFile(Listing.Names);
    NewFile->names()->clear();
    fileListRows->setRows({});
}

void TMain::N5Click()
{
    KeyedSort(false);
}

void TMain::N6Click()
{
    KeyedSort(true);
}

void TMain::KeyedSort(bool byDate)
{
    const std::string prefix = FolderPrefixOfDir1();
    const std::vector<std::string>& names = Listing.Names;
    std::vector<std::string> keys;
    keys.reserve(names.size());
    for (const std::string& name : names)
        keys.push_back(byDate ? DateKeyOfFile(prefix + name) : ExtensionKey(name));
    const std::vector<std::size_t> order = StableOrderByKeys(keys);
    ShowSortedListing(order, std::move(keys));
}

void TMain::N15Click()
{
    CaptureSortResult sorted = CaptureSortOfFolder(FolderPrefixOfDir1(), Listing.Names, CaptureTimes);
    ShowSortedListing(sorted.Order, std::move(sorted.Keys));
}

// The listing in the given order into oldfile, the keys beside their positions in fileList.
void TMain::ShowSortedListing(const std::vector<std::size_t>& order, std::vector<std::string> keys)
{
    const std::vector<std::string>& names = Listing.Names;
    std::vector<SortAidModel::Row> rows;
    std::vector<std::string> sorted;
    rows.reserve(order.size());
    sorted.reserve(order.size());
    for (std::size_t i : order) {
        rows.push_back({std::move(keys[i]), i});
        sorted.push_back(names[i]);
    }
    fileListRows->setRows(std::move(rows));
    FillOldFile(std::move(sorted));
    NewFile->names()->clear();
}
