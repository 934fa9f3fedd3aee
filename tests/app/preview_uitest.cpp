// The thumbnail preview through the real window: the picture button, presses on the preview
// area, the picture's box and tooltip, and the errors of files that can't be shown.
#include "filelist/widgets/namelistview.h"
#include "preview/jpegwriter.h"
#include "support/mainwindowfixture.h"
#include "support/permissionoverride.h"
#include "support/rawstandin.h"
#include "support/rowname.h"
#include "support/tempfolder.h"

#include <QAction>
#include <QFrame>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include <algorithm>
#include <functional>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include <jerror.h>

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

std::string JpegErrorText(int code) { return "JPEG ｴﾗｰ #" + std::to_string(code) + "."; }

// A small valid picture for the rows that only need to show something.
const std::string& SmallJpeg()
{
    static const std::string bytes = WriteTestJpeg(40, 30);
    return bytes;
}

using Files = std::vector<std::pair<std::string, std::string>>;

// The program started on a folder of its own holding the given files.
struct PreviewWindow : ProgramInWork {
    explicit PreviewWindow(const Files& files) : ProgramInWork(files) {}
    TMain* m = ProgramInWork::m();
    NameListView* oldfile = list("oldfile");
    QFrame* Panel4 = Find<QFrame>(m, "Panel4");
    QLabel* Image1 = Find<QLabel>(Panel4, "Image1");

    void Select(const std::vector<int>& rows) const { SelectRows(rows); }
    std::vector<SeenBox> ShowFirst() const { return ProgramInWork::Press("Button9"); }
    // A click on the preview area, delivered to the control under the point like a real one.
    std::vector<SeenBox> Press(Qt::MouseButton button = Qt::LeftButton, QPoint at = {5, 80})
    {
        QWindow* window = m->windowHandle();
        const QPoint inWindow = Panel4->mapTo(m, at);
        return RunAnsweringBoxes([&] { QTest::mouseClick(window, button, {}, inWindow); });
    }
    int Index() const { return m->property("PreviewIndex").toInt(); }
    // The row shown, or -1 when the picture is hidden.
    int Shown() const
    {
        if (!Image1->isVisible())
            return -1;
        const QStringList rows = [&] {
            QStringList r;
            for (int i = 0; i < oldfile->model()->rowCount(); ++i)
                r << oldfile->model()->index(i, 0).data().toString();
            return r;
        }();
        return static_cast<int>(rows.indexOf(Image1->toolTip()));
    }
};

void ExpectErrorBox(const std::vector<SeenBox>& boxes, const std::string& text)
{
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Title, QStringLiteral("Pelkorin"));
    EXPECT_EQ(boxes[0].Text, Q(text));
    EXPECT_EQ(boxes[0].Icon, QMessageBox::Critical);
}

struct SizeCase {
    int width, height;
    QRect box;
};

class PreviewBoxRows : public testing::TestWithParam<SizeCase> {};

TEST_P(PreviewBoxRows, WorkedSizesAndPlaces)
{
    const SizeCase& c = GetParam();
    PreviewWindow w({{"p.jpg", SmallJpeg()}});
    ASSERT_EQ(w.Panel4->size(), QSize(84, 87));
    w.root().Write("work/p.jpg", WriteTestJpeg(c.width, c.height));
    w.Select({0});
    EXPECT_TRUE(w.ShowFirst().empty());
    EXPECT_TRUE(w.Image1->isVisible());
    EXPECT_FALSE(w.Image1->isEnabled());
    EXPECT_EQ(w.Image1->geometry(), c.box);
    EXPECT_EQ(w.Image1->toolTip(), QStringLiteral("p.jpg"));
    EXPECT_TRUE(w.Image1->hasScaledContents());
    // The picture itself keeps the proportions and is never smaller than its box, unless
    // the image itself is.
    const QPixmap picture = w.Image1->pixmap();
    EXPECT_GE(picture.width(), std::min(c.box.width(), c.width));
    EXPECT_GE(picture.height(), std::min(c.box.height(), c.height));
    EXPECT_NEAR(double(picture.width()) / picture.height(), double(c.width) / c.height,
                0.1 * c.width / c.height);
    EXPECT_EQ(w.Index(), 0);
}

