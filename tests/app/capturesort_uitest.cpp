// The capture-date sort of the context menu, on real JPEG files whose capture times and
// modification times disagree, driven through the real window.
#include "filelist/widgets/namelistview.h"
#include "support/exifjpeg.h"
#include "support/formatfiles.h"
#include "support/localtime.h"
#include "support/mainwindowfixture.h"
#include "support/tempfolder.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTreeView>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

using Names = std::vector<std::string>;

std::string Photo(const std::string& original, const std::string& subSeconds = {},
                  bool bigEndian = false)
{
    ExifTags tags;
    tags.DateTimeOriginal = original;
    tags.SubSecTimeOriginal = subSeconds;
    tags.BigEndian = bigEndian;
    tags.Thumbnail = WriteTestJpeg(32, 24);
    return JpegWithExif(tags, {.JfifFirst = true});
}

std::time_t At(int year)
{
    std::tm t = LocalTime(year, 6, 1, 12, 0, 0);
    return std::mktime(&t);
}

class Window : public ProgramInWork {
public:
    using ProgramInWork::ProgramInWork;

    QStringList Keys() const
    {
        const QAbstractItemModel* aid = Find<QTreeView>(m(), "fileList")->model();
        QStringList keys;
        for (int r = 0; r < aid->rowCount(); ++r)
            keys << aid->index(r, 0).data().toString();
        return keys;
    }
    // Sorts by the entry and checks what every sort leaves besides the order.
    Names Sort(const char* entry) const
    {
        NameListView* oldfile = list("oldfile");
        oldfile->setSelectedFlags(std::vector<bool>(static_cast<std::size_t>(oldfile->rowCount()), true));
        const QString before = counter();
        EXPECT_TRUE(Trigger(entry).empty()) << entry;
        EXPECT_EQ(oldfile->selectionModel()->selectedRows().size(), 0) << entry;
        EXPECT_EQ(oldfile->topRow(), 0) << entry;
        EXPECT_EQ(list("NewFile")->rowCount(), 0) << entry;
        EXPECT_EQ(counter(), before) << entry;
        return RowBytes(oldfile);
    }
};

TEST(CaptureSort, MenuEntryFollowsTheDateSort)
{
    Window w(std::vector<std::pair<std::string, std::string>>{});
    QStringList entries;
    for (QAction* a : Find<QMenu>(w.m(), "PopupMenu1")->actions())
        entries << a->objectName();
    const auto n6 = entries.indexOf(u"N6"_s);
    ASSERT_GE(n6, 0);
    ASSERT_LT(n6 + 1, entries.size());
    EXPECT_EQ(entries[n6 + 1], u"N15"_s);
    EXPECT_EQ(Find<QAction>(w.m(), "N15")->text(), u"撮影日時でソート"_s);
    EXPECT_TRUE(w.Sort("N15").empty());
}

TEST(CaptureSort, CameraTimesFirstThenTheRestByModificationTime)
{
    std::string cut = Photo("2018:01:01 00:00:00");
    cut.resize(100); // ends inside the EXIF block
    ExifTags undatedTags;
    undatedTags.DateTimeOriginal = "2021:02:30 10:00:00";
    const std::vector<std::pair<std::string, std::string>> files = {
        {"a.jpg", Photo("2020:05:01 10:00:00")},
        {"b.jpg", Photo("2019:01:01 08:00:00")},
        {"c.JPG", Photo("2020:05:01 10:00:00", "5")}, // half a second after a.jpg
        {"d.jpg", Photo("2019:01:01 08:00:00", {}, true)}, // same as b.jpg
        {"e.jpg", WriteTestJpeg(16, 16)},
        {"f.txt", "2017:01:01 00:00:00"},
        {"g.jpg", JpegWithExif(undatedTags)},
        {"h.jpg", cut},
    };
    Window w(files);
    const std::pair<const char*, int> modified[] = {{"a.jpg", 2001}, {"b.jpg", 2030}, {"c.JPG", 1999},
                                                    {"d.jpg", 2000}, {"e.jpg", 2010}, {"f.txt", 2005},
                                                    {"g.jpg", 2015}, {"h.jpg", 2003}};
    for (const auto& [name, year] : modified)
        ASSERT_TRUE(w.root().Touch(std::string("work/") + name, At(year))) << name;
    // A named pipe under a photo's name, nobody writing to it, must not stall the sort.
    ASSERT_EQ(mkfifo((w.work() + "/i.jpg").c_str(), 0644), 0);
    ASSERT_TRUE(w.root().Touch("work/i.jpg", At(2004)));
    EXPECT_TRUE(w.Press("Button11").empty()); // read the listing again
    ASSERT_EQ(RowBytes(w.list("oldfile")).size(), 9u);

    EXPECT_EQ(w.Sort("N6"), (Names{"c.JPG", "d.jpg", "a.jpg", "h.jpg", "i.jpg", "f.txt", "e.jpg",
                                   "g.jpg", "b.jpg"}));
    EXPECT_EQ(w.Sort("N15"), (Names{"b.jpg", "d.jpg", "a.jpg", "c.JPG", "h.jpg", "i.jpg", "f.txt",
                                    "e.jpg", "g.jpg"}));
    const QStringList keys = w.Keys();
    ASSERT_EQ(keys.size(), 9);
    EXPECT_EQ(keys[0], u"2019:01:01 08:00:00.000000000"_s);
    EXPECT_EQ(keys[1], keys[0]);
    EXPECT_EQ(keys[3], u"2020:05:01 10:00:00.500000000"_s);
    EXPECT_EQ(keys[4].size(), 12); // a date key
    // Another sort starts again from the listing.
    EXPECT_EQ(w.Sort("N4"), (Names{"a.jpg", "b.jpg", "c.JPG", "d.jpg", "e.jpg", "f.txt", "g.jpg",
                                   "h.jpg", "i.jpg"}));
}

