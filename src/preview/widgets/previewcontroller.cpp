#include "preview/widgets/previewcontroller.h"

#include "base/errors.h"
#include "preview/fileurl.h"
#include "preview/picture.h"
#include "preview/thumbnail.h"
#include "ui/displaytext.h"
#include "ui/guard.h"

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

PreviewController::PreviewController(PreviewControls controls, ListState& list, const ProgramSettings& settings,
                                     Launcher launch)
    : QObject(controls.Panel4), c_(controls), list_(list), settings_(settings), launch_(std::move(launch))
{
    c_.Panel4->installEventFilter(this);
    c_.Image1->installEventFilter(this);
    c_.oldfileViewport->installEventFilter(this);
}

void PreviewController::Reset()
{
    c_.Image1->hide();
    c_.Image1->setEnabled(false);
}

void PreviewController::HidePicture()
{
    c_.Image1->setScaledContents(true);
    c_.Image1->hide();
}

void PreviewController::Button9Click()
{
    Show(preview::ShowFirst);
}

void PreviewController::Panel4MouseDown()
{
    Show(preview::Step);
}

void PreviewController::Show(Choose choose)
{
    HidePicture();
    const preview::PreviewChoice choice = choose(list_.Names(), list_.Selected(), list_.PreviewIndex());
    list_.SetPreviewIndex(choice.previewIndex);
    if (choice.row >= 0)
        LoadAndShow(choice.row);
}

void PreviewController::LoadAndShow(int row)
{
    const std::string& name = list_.Names()[static_cast<std::size_t>(row)];
    c_.Image1->setToolTip(DisplayText(name));
    // Decoded at the scale the box needs on this screen; the header still gives the box.
    preview::DecodedJpeg decoded = preview::LoadPictureForPreview(list_.Prefix() + name, c_.Image1->devicePixelRatioF());
    const preview::PictureBox box =
        preview::PictureBoxFor(decoded.width, decoded.height, c_.Panel4->width(), c_.Panel4->height());
    c_.Image1->setGeometry(box.left, box.top, box.width, box.height);
    c_.Image1->setPixmap(QPixmap::fromImage(std::move(decoded.image)));
    decoded = {};
    c_.Image1->show();
}

void PreviewController::OldFileDblClick()
{
    const std::vector<bool>& selected = list_.Selected();
    std::size_t row = 0;
    while (row < selected.size() && !selected[row])
        ++row;
    if (row == selected.size())
        throw EListIndexError(static_cast<long long>(selected.size()));
    const std::string& name = list_.Names()[row];
    const std::string prefix = list_.Prefix();
    // What happens to the started program is its own affair: nothing is reported.
    if (preview::PassesJpegTest(name) && !settings_.ViewerPath().empty())
        launch_(settings_.ViewerPath(), ViewerArgument(name), prefix);
    else
        QDesktopServices::openUrl(preview::FileUrlFromPath(prefix + name));
}

bool PreviewController::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Paint && watched == c_.Image1) {
        PaintPicture(c_.Image1);
        return true;
    }
    QWidget* window = c_.Panel4->window();
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    if (press && (watched == c_.Panel4 || watched == c_.Image1)) {
        // Taken here, so a press over the picture (enabled or not) steps once and doesn't
        // travel on to the panel.
        event->accept();
        Guarded(window, [this] { Panel4MouseDown(); });
        return true;
    }
    if (type == QEvent::MouseButtonDblClick && watched == c_.oldfileViewport &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // The first press has already set the selection; the list handles the event as well.
        // Only the left button's double click opens a file.
        Guarded(window, [this] { OldFileDblClick(); });
        return false;
    }
    return QObject::eventFilter(watched, event);
}