const SizeCase kSizeCases[] = {
    {640, 480, {2, 13, 80, 60}},  {480, 640, {12, 3, 60, 80}}, {1920, 1080, {2, 21, 80, 45}},
    {2000, 3000, {16, 3, 53, 80}}, {100, 100, {2, 3, 80, 80}},  {32, 3, {2, 39, 80, 8}},
    {32, 1, {2, 42, 80, 2}},       {161, 1, {2, 43, 80, 0}},
};

INSTANTIATE_TEST_SUITE_P(PreviewBox, PreviewBoxRows, testing::ValuesIn(kSizeCases),
                         RowNames([](const SizeCase& c) {
                             return std::to_string(c.width) + " x " + std::to_string(c.height);
                         }));

// A HEIC (an AVIF by the output's name) made by the system's encoder from a JPEG, keeping the
// JPEG's EXIF block and Orientation; none where a tool is missing. Cut: its first half.
std::optional<std::string> HeicFrom(const std::string& jpeg, int orientation = 0,
                                    const std::string& out = "out.heic", bool cut = false)
{
    TempFolder folder;
    const std::string in = folder.Write("in.jpg", jpeg);
    const std::string command = "cd '" + folder.path() + "' && exiftool -q -overwrite_original -Orientation#=" +
                                std::to_string(orientation ? orientation : 1) + " in.jpg && heif-enc -q 60 -o " +
                                out + " in.jpg >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0 || !folder.Exists(out))
        return std::nullopt;
    const std::string bytes = folder.Read(out);
    return cut ? bytes.substr(0, bytes.size() / 2) : bytes;
}

// A file of each format the preview shows, as the user sees it: the box, or the error box.
struct FormatCase {
    const char *label, *name;
    std::function<std::optional<std::string>()> make;  // none: a tool is missing
    QRect box;                                          // empty: the error box
};

class PreviewFormatRows : public testing::TestWithParam<FormatCase> {};

TEST_P(PreviewFormatRows, ShownByContentOrTheErrorBox)
{
    const FormatCase& c = GetParam();
    const std::optional<std::string> bytes = c.make();
    if (!bytes)
        GTEST_SKIP() << "heif-enc or exiftool is missing";
    PreviewWindow w({{c.name, *bytes}});
    w.Select({0});
    const std::vector<SeenBox> boxes = w.ShowFirst();
    EXPECT_EQ(w.Shown(), c.box.isEmpty() ? -1 : 0);
    if (c.box.isEmpty())
        return ExpectErrorBox(boxes, "ﾌｧｲﾙ " + w.work() + "/" + c.name + " の画像を表示できません.");
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(w.Image1->geometry(), c.box);
    // Reduced, as a JPEG is, to cover twice the box with the picture's own proportions.
    const QSize picture = w.Image1->pixmap().size();
    EXPECT_TRUE(picture.width() >= 2 * c.box.width() && picture.width() <= 4 * c.box.width()) << picture.width();
    EXPECT_GE(picture.height(), 2 * c.box.height());
    EXPECT_NEAR(double(picture.width()) / picture.height(), double(c.box.width()) / c.box.height(), 0.05);
}