TEST(CaptureSort, TrialRunAndExecuteNumberThePhotosInCaptureOrder)
{
    const std::vector<std::pair<std::string, std::string>> files = {
        {"x.jpg", Photo("2022:03:03 09:00:00")},
        {"y.jpg", Photo("2022:03:01 09:00:00")},
        {"z.jpg", Photo("2022:03:02 09:00:00")},
    };
    Window w(files);
    for (const auto& [name, year] : {std::pair{"x.jpg", 2001}, {"y.jpg", 2003}, {"z.jpg", 2002}})
        ASSERT_TRUE(w.root().Touch(std::string("work/") + name, At(year)));
    ASSERT_EQ(w.Sort("N15"), (Names{"y.jpg", "z.jpg", "x.jpg"}));

    Find<QCheckBox>(w.m(), "Check1")->setChecked(true);
    Find<QLineEdit>(w.m(), "textvol")->setText(u"photo"_s);
    Find<QCheckBox>(w.m(), "Check2")->setChecked(true);
    Find<QSpinBox>(w.m(), "UpDown1")->setValue(3);
    Find<QCheckBox>(w.m(), "Check3")->setChecked(true); // numbers in list order
    Find<QLineEdit>(w.m(), "text2")->setText(u"1"_s);
    Find<QCheckBox>(w.m(), "Check4")->setChecked(false);
    EXPECT_TRUE(w.Press("Button3").empty());
    ASSERT_EQ(w.Press("Button6").size(), 1u);
    ASSERT_EQ(RowBytes(w.list("NewFile")), (Names{"photo001.jpg", "photo002.jpg", "photo003.jpg"}));
    w.Press("Button7");
    // The photo taken first carries the first number, whatever its modification time.
    EXPECT_TRUE(w.root().Read("work/photo001.jpg") == files[1].second);
    EXPECT_TRUE(w.root().Read("work/photo002.jpg") == files[2].second);
    EXPECT_TRUE(w.root().Read("work/photo003.jpg") == files[0].second);
    EXPECT_FALSE(w.root().Exists("work/x.jpg"));
}

TEST(CaptureSort, UsesTheListingAsLastRead)
{
    Window w({{"a.jpg", Photo("2022:01:02 00:00:00")}, {"b.jpg", Photo("2022:01:01 00:00:00")}});
    w.root().Write("work/0new.jpg", Photo("2000:01:01 00:00:00"));
    ASSERT_TRUE(w.root().Exists("work/b.jpg"));
    ASSERT_EQ(std::remove((w.work() + "/b.jpg").c_str()), 0);
    // b.jpg is gone: no capture time, and the date key of a file that can't be examined.
    EXPECT_EQ(w.Sort("N15"), (Names{"a.jpg", "b.jpg"}));
    EXPECT_EQ(w.Keys()[1], u"0000000000-1"_s);
}

