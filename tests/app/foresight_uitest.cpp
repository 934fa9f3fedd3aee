// The trial run marks the rows the execution would leave under their old names: red with a
// tooltip saying why, and a count under the closing message.
#include "filelist/widgets/namelistview.h"
#include "support/mainwindowfixture.h"

#include <QBrush>
#include <QCheckBox>
#include <QColor>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

using Names = std::vector<std::string>;

const QString kTrialDone = u"　　　　　仮実行終了　　　　\r　確認後　実行してください　"_s;
const QString kRefused = u"この名前には変更できません"_s;

bool IsRed(const QVariant& v)
{
    const QColor c = v.typeId() == QMetaType::QColor ? v.value<QColor>() : v.value<QBrush>().color();
    return v.isValid() && c.red() - c.green() >= 100 && c.red() - c.blue() >= 100;
}

TEST(Foresight, TrialRunMarksTheRowsTheExecutionWouldLeave)
{
    // Listing order: a1, a2, a3, b1, b3 ("b2.jpg" is a folder, ".b4.jpg" hidden).
    ProgramInWork w({{"a1.jpg", ""}, {"a2.jpg", ""}, {"a3.jpg", ""}, {"b1.jpg", ""},
                     {"b3.jpg", ""}, {".b4.jpg", ""}},
                    {"b2.jpg"});
    const std::string taken = u"は存在するため変更できません"_s.toStdString();
    struct Case {
        const char* label;
        const char* text;
        std::vector<int> select;
        Names rows;
        std::vector<QString> tips; // empty: not marked
        QString informative;
    };
    const QString b1 = QString::fromStdString(w.work() + "/b1.jpg" + taken);
    const QString c1 = QString::fromStdString(w.work() + "/c1.jpg" + taken);
    const std::vector<Case> cases = {
        // b1.jpg and b3.jpg are files not yet renamed away when a1 and a3 get there, b2.jpg
        // is a folder; b1 and b3 themselves keep their names, which is no failure.
        {"taken, folder, unchanged", "b", {0, 1, 2, 3, 4},
         {"b1.jpg", "b2.jpg", "b3.jpg", "b1.jpg", "b3.jpg"},
         {b1, kRefused, QString::fromStdString(w.work() + "/b3.jpg" + taken), {}, {}},
         u"赤字の3個のファイルは変更できません"_s},
        {"nothing in the way", "c", {0, 2}, {"c1.jpg", "", "c3.jpg"}, {{}, {}, {}}, {}},
        {"unsafe name", "a/", {1, 3}, {"", "a/2.jpg", "", "a/1.jpg"}, {{}, kRefused, {}, kRefused},
         u"赤字の2個のファイルは変更できません"_s},
        {"a name an earlier row took", "c", {3, 0}, {"c1.jpg", "", "", "c1.jpg"}, {{}, {}, {}, c1},
         u"赤字の1個のファイルは変更できません"_s},
    };
    Find<QCheckBox>(w.m(), "Check1")->setChecked(true);
    for (const char* off : {"Check2", "Check3", "Check4"})
        Find<QCheckBox>(w.m(), off)->setChecked(false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Find<QLineEdit>(w.m(), "textvol")->setText(QString::fromUtf8(c.text));
        std::vector<bool> flags(5, false);
        for (int r : c.select)
            flags[static_cast<std::size_t>(r)] = true;
        w.list("oldfile")->setSelectedFlags(flags);

        const std::vector<SeenBox> boxes =
            RunAnsweringBoxes([&] { Find<QPushButton>(w.m(), "Button6")->click(); });

        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].Text, kTrialDone);
        EXPECT_EQ(boxes[0].Title, u"Pelkorin"_s);
        EXPECT_EQ(boxes[0].InformativeText, c.informative);
        EXPECT_EQ(RowBytes(w.list("NewFile")), c.rows);
        const QAbstractItemModel* model = w.list("NewFile")->model();
        for (std::size_t r = 0; r < c.tips.size(); ++r) {
            const QModelIndex i = model->index(static_cast<int>(r), 0);
            EXPECT_EQ(IsRed(i.data(Qt::ForegroundRole)), !c.tips[r].isEmpty()) << r;
            EXPECT_EQ(i.data(Qt::ToolTipRole).toString(), c.tips[r]) << r;
            EXPECT_EQ(i.data(Qt::ForegroundRole).isValid(), !c.tips[r].isEmpty()) << r;
        }
    }
    // The trials renamed nothing.
    EXPECT_TRUE(w.root().Exists("work/a1.jpg"));
    EXPECT_FALSE(w.root().Exists("work/c1.jpg"));
}

} // namespace
