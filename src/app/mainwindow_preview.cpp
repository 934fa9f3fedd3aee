// The thumbnail preview (show the first selected photo, step through the others on a press)
// and opening a file in the viewer or in the program associated with it.
#include "app/mainwindow.h"

#include "ui/guard.h"
#include "base/errors.h"
#include "filelist/displaytext.h"
#include "filelist/widgets/namelistview.h"
#include "preview/fileurl.h"
#include "preview/jpegdecoder.h"
#include "preview/thumbnail.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

namespace {
// The bare name as the viewer's one argument; a name beginning with "-" is made a path
// ("./" in the working folder), so that no file name can pass for one of its options.
std::string ViewerArgument(const std::string& name)
{
    return !name.empty() && name[0] == '-' ? "./" + name : name;
}
} // namespace

void TMain::HidePicture()
{
    Image1->setScaledContents(true);
    Image1->hide();
}

void TMain::Button9Click()
{
    const std::string prefix = FolderPrefixOfDir1();
    HidePicture();
    const preview::PreviewChoice choice = preview::ShowFirst(
        oldfile->names()->names(), oldfile->selectedFlags(), PreviewIndex);
    PreviewIndex = choice.previewIndex;
    if (choice.row >= 0)
        LoadAndShow(prefix, choice.row);
}

void TMain::Panel4MouseDown()
{
    const std::string prefix = FolderPrefixOfDir1();
    HidePicture();
    const preview::PreviewChoice choice =
        preview::Step(oldfile->names()->names(), oldfile->selectedFlags(), PreviewIndex);
    PreviewIndex = choice.previewIndex;
    if (choice.row >= 0)
        LoadAndShow(prefix, choice.row);
}

void TMain::LoadAndShow(const std::string& prefix, int row)
{
    const std::string& name = oldfile->names()->names()[static_cast<std::size_t>(row)];
    Image1->setToolTip(DisplayText(name));
    // Decoded at the scale the box needs on this screen; the header still gives the box.
    preview::DecodedJpeg decoded =
        preview::LoadJpegForPreview(prefix + name, Image1->devicePixelRatioF());
    const preview::PictureBox box =
        preview::PictureBoxFor(decoded.width, decoded.height, Panel4->width(), Panel4->height());
    Image1->setGeometry(box.left, box.top, box.width, box.height);
    Image1->setPixmap(QPixmap::fromImage(std::move(decoded.image)));
    decoded = {};
    Image1->show();
}

void TMain::OldFileDblClick()
{
    const std::string prefix = FolderPrefixOfDir1();
    const std::vector<bool> selected = oldfile->selectedFlags();
    std::size_t row = 0;
    while (row < selected.size() && !selected[row])
        ++row;
    if (row == selected.size())
        throw EListIndexError(static_cast<long long>(selected.size()));
    const std::string& name = oldfile->names()->names()[row];
    // What happens to the started program is its own affair: nothing is reported.
    if (preview::PassesJpegTest(name) && !ViewerPath.empty())
        Services.Launch(ViewerPath, ViewerArgument(name), prefix);
    else
        QDesktopServices::openUrl(preview::FileUrlFromPath(prefix + name));
}

namespace {

// The picture in its own colours: a disabled QLabel would draw it greyed out, and the
// preview picture is always disabled. Scaled smoothly to the box on this screen.
void PaintPicture(QLabel* picture)
{
    const QPixmap pixmap = picture->pixmap();
    if (pixmap.isNull() || picture->width() <= 0 || picture->height() <= 0)
        return;
    const qreal ratio = picture->devicePixelRatioF();
    QPixmap scaled = pixmap.scaled(picture->size() * ratio, Qt::IgnoreAspectRatio,
                                   Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(ratio);
    QPainter painter(picture);
    painter.drawPixmap(QPoint(0, 0), scaled);
}

} // namespace

bool TMain::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Paint && watched == Image1) {
        PaintPicture(Image1);
        return true;
    }
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    if (press && (watched == Panel4 || watched == Image1)) {
        // Taken here, so a press over the picture (enabled or not) steps once and doesn't
        // travel on to the panel.
        event->accept();
        Guarded(this, [this] { Panel4MouseDown(); });
        return true;
    }
    if (type == QEvent::MouseButtonDblClick && watched == oldfile->viewport() &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // The first press has already set the selection; the list handles the event as well.
        // Only the left button's double click opens a file.
        Guarded(this, [this] { OldFileDblClick(); });
        return false;
    }
    return QMainWindow::eventFilter(watched, event);
}