const FormatCase kFormatCases[] = {
    {"heic", "p.heic", [] { return HeicFrom(WriteTestJpeg(640, 480)); }, {2, 13, 80, 60}},
    // The HEIF's own transformations stand; its EXIF Orientation is not applied again.
    {"heic with exif orientation", "p.HEIF", [] { return HeicFrom(WriteTestJpeg(640, 480), 6); }, {2, 13, 80, 60}},
    {"heic named jpg", "p.jpg", [] { return HeicFrom(WriteTestJpeg(480, 640)); }, {12, 3, 60, 80}},
    {"avif", "p.avif", [] { return HeicFrom(WriteTestJpeg(400, 600), 0, "out.avif"); }, {16, 3, 53, 80}},
    {"raw", "p.CR2", [] { return MakeRawStandIn(WriteTestJpeg(1620, 1080)); }, {2, 17, 80, 53}},
    {"raw on its side", "p.dng", [] { return MakeRawStandIn(WriteTestJpeg(1620, 1080), 6); }, {16, 3, 53, 80}},
    {"raf", "p.RAF", [] { return MakeRafStandIn(WriteTestJpeg(1620, 1080)); }, {2, 17, 80, 53}},
    {"raw named jpg", "p.JPG", [] { return MakeRawStandIn(WriteTestJpeg(1620, 1080), 8); }, {16, 3, 53, 80}},
    {"dng preview as a strip", "p.DNG", [] { return MakeRawStandIn(WriteTestJpeg(1620, 1080), 1, true); }, {2, 17, 80, 53}},
    {"damaged heic", "bad.heic", [] { return HeicFrom(WriteTestJpeg(640, 480), 0, "out.heic", true); }, {}},
    {"raw without preview", "p.nef", [] { return MakeRawStandIn(""); }, {}},
    {"raw with damaged directories", "p.orf", [] { return MakeRawStandIn(WriteTestJpeg(64, 48)).substr(0, 40); }, {}},
    {"raw with a damaged preview", "p.arw", [] { return MakeRawStandIn("\xff\xd8 no picture"); }, {}},
    {"text named avif", "notes.avif", [] { return std::string("shopping list\n"); }, {}},
};

INSTANTIATE_TEST_SUITE_P(Formats, PreviewFormatRows, testing::ValuesIn(kFormatCases),
                         RowNames([](const FormatCase& c) { return std::string(c.label); }));

TEST(PreviewBox, LargePictureIsDecodedReduced)
{
    PreviewWindow w({{"big.jpg", WriteTestJpeg(1920, 1080)}});
    w.Select({0});
    EXPECT_TRUE(w.ShowFirst().empty());
    // Twice the 80 x 45 box is covered by an eighth of the picture.
    EXPECT_EQ(w.Image1->pixmap().size(), QSize(240, 135));
    EXPECT_EQ(w.Image1->geometry(), QRect(2, 21, 80, 45));
}

// The disabled picture still shows its own colours: the test picture runs to red at its
// right edge and to green at its bottom edge.
TEST(PreviewBox, DisabledPictureIsDrawnInColour)
{
    PreviewWindow w({{"p.jpg", WriteTestJpeg(640, 480, 95)}});
    w.Select({0});
    EXPECT_TRUE(w.ShowFirst().empty());
    ASSERT_FALSE(w.Image1->isEnabled());
    const QImage seen = w.Image1->grab().toImage();
    ASSERT_EQ(seen.size(), QSize(80, 60));
    const QRgb topRight = seen.pixel(76, 3);
    const QRgb bottomLeft = seen.pixel(3, 56);
    EXPECT_GT(qRed(topRight), 180);
    EXPECT_LT(qGreen(topRight), 80);
    EXPECT_GT(qGreen(bottomLeft), 180);
    EXPECT_LT(qRed(bottomLeft), 80);
}

