// Deleting the selected files through the real window, its question box and real folders.
#include "filelist/widgets/namelistview.h"
#include "support/mainwindowfixture.h"
#include "support/permissionoverride.h"
#include "support/tempfolder.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Names = std::vector<std::string>;

const QString kNothingSelected = QStringLiteral("ファイルが選択されていません。");
const QString kYes = QStringLiteral("はい(&Y)");
const QString kNo = QStringLiteral("いいえ(&N)");

QString Question(int count)
{
    return QStringLiteral("選択された") + QString::number(count) + QStringLiteral("個のファイルを削除します。");
}

// What the question box offered, beyond what SeenBox records.
struct Offered {
    QString defaultButton, escapeButton;
};

// Each file holds "content of " + its name.
std::vector<std::pair<std::string, std::string>> WithContent(const Names& names)
{
    std::vector<std::pair<std::string, std::string>> files;
    for (const std::string& name : names)
        files.emplace_back(name, "content of " + name);
    return files;
}

class Window : public ProgramInWork {
public:
    explicit Window(const Names& files) : ProgramInWork(WithContent(files)) {}
    // Fills NewFile with a trial run over the first row, so emptying it shows.
    void FillNewFile() const
    {
        list("oldfile")->setSelectedFlags({true});
        Press("Button6");
        ASSERT_GT(list("NewFile")->rowCount(), 0);
    }
    // Presses Button8 (or triggers N14) and answers the question with answer.
    std::vector<SeenBox> Delete(const BoxAnswer& answer = {}, Offered* offered = nullptr,
                                bool fromMenu = false) const
    {
        return RunAnsweringBoxes(
            [&] {
                if (fromMenu)
                    Find<QAction>(m(), "N14")->trigger();
                else
                    Find<QPushButton>(m(), "Button8")->click();
            },
            [&](QMessageBox* box) -> QAbstractButton* {
                if (offered && box->defaultButton() && box->escapeButton())
                    *offered = {box->defaultButton()->text(), box->escapeButton()->text()};
                return answer ? answer(box) : nullptr;
            });
    }

};

void ExpectQuestion(const std::vector<SeenBox>& boxes, int count)
{
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Title, QStringLiteral("警告"));
    EXPECT_EQ(boxes[0].Icon, QMessageBox::Warning);
    EXPECT_EQ(boxes[0].Text, Question(count));
    EXPECT_EQ(boxes[0].Buttons, (QStringList{kYes, kNo}));
}

// The list after the re-read: the folder's files in name order, nothing selected, no new names.
void ExpectReRead(const Window& w, const Names& listed)
{
    EXPECT_EQ(RowBytes(w.list("oldfile")), listed);
    EXPECT_EQ(w.list("oldfile")->selectedFlags(), std::vector<bool>(listed.size(), false));
    EXPECT_EQ(w.list("NewFile")->rowCount(), 0);
}

TEST(DeleteFiles, ThreeSelectedFilesGoAndOnlyThose)
{
    const Names files = {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"};
    for (const bool fromMenu : {false, true}) {
        SCOPED_TRACE(fromMenu ? "context entry" : "button");
        Window w(files);
        w.FillNewFile();
        w.SelectNames({"b.jpg", "c.jpg", "e.jpg"});
        Offered offered;
        const std::vector<SeenBox> boxes = w.Delete({}, &offered, fromMenu);
        ExpectQuestion(boxes, 3);
        EXPECT_EQ(offered.defaultButton, kYes);
        EXPECT_EQ(offered.escapeButton, kNo);
        EXPECT_EQ(w.counter(), QStringLiteral("003/003"));
        EXPECT_EQ(w.OnDisk(), (Names{"a.jpg", "d.jpg"}));
        ExpectReRead(w, {"a.jpg", "d.jpg"});
        EXPECT_EQ(w.root().Read("work/a.jpg"), "content of a.jpg");
    }
}

// Any answer but "はい(&Y)" deletes nothing, yet the list is read again.
TEST(DeleteFiles, OnlyYesDeletes)
{
    QPushButton elsewhere; // clicked after the box has been answered some other way
    struct Case {
        const char* label;
        BoxAnswer answer;
        bool deletes;
    };
    const std::vector<Case> cases = {
        {"いいえ(&N)", [](QMessageBox* box) { return box->buttons().at(1); }, false},
        {"Escape",
         [&](QMessageBox* box) -> QAbstractButton* {
             QTest::keyClick(box, Qt::Key_Escape);
             return &elsewhere;
         },
         false},
        {"closed",
         [&](QMessageBox* box) -> QAbstractButton* {
             box->close();
             return &elsewhere;
         },
         false},
        {"Enter",
         [&](QMessageBox* box) -> QAbstractButton* {
             QTest::keyClick(box, Qt::Key_Return);
             return &elsewhere;
         },
         true},
    };
    const Names files = {"k1.jpg", "k2.jpg", "k3.jpg"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Window w(files);
        // A hand-made order, which the re-read replaces with name order.
        w.SelectNames({"k1.jpg"});
        RunAnsweringBoxes([&] { Find<QPushButton>(w.m(), "Button2")->click(); });
        ASSERT_EQ(RowBytes(w.list("oldfile")), (Names{"k2.jpg", "k1.jpg", "k3.jpg"}));
        w.FillNewFile();
        w.SelectNames({"k1.jpg", "k3.jpg"});

        ExpectQuestion(w.Delete(c.answer), 2);
        const Names left = c.deletes ? Names{"k2.jpg"} : files;
        EXPECT_EQ(w.OnDisk(), left);
        EXPECT_EQ(w.counter(), c.deletes ? QStringLiteral("002/002") : QStringLiteral("000/000"));
        ExpectReRead(w, left);
    }
}

TEST(DeleteFiles, NothingSelectedSaysSoAndDoesNotReadTheFolderAgain)
{
    Window w({"m1.jpg", "m2.jpg"});
    w.FillNewFile();
    w.list("oldfile")->setSelectedFlags({false, false});
    w.root().Write("work/m0.jpg"); // would show up in a re-read

    const std::vector<SeenBox> boxes = w.Delete();

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, kNothingSelected);
    EXPECT_EQ(boxes[0].Title, QStringLiteral("Pelkorin"));
    EXPECT_EQ(boxes[0].Icon, QMessageBox::NoIcon);
    EXPECT_EQ(RowBytes(w.list("oldfile")), (Names{"m1.jpg", "m2.jpg"}));
    EXPECT_EQ(w.list("NewFile")->rowCount(), 0);
    EXPECT_EQ(w.counter(), QStringLiteral("000/000"));
    EXPECT_EQ(w.OnDisk(), (Names{"m0.jpg", "m1.jpg", "m2.jpg"}));
}

