#include "rename/historylist.h"

#include <QDateTime>

QString HistoryRowText(const HistoryItem& item, const QString& folderText)
{
    QString text = QDateTime::fromSecsSinceEpoch(item.Began).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) +
                   QStringLiteral("  ") + QString::number(item.Renamed) + QStringLiteral("個  ") + folderText;
    if (item.State == TakenBack::Wholly)
        text += QStringLiteral("（元に戻し済み）");
    else if (item.State == TakenBack::Partly)
        text += QStringLiteral("（一部を元に戻し済み）");
    return text;
}

std::optional<std::size_t> NextToUndo(const std::vector<HistoryItem>& items)
{
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].State != TakenBack::Wholly)
            return i;
    return std::nullopt;
}

std::optional<std::size_t> NextToRedo(const std::vector<HistoryItem>& items)
{
    std::optional<std::size_t> last;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].Redoable)
            last = i;
        if (items[i].State != TakenBack::Wholly)
            break;
    }
    return last;
}

std::vector<std::size_t> UndoDownTo(const std::vector<HistoryItem>& items, std::size_t row)
{
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i <= row && i < items.size(); ++i)
        if (items[i].State != TakenBack::Wholly)
            order.push_back(i);
    return order;
}