TEST(PreviewBox, TooltipShowsTheBareNameOverTheDisabledPicture)
{
    PreviewWindow w({{"a.txt", ""}, {"my photo.jpg", SmallJpeg()}});
    w.Select({1});
    EXPECT_TRUE(w.ShowFirst().empty());
    EXPECT_EQ(w.Image1->toolTip(), QStringLiteral("my photo.jpg"));
    QHelpEvent help(QEvent::ToolTip, QPoint(10, 10), w.Image1->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(w.Image1, &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("my photo.jpg"));
    QToolTip::hideText();
}

// One step sequence: what each press shows (-1 hidden) and the index it leaves.
struct Step {
    int shown;
    int index;
};

void ExpectPresses(PreviewWindow& w, const std::vector<Step>& steps)
{
    for (std::size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE("press " + std::to_string(i + 1));
        EXPECT_TRUE(w.Press().empty());
        EXPECT_EQ(w.Shown(), steps[i].shown);
        EXPECT_EQ(w.Index(), steps[i].index);
    }
}

TEST(PreviewSteps, TwoSelectedJpegsAlternateWithAnEmptyPreview)
{
    PreviewWindow w({{"0.txt", ""}, {"1.txt", ""}, {"a.jpg", SmallJpeg()}, {"a2.txt", ""},
                     {"b.JPG", SmallJpeg()}});
    w.Select({2, 4});
    EXPECT_TRUE(w.ShowFirst().empty());
    EXPECT_EQ(w.Shown(), 2);
    EXPECT_EQ(w.Index(), 2);
    ExpectPresses(w, {{4, 4}, {-1, 0}, {2, 2}, {4, 4}, {-1, 0}, {2, 2}});
}

TEST(PreviewSteps, AllRowsSelectedRowZeroOnlyThroughTheButton)
{
    Files files;
    for (int i = 0; i < 5; ++i)
        files.push_back({"p" + std::to_string(i) + ".jpg", SmallJpeg()});
    PreviewWindow w(files);
    w.Select({0, 1, 2, 3, 4});
    EXPECT_TRUE(w.ShowFirst().empty());
    EXPECT_EQ(w.Shown(), 0);
    ExpectPresses(w, {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {-1, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4},
                      {-1, 0}});
}

TEST(PreviewSteps, NothingSelectedLeavesTheIndexAndAPressResetsIt)
{
    PreviewWindow w({{"a.jpg", SmallJpeg()}, {"b.jpg", SmallJpeg()}});
    w.Select({1});
    EXPECT_TRUE(w.ShowFirst().empty());
    ASSERT_EQ(w.Index(), 1);
    w.Select({});
    EXPECT_TRUE(w.ShowFirst().empty());
    EXPECT_FALSE(w.Image1->isVisible());
    EXPECT_EQ(w.Index(), 1);
    EXPECT_TRUE(w.Press().empty());
    EXPECT_FALSE(w.Image1->isVisible());
    EXPECT_EQ(w.Index(), 0);
}

TEST(PreviewSteps, EmptyListShowsNothing)
{
    PreviewWindow w({});
    ASSERT_EQ(w.oldfile->model()->rowCount(), 0);
    EXPECT_TRUE(w.ShowFirst().empty());
    EXPECT_FALSE(w.Image1->isVisible());
    EXPECT_EQ(w.Index(), 0);
    EXPECT_TRUE(w.Press().empty());
    EXPECT_EQ(w.Index(), 0);
}

TEST(PreviewSteps, TopmostSelectedRowIsLoadedWhateverItsExtension)
{
    PreviewWindow w({{"x.txt", "plain text\n"}, {"y.jpg", SmallJpeg()}});
    w.Select({0, 1});
    ExpectErrorBox(w.ShowFirst(), JpegErrorText(JERR_NO_SOI));
    EXPECT_FALSE(w.Image1->isVisible());
    EXPECT_EQ(w.Index(), 0);
    EXPECT_EQ(w.Image1->toolTip(), QStringLiteral("x.txt"));
    EXPECT_TRUE(w.Press().empty());
    EXPECT_EQ(w.Shown(), 1);
    EXPECT_EQ(w.Index(), 1);
}

TEST(PreviewSteps, JpegExtensionAloneDoesNotPassButLoadsAboveAJpg)
{
    PreviewWindow w({{"a.jpeg", WriteTestJpeg(64, 48)}, {"b.jpeg", SmallJpeg()},
                     {"c.jpg", SmallJpeg()}});
    w.Select({0, 1});
    EXPECT_TRUE(w.ShowFirst().empty());
    EXPECT_FALSE(w.Image1->isVisible());
    EXPECT_TRUE(w.Press().empty());
    EXPECT_FALSE(w.Image1->isVisible());
    EXPECT_EQ(w.Index(), 0);

    w.Select({0, 2});
    EXPECT_TRUE(w.ShowFirst().empty());
    EXPECT_EQ(w.Shown(), 0);
    EXPECT_EQ(w.Image1->geometry(), QRect(2, 13, 80, 60));
}

TEST(PreviewSteps, EveryButtonAndTheSecondPressOfADoubleClickStep)
{
    Files files;
    for (int i = 0; i < 6; ++i)
        files.push_back({"p" + std::to_string(i) + ".jpg", SmallJpeg()});
    PreviewWindow w(files);
    w.Select({0, 1, 2, 3, 4, 5});
    EXPECT_TRUE(w.ShowFirst().empty());
    ASSERT_EQ(w.Shown(), 0);
    // Over the (disabled) picture and over the panel's own edge.
    const QPoint overPicture = w.Image1->geometry().center();
    ASSERT_FALSE(w.Image1->isEnabled());
    EXPECT_TRUE(w.Press(Qt::RightButton, overPicture).empty());
    EXPECT_EQ(w.Shown(), 1);
    EXPECT_TRUE(w.Press(Qt::MiddleButton, overPicture).empty());
    EXPECT_EQ(w.Shown(), 2);
    EXPECT_TRUE(w.Press(Qt::LeftButton, {1, 1}).empty());
    EXPECT_EQ(w.Shown(), 3);

    QWindow* window = w.m->windowHandle();
    const QPoint at = w.Panel4->mapTo(w.m, w.Image1->geometry().center());
    EXPECT_TRUE(RunAnsweringBoxes([&] { QTest::mouseDClick(window, Qt::LeftButton, {}, at); })
                    .empty());
    EXPECT_EQ(w.Shown(), 5);
    EXPECT_EQ(w.Index(), 5);
}

TEST(PreviewSteps, TrialRunHidesThePictureAndKeepsTheIndex)
{
    PreviewWindow w({{"a.jpg", SmallJpeg()}, {"b.jpg", SmallJpeg()}});
    w.Select({1});
    EXPECT_TRUE(w.ShowFirst().empty());
    ASSERT_TRUE(w.Image1->isVisible());
    // A selection change alone leaves the picture showing.
    w.Select({0, 1});
    EXPECT_TRUE(w.Image1->isVisible());
    EXPECT_EQ(RunAnsweringBoxes([&] { Find<QPushButton>(w.m, "Button6")->click(); }).size(), 1u);
    EXPECT_FALSE(w.Image1->isVisible());
    EXPECT_EQ(w.Index(), 1);
}

TEST(PreviewSteps, PopupEntryShowsTheFirst)
{
    PreviewWindow w({{"a.jpg", SmallJpeg()}});
    w.Select({0});
    EXPECT_TRUE(RunAnsweringBoxes([&] { Find<QAction>(w.m, "N1")->trigger(); }).empty());
    EXPECT_EQ(w.Shown(), 0);
}

TEST(PreviewErrors, FilesThatCannotBeOpenedNameTheirFullPath)
{
    PreviewWindow w({{"gone.jpg", SmallJpeg()}, {"now a folder.jpg", SmallJpeg()}});
    w.Select({0, 1});
    ASSERT_EQ(std::remove((w.work() + "/gone.jpg").c_str()), 0);
    ExpectErrorBox(w.ShowFirst(), "ﾌｧｲﾙ " + (w.work() + "/gone.jpg") + " は開けません.");
    EXPECT_FALSE(w.Image1->isVisible());
    EXPECT_EQ(w.Image1->toolTip(), QStringLiteral("gone.jpg"));
    EXPECT_EQ(w.Index(), 0);

    // Replaced by a folder of the same name after the listing was read.
    ASSERT_EQ(std::remove((w.work() + "/now a folder.jpg").c_str()), 0);
    w.root().MakeFolder("work/now a folder.jpg");
    ExpectErrorBox(w.Press(), "ﾌｧｲﾙ " + (w.work() + "/now a folder.jpg") + " は開けません.");
    EXPECT_EQ(w.Index(), 1);
    // The next press continues after the failed row and runs out.
    EXPECT_TRUE(w.Press().empty());
    EXPECT_EQ(w.Index(), 0);
}

TEST(PreviewErrors, UnreadableFileGivesTheOpenError)
{
    PreviewWindow w({{"locked.jpg", SmallJpeg()}});
    const std::string path = (w.work() + "/locked.jpg");
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    WithoutPermissionOverride asUser;
    // access() would answer for the real user id, root; opening answers for this thread.
    if (const int fd = open(path.c_str(), O_RDONLY); fd >= 0) {
        close(fd);
        GTEST_SKIP() << "this user reads every file";
    }
    w.Select({0});
    ExpectErrorBox(w.ShowFirst(), "ﾌｧｲﾙ " + path + " は開けません.");
    EXPECT_FALSE(w.Image1->isVisible());
}

TEST(PreviewErrors, EmptyAndTextFilesGiveTheDecoderError)
{
    PreviewWindow w({{"empty.jpg", ""}, {"text.jpg", "GIF89a, or so it says\n"}});
    w.Select({0, 1});
    ExpectErrorBox(w.ShowFirst(), JpegErrorText(JERR_INPUT_EMPTY));
    ExpectErrorBox(w.Press(), JpegErrorText(JERR_NO_SOI));
    EXPECT_FALSE(w.Image1->isVisible());
    EXPECT_EQ(w.Index(), 1);
}

TEST(PreviewErrors, TruncatedFileIsShown)
{
    const std::string whole = WriteTestJpeg(200, 150);
    PreviewWindow w({{"cut.jpg", whole.substr(0, whole.size() / 2)}});
    w.Select({0});
    EXPECT_TRUE(w.ShowFirst().empty());
    EXPECT_EQ(w.Shown(), 0);
    EXPECT_EQ(w.Image1->geometry(), QRect(2, 13, 80, 60));
}

// Damaged copies of a small picture: flipped bytes, cut files and stray markers.
std::string Mutate(const std::string& good, std::mt19937& random)
{
    std::string bytes = good;
    auto at = [&](std::size_t size) {
        return std::uniform_int_distribution<std::size_t>(0, size ? size - 1 : 0)(random);
    };
    switch (random() % 4) {
    case 0:
        for (int n = 1 + int(random() % 4); n > 0; --n)
            bytes[at(bytes.size())] = static_cast<char>(random());
        break;
    case 1:
        bytes.resize(at(bytes.size()));
        break;
    case 2: {
        static const unsigned char markers[] = {0xD8, 0xD9, 0xDA, 0xDB, 0xC0, 0xC2, 0xC4, 0xDD,
                                                0xE0, 0xFE, 0xD0, 0xFF, 0x00, 0xCC};
        std::string marker = "\xFF";
        marker += static_cast<char>(markers[random() % sizeof markers]);
        for (int n = int(random() % 5); n > 0; --n)
            marker += static_cast<char>(random());
        bytes.insert(at(bytes.size()), marker);
        break;
    }
    default: {
        // A header field (sizes, counts, table numbers) near the start.
        const std::size_t limit = std::min<std::size_t>(bytes.size(), 700);
        bytes[at(limit)] = static_cast<char>(random());
        bytes[at(limit)] ^= static_cast<char>(1 << (random() % 8));
        break;
    }
    }
    return bytes;
}

TEST(PreviewErrors, DamagedFilesEndInAPictureOrTheDecoderError)
{
    const std::string good[] = {WriteTestJpeg(24, 16, 75), WriteTestJpeg(17, 9, 90, true)};
    PreviewWindow w({{"m.jpg", good[0]}});
    w.Select({0});
    std::mt19937 random(20261208);
    int shown = 0, failed = 0;
    for (int i = 0; i < 3000; ++i) {
        const std::string bytes = Mutate(good[i % 2], random);
        w.root().Write("work/m.jpg", bytes);
        const std::vector<SeenBox> boxes = w.ShowFirst();
        if (boxes.empty()) {
            ASSERT_TRUE(w.Image1->isVisible()) << "case " << i;
            const QRect box = w.Image1->geometry();
            ASSERT_TRUE(box.width() == 80 || box.height() == 80) << "case " << i;
            ASSERT_FALSE(w.Image1->pixmap().isNull()) << "case " << i;
            ++shown;
        } else {
            ASSERT_EQ(boxes.size(), 1u) << "case " << i;
            ASSERT_TRUE(boxes[0].Text.startsWith(QStringLiteral("JPEG ｴﾗｰ #"))) << "case " << i;
            ASSERT_EQ(boxes[0].Icon, QMessageBox::Critical);
            ASSERT_FALSE(w.Image1->isVisible());
            ++failed;
        }
    }
    // Both outcomes occur, so the mutations reach the decoder's errors and its recovery.
    EXPECT_GT(shown, 300);
    EXPECT_GT(failed, 300);
}

} // namespace
