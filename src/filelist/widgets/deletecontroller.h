#pragma once
// Deleting the selected files: the question, the deletion and the re-read of the listing.
#include "filelist/liststate.h"
#include "ui/messages.h"

#include <QObject>

class QLabel;
class FolderController;

class DeleteController : public QObject {
    Q_OBJECT
public:
    DeleteController(QLabel* actlabel, ListState& list, FolderController& folders, Teller tell);

    void Button8Click();

private:
    QLabel* actlabel_;
    ListState& list_;
    FolderController& folders_;
    Teller tell_;
};