// Names from capture times: the pattern on each photo's own clock, a burst within one second
// told apart by the sequence number (and shown colliding without it), and a photo without a
// capture time kept, marked, yet numbered.
TEST(CaptureNames, PatternNamesThePhotosAndMarksTheOneWithoutATime)
{
    Window w({{"a.JPG", Photo("2024:05:12 14:30:15")}, {"b.JPG", Photo("2024:05:12 14:30:15")},
              {"c.JPG", "no EXIF here"}, {"d.jpg", Photo("1999:12:31 23:59:59")}});
    auto* option = Find<QAction>(w.m(), "CaptureName1");
    EXPECT_EQ(option->text(), u"撮影日時を名前に使う(&T)"_s);
    option->setChecked(true);
    const auto off = qScopeGuard([&] { option->setChecked(false); });
    Find<QCheckBox>(w.m(), "Check1")->setChecked(true);
    Find<QLineEdit>(w.m(), "textvol")->setText(u"%Y-%m-%d_%H%M%S_%q%%"_s);
    Find<QCheckBox>(w.m(), "Check2")->setChecked(true);
    Find<QCheckBox>(w.m(), "Check3")->setChecked(true);
    Find<QCheckBox>(w.m(), "Check4")->setChecked(false);
    Find<QLineEdit>(w.m(), "text2")->setText(u"1"_s);
    w.SelectRows({0, 1, 2, 3});
    NameListView* newFile = w.list("NewFile");
    const auto tips = [&] {
        QStringList t;
        for (int r = 0; r < newFile->rowCount(); ++r)
            t << newFile->model()->index(r, 0).data(Qt::ToolTipRole).toString();
        return t;
    };

    const std::vector<SeenBox> trial = w.Press("Button6");
    ASSERT_EQ(trial.size(), 1u);
    EXPECT_EQ(trial[0].InformativeText, u"赤字の1個のファイルは変更できません"_s);
    EXPECT_EQ(RowBytes(newFile), (Names{"2024-05-12_143015_%q%001.JPG", "2024-05-12_143015_%q%002.JPG", "c.JPG",
                                        "1999-12-31_235959_%q%004.jpg"}));
    EXPECT_EQ(tips(), (QStringList{{}, {}, u"撮影日時がありません"_s, {}}));

    // Without sequence numbers the burst collides, and the trial run says so.
    Find<QCheckBox>(w.m(), "Check3")->setChecked(false);
    Find<QCheckBox>(w.m(), "Check2")->setChecked(false);
    w.Press("Button6");
    EXPECT_EQ(RowBytes(newFile)[1], "2024-05-12_143015_%q%.JPG");
    EXPECT_TRUE(tips()[1].endsWith(u"は存在するため変更できません"_s)) << tips()[1].toStdString();

    Find<QCheckBox>(w.m(), "Check3")->setChecked(true);
    Find<QCheckBox>(w.m(), "Check2")->setChecked(true);
    w.Press("Button7");
    EXPECT_EQ(w.OnDisk(), (Names{"1999-12-31_235959_%q%004.jpg", "2024-05-12_143015_%q%001.JPG",
                                 "2024-05-12_143015_%q%002.JPG", "c.JPG"}));
}

// A folder of raw files and a movie named after camera and lens: a file without the lens its
// pattern names is kept and marked, and a missing time's mark comes before it.
TEST(CaptureNames, CameraAndLensNameRawFilesAndMarkTheFilesWithoutThem)
{
    ExifTags noLens;
    noLens.DateTimeOriginal = "2021:05:01 07:00:00";
    noLens.Model = "D850";
    Window w({{"a.CR3", Cr3File("Canon", "EOS R5", "2021:05:01 05:00:00", "RF/50mm")},
              {"b.NEF", RawTiffFile(noLens)}, {"c.MOV", MovieFile("qt  ", 1700000000)}, {"d.ARW", "no EXIF here"}});
    auto* option = Find<QAction>(w.m(), "CaptureName1");
    option->setChecked(true);
    const auto off = qScopeGuard([&] { option->setChecked(false); });
    Find<QCheckBox>(w.m(), "Check1")->setChecked(true);
    Find<QLineEdit>(w.m(), "textvol")->setText(u"%Y%m%d_%{make}_%{lens}"_s);
    Find<QCheckBox>(w.m(), "Check2")->setChecked(false);
    Find<QCheckBox>(w.m(), "Check3")->setChecked(false);
    w.SelectRows({0, 1, 2, 3});
    NameListView* newFile = w.list("NewFile");
    w.Press("Button6");
    EXPECT_EQ(RowBytes(newFile), (Names{"20210501_Canon_RF_50mm.CR3", "b.NEF", "c.MOV", "d.ARW"}));
    QStringList tips;
    for (int r = 0; r < newFile->rowCount(); ++r)
        tips << newFile->model()->index(r, 0).data(Qt::ToolTipRole).toString();
    EXPECT_EQ(tips, (QStringList{{}, u"撮影情報がありません"_s, u"撮影情報がありません"_s, u"撮影日時がありません"_s}));
}

// With companions on, a sidecar follows its photo's name from the capture time, and needs no
// time of its own even when it is selected too.
TEST(CaptureNames, CompanionsFollowThePhotosTimeName)
{
    Window w({{"a.JPG", Photo("2024:05:12 14:30:15")}, {"a.xmp", "<x:xmpmeta/>"}});
    auto* captureName = Find<QAction>(w.m(), "CaptureName1");
    auto* companions = Find<QAction>(w.m(), "Companions1");
    captureName->setChecked(true);
    companions->setChecked(true);
    const auto off = qScopeGuard([&] {
        captureName->setChecked(false);
        companions->setChecked(false);
    });
    Find<QLineEdit>(w.m(), "textvol")->setText(u"%Y%m%d_"_s);
    w.SelectRows({0, 1});
    w.Press("Button6");
    NameListView* newFile = w.list("NewFile");
    EXPECT_EQ(RowBytes(newFile), (Names{"20240512_000.JPG", "20240512_000.xmp"}));
    for (int r = 0; r < 2; ++r)
        EXPECT_EQ(newFile->model()->index(r, 0).data(Qt::ToolTipRole).toString(), QString()) << r;
}

} // namespace
