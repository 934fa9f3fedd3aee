#pragma once
// The list of current names: selecting, moving and sorting its rows, its context menu, and the
// two name lists scrolled together. The lists and the sort aid are views of the list state;
// this binds them to it.
#include "filelist/liststate.h"
#include "ui/messages.h"

#include <QObject>
#include <cstdint>
#include <functional>

class QMenu;
class QPoint;
class NameListView;
class SortAidModel;

struct ListControls {
    NameListView* File1;
    NameListView* oldfile;
    NameListView* NewFile;
    SortAidModel* fileListRows;
    QMenu* PopupMenu1;
};

class ListController : public QObject {
    Q_OBJECT
public:
    // clockOffset: the seconds the capture-date sort adds to every capture time it shows.
    ListController(ListControls controls, ListState& list, Teller tell,
                   std::function<int64_t()> clockOffset = {});

    // Handlers.
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void N4Click();
    void N5Click();
    void N6Click();
    void N15Click();
    void OldFileScrolled();
    void NewFileScrolled();
    void OldFileSelectionChanged();
    void OldFileContextMenu(const QPoint& pos);

private:
    void Bind();
    void KeyedSort(bool byDate);
    void MoveRows(bool up);

    ListControls c_;
    ListState& list_;
    Teller tell_;
    std::function<int64_t()> clockOffset_;
};
