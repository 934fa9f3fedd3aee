#include "dialogs/historywindow.h"

#include "dialogs/dialogparts.h"
#include "ui/guard.h"

#include <QListWidget>
#include <QPushButton>

THistory::THistory() : QDialog(nullptr)
{
    MakeFixedDialog(this, "History", QStringLiteral("実行の履歴"), 560, 330);
    HistoryList = MakeControl<QListWidget>(this, "HistoryList", {8, 8, 544, 276});
    HistoryList->setFont(WindowFont(false, 12));
    HistoryUndo = MakeControl<QPushButton>(this, "HistoryUndo", {296, 294, 160, 27});
    HistoryUndo->setText(QStringLiteral("ここまで元に戻す(&U)"));
    HistoryClose = MakeControl<QPushButton>(this, "HistoryClose", {464, 294, 88, 27});
    HistoryClose->setText(QStringLiteral("閉じる"));
    connect(HistoryUndo, &QPushButton::clicked, this, [this] { Guarded(this, [this] { HistoryUndoClick(); }); });
    connect(HistoryClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(HistoryList, &QListWidget::itemSelectionChanged, this,
            [this] { HistoryUndo->setEnabled(!HistoryList->selectedItems().isEmpty()); });
}

THistory::~THistory() = default;

void THistory::Open(const QStringList& rows, UndoTo undoTo)
{
    undoTo_ = std::move(undoTo);
    SetRows(rows);
    exec();
}

void THistory::SetRows(const QStringList& rows)
{
    HistoryList->clear();
    HistoryList->addItems(rows);
    // Nothing is taken back before the user chooses a row.
    HistoryList->setCurrentRow(-1);
    HistoryUndo->setEnabled(false);
}

void THistory::HistoryUndoClick()
{
    const QList<QListWidgetItem*> chosen = HistoryList->selectedItems();
    const int row = chosen.isEmpty() ? -1 : HistoryList->row(chosen.front());
    if (row >= 0 && undoTo_)
        SetRows(undoTo_(row));
}
