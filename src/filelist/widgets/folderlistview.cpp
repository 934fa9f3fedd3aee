#include "filelist/widgets/folderlistview.h"

#include "filelist/displaytext.h"
#include "filelist/listingorder.h"
#include "base/errors.h"
#include "base/paths.h"
#include "filelist/navigation.h"
#include "platform/filesystem.h"

#include <QApplication>
#include <QStyle>

namespace {
constexpr int kFolderRole = Qt::UserRole;
}

FolderListView::FolderListView(QWidget* parent)
    : QListView(parent), model_(new QStandardItemModel(this))
{
    setModel(model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
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
    folder_ = target;
    rebuild();
    return true;
}

void FolderListView::rebuild()
{
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    std::vector<std::string> subfolders;
    try {
        subfolders = platform::ListSubfolders(folder_);
    } catch (const EFileError&) {
        // The folder was entered a moment ago; a failed listing shows it without subfolders.
    }
    SortListing(subfolders);

    model_->clear();
    auto addRow = [&](const QString& text, const std::string& folder, const QIcon& icon,
                      int depth) {
        auto* item = new QStandardItem(icon, QString(depth * 2, QLatin1Char(' ')) + text);
        item->setData(QByteArray(folder.data(), static_cast<qsizetype>(folder.size())), kFolderRole);
        model_->appendRow(item);
    };
    addRow(QStringLiteral("/"), "/", open, 0);
    std::string walked = "/";
    int depth = 1;
    for (const std::string& part : PathComponents(folder_)) {
        walked = JoinPath(walked, part);
        addRow(DisplayText(part), walked, open, depth++);
    }
    const int currentRow = model_->rowCount() - 1;
    for (const std::string& sub : subfolders)
        addRow(DisplayText(sub), JoinPath(folder_, sub), closed, depth);
    setCurrentIndex(model_->index(currentRow, 0));
}

std::string FolderListView::rowFolder(int row) const
{
    QByteArray bytes = model_->index(row, 0).data(kFolderRole).toByteArray();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
