#pragma once
// The history of executions: one row per execution kept, newest first, and the button that
// takes them back down to the chosen one.
#include <QDialog>
#include <QStringList>

#include <functional>

class QListWidget;
class QPushButton;

class THistory : public QDialog {
    Q_OBJECT
public:
    // Takes back down to the row, and gives the rows as they are afterwards.
    using UndoTo = std::function<QStringList(int row)>;

    THistory();
    ~THistory() override;

    // Shows the rows, modal, until closed.
    void Open(const QStringList& rows, UndoTo undoTo);

private:
    void SetRows(const QStringList& rows);
    void HistoryUndoClick();

    QListWidget* HistoryList = nullptr;
    QPushButton* HistoryUndo = nullptr;
    QPushButton* HistoryClose = nullptr;
    UndoTo undoTo_;
};