TEST(DeleteFiles, ManyFilesShowTheFullCountInTheQuestionAndThreeDigitsInTheCounter)
{
    struct Case {
        int files, selected;
        QString counter;
    };
    const std::vector<Case> cases = {
        {1000, 1000, QStringLiteral("000/000")},
        {1300, 1234, QStringLiteral("234/234")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected);
        Names files;
        for (int i = 0; i < c.files; ++i)
            files.push_back("n" + std::to_string(10000 + i) + ".jpg");
        Window w(files);
        const Names selected(files.begin(), files.begin() + c.selected);
        const Names kept(files.begin() + c.selected, files.end());
        w.SelectNames(selected);
        ExpectQuestion(w.Delete(), c.selected);
        EXPECT_EQ(w.counter(), c.counter);
        EXPECT_EQ(w.OnDisk(), kept);
        ExpectReRead(w, kept);
    }
}

TEST(DeleteFiles, FilesThatCannotBeDeletedArePassedOverAndListedAgain)
{
    Window w({"r1.jpg", "r2.jpg", "r3.jpg"});
    w.SelectNames({"r1.jpg", "r3.jpg"});
    const WithoutPermissionOverride bound;
    ASSERT_EQ(chmod(w.work().c_str(), 0555), 0);
    const auto restore = qScopeGuard([&] { chmod(w.work().c_str(), 0755); });
    const int probe = open((w.work() + "/probe").c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    if (probe >= 0) {
        close(probe);
        unlink((w.work() + "/probe").c_str());
        GTEST_SKIP() << "a read-only folder is still writable here";
    }

    const std::vector<SeenBox> boxes = w.Delete();

    ExpectQuestion(boxes, 2); // and no error box
    EXPECT_EQ(w.counter(), QStringLiteral("002/002"));
    EXPECT_EQ(w.OnDisk(), (Names{"r1.jpg", "r2.jpg", "r3.jpg"}));
    ExpectReRead(w, {"r1.jpg", "r2.jpg", "r3.jpg"});
}

TEST(DeleteFiles, ANameThatIsNotUtf8IsDeletedByItsBytes)
{
    const std::string sjis = "\x82\xa0\x82\xa2.jpg"; // Shift-JIS, not UTF-8
    const std::string near = "\x82\xa0.jpg";
    Window w({sjis, near, "plain.jpg"});
    w.SelectNames({sjis});
    ExpectQuestion(w.Delete(), 1);
    EXPECT_EQ(w.OnDisk(), (Names{"plain.jpg", near})); // sorted as signed chars
    EXPECT_EQ(w.root().Read("work/" + near), "content of " + near);
    EXPECT_EQ(w.counter(), QStringLiteral("001/001"));
}

TEST(DeleteFiles, ASymbolicLinkGoesAsALinkAndItsTargetStays)
{
    Window w({"kept.jpg"});
    w.root().Write("target.jpg", "target");
    ASSERT_EQ(symlink((w.root() / "target.jpg").c_str(), (w.work() + "/link.jpg").c_str()), 0);
    Find<QPushButton>(w.m(), "Button11")->click();
    w.SelectNames({"link.jpg"});
    ExpectQuestion(w.Delete(), 1);
    EXPECT_EQ(w.OnDisk(), Names{"kept.jpg"});
    EXPECT_EQ(w.root().Read("target.jpg"), "target");
    ExpectReRead(w, {"kept.jpg"});
}

TEST(DeleteFiles, ARowWhoseNameIsNowAFolderIsLeftAlone)
{
    Window w({"x.jpg", "y.jpg"});
    w.SelectNames({"x.jpg", "y.jpg"});
    ASSERT_EQ(unlink((w.work() + "/x.jpg").c_str()), 0);
    w.root().MakeFolder("work/x.jpg");
    w.root().Write("work/x.jpg/inside.jpg", "inside");

    ExpectQuestion(w.Delete(), 2);
    EXPECT_EQ(w.counter(), QStringLiteral("002/002"));
    EXPECT_EQ(w.OnDisk(), Names{"x.jpg"});
    EXPECT_EQ(w.root().Read("work/x.jpg/inside.jpg"), "inside");
    ExpectReRead(w, {}); // a folder is no row of the list
}

} // namespace
