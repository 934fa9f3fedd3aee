#include "filelist/widgets/folderlistview.h"

#include "ui/displaytext.h"
#include "filelist/listingorder.h"
#include "base/errors.h"
#include "base/paths.h"
#include "filelist/navigation.h"
#include "filelist/widgets/listrowdelegate.h"
#include "platform/filesystem.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>

namespace {
constexpr int kFolderRole = Qt::UserRole;
constexpr int kNameRole = Qt::UserRole + 1;
constexpr int kDepthRole = Qt::UserRole + 2;

QByteArray Bytes(const std::string& s)
{
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

std::string String(const QByteArray& bytes)
{
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Draws each row moved right by its depth, two character cells a level.
class FolderRowDelegate : public ListRowDelegate {
public:
    using ListRowDelegate::ListRowDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem moved = option;
        moved.rect.setLeft(option.rect.left() + Indent(option, index));
        ListRowDelegate::paint(painter, moved, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize s = ListRowDelegate::sizeHint(option, index);
        s.rwidth() += Indent(option, index);
        return s;
    }

private:
    static int Indent(const QStyleOptionViewItem& option, const QModelIndex& index)
    {
        return index.data(kDepthRole).toInt() * 2 * option.fontMetrics.horizontalAdvance(QLatin1Char(' '));
    }
};
} // namespace

FolderListView::FolderListView(QWidget* parent)
    : QListView(parent), model_(new QStandardItemModel(this))
{
    setModel(model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setItemDelegate(new FolderRowDelegate(this));
    connect(this, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        emit rowOpened(index.row());
    });
}

QString FolderListView::directory() const
{
    return DisplayText(folder_);
}

bool FolderListView::switchTo(const std::string& path)
{
    if (path.empty())
        return false;
    const std::string target = ResolveFolder(path, folder_);
    if (target == folder_)
        return false;
    if (entersProcessFolder_)
        platform::EnterFolder(target);
    folder_ = target;
    rebuild();
    return true;
}

void FolderListView::rebuild()
{
    std::vector<std::string> subfolders;
    try {
        subfolders = platform::ListSubfolders(folder_);
    } catch (const EFileError&) {
        // The folder was entered a moment ago; a failed listing shows it without subfolders.
    }
    SortListing(subfolders);
    rebuild(subfolders);
}

void FolderListView::rebuild(const std::vector<std::string>& subfolders)
{
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    model_->clear();
    auto addRow = [&](const std::string& name, const std::string& folder, const QIcon& icon,
                      int depth) {
        auto* item = new QStandardItem(icon, DisplayText(name));
        item->setData(Bytes(folder), kFolderRole);
        item->setData(Bytes(name), kNameRole);
        item->setData(depth, kDepthRole);
        model_->appendRow(item);
    };
    addRow("/", "/", open, 0);
    std::string walked = "/";
    int depth = 1;
    for (const std::string& part : PathComponents(folder_)) {
        walked = JoinPath(walked, part);
        addRow(part, walked, open, depth++);
    }
    const int currentRow = model_->rowCount() - 1;
    for (const std::string& sub : subfolders)
        addRow(sub, JoinPath(folder_, sub), closed, depth);
    setCurrentIndex(model_->index(currentRow, 0));
}

std::string FolderListView::rowFolder(int row) const
{
    return String(model_->index(row, 0).data(kFolderRole).toByteArray());
}

std::vector<std::string> FolderListView::rowNames() const
{
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(model_->rowCount()));
    for (int r = 0; r < model_->rowCount(); ++r)
        names.push_back(String(model_->index(r, 0).data(kNameRole).toByteArray()));
    return names;
}

void FolderListView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return QListView::keyPressEvent(event);
    event->accept();
    if (currentIndex().isValid())
        emit rowOpened(currentIndex().row());
}

void FolderListView::setCurrentRow(int row)
{
    setCurrentIndex(model_->index(row, 0));
}
