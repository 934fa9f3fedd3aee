// Presets as a user meets them: saved from the settings menu under a name, listed in the order
// first saved, applied, overwritten or deleted after a question, kept across starts byte for
// byte; a damaged file and a folder that can't be written lose nothing.
#include "filelist/widgets/namelistview.h"
#include "support/mainwindowfixture.h"
#include "support/permissionoverride.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

namespace fs = std::filesystem;

// A configuration folder of the case's own for its lifetime.
class ConfigHome {
public:
    ConfigHome() : old_(qgetenv("XDG_CONFIG_HOME")) { qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir_.path())); }
    ~ConfigHome() { qputenv("XDG_CONFIG_HOME", old_); }
    std::string presets() const { return dir_ / "pelkorin/presets.conf"; }
    std::string folder() const { return dir_ / "pelkorin"; }

private:
    TempFolder dir_;
    QByteArray old_;
};

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The program on three photos, as a user changes and saves it.
struct Session {
    ProgramInWork w{{{"IMG_0001.JPG", ""}, {"IMG_0002.JPG", ""}, {"IMG_0003.JPG", ""}}};
    TMain* m = w.m();

    void Text(const QString& text) const { Find<QLineEdit>(m, "textvol")->setText(text); }
    QString Text() const { return Find<QLineEdit>(m, "textvol")->text(); }
    // Saves under name; yes answers an overwrite question.
    std::vector<SeenBox> Save(const QString& name, bool yes = false) const
    {
        return RunAnsweringBoxes(
            [&] { Find<QAction>(m, "PresetSave1")->trigger(); },
            [yes](QMessageBox* box) -> QAbstractButton* {
                for (QAbstractButton* b : box->buttons())
                    if (yes && b->text() == u"はい(&Y)"_s)
                        return b;
                return nullptr;
            },
            [&](QWidget* dialog) {
                EXPECT_EQ(dialog->objectName(), u"PresetName"_s);
                auto* ask = qobject_cast<QInputDialog*>(dialog);
                ask->setTextValue(name);
                ask->accept();
            });
    }
    // The entries of a menu that stand for presets, in order.
    QStringList Entries(const char* menu) const
    {
        QStringList names;
        for (QAction* a : Find<QMenu>(m, menu)->actions())
            if (a->property("preset").isValid())
                names << a->property("preset").toString();
        return names;
    }
    std::vector<SeenBox> Choose(const char* menu, const QString& name, bool yes = false) const
    {
        for (QAction* a : Find<QMenu>(m, menu)->actions())
            if (a->property("preset").toString() == name)
                return RunAnsweringBoxes([a] { a->trigger(); },
                                         [yes](QMessageBox* b) { return yes ? b->buttons().value(0) : nullptr; });
        ADD_FAILURE() << "no preset " << name.toStdString();
        return {};
    }
};

struct PresetCase {
    const char* label;
    std::function<void(const ConfigHome&)> before; // the files there before the first start
    std::function<std::vector<SeenBox>(Session&)> use;
    QStringList boxes;                   // texts of every box the use showed
    QStringList listed;                  // the presets listed after the use, and after a restart
    std::optional<QStringList> restarted; // when they differ after a restart
    std::function<void(const ConfigHome&, Session& restarted)> after;
};

std::vector<SeenBox> Joined(std::vector<SeenBox> a, const std::vector<SeenBox>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(Presets, SavedAppliedOverwrittenAndDeletedAsTheUserAnswers)
{
    const QString kyoto = u"%Y%m%d_京都_ｶﾒﾗ_"_s;
    const PresetCase cases[] = {
        {"two saved, applied after a restart", {},
         [](Session& s) {
             s.Text(u"trip_"_s);
             Find<QCheckBox>(s.m, "Check3")->setChecked(true);
             auto seen = s.Save(u"旅"_s);
             s.Text(u"home_"_s);
             Find<QCheckBox>(s.m, "Check3")->setChecked(false);
             return Joined(seen, s.Save(u"家"_s));
         },
         {}, {u"旅"_s, u"家"_s}, std::nullopt,
         [](const ConfigHome&, Session& s) {
             // A trial run shown, then the preset: every value as saved, the rows grey.
             s.w.SelectRows({0, 1});
             s.w.Press("Button6");
             s.Choose("Presets1", u"旅"_s);
             EXPECT_EQ(s.Text(), u"trip_"_s);
             EXPECT_TRUE(Find<QCheckBox>(s.m, "Check3")->isChecked());
             EXPECT_EQ(s.w.list("NewFile")->model()->index(0, 0).data(Qt::ToolTipRole).toString(),
                       u"仮実行の後で変更されています"_s);
         }},
        {"a name saved again, answered no", {},
         [](Session& s) {
             s.Text(u"first_"_s);
             auto seen = s.Save(u" 旅 "_s);
             s.Text(u"second_"_s);
             return Joined(seen, s.Save(u"旅"_s));
         },
         {u"プリセット「旅」を上書きしますか？"_s}, {u"旅"_s}, std::nullopt,
         [](const ConfigHome&, Session& s) {
             s.Choose("Presets1", u"旅"_s);
             EXPECT_EQ(s.Text(), u"first_"_s);
         }},
        {"a name saved again, answered yes", {},
         [](Session& s) {
             s.Text(u"first_"_s);
             auto seen = s.Save(u"旅"_s);
             seen = Joined(seen, s.Save(u"家"_s));
             s.Text(u"second_"_s);
             return Joined(seen, s.Save(u"旅"_s, true));
         },
         {u"プリセット「旅」を上書きしますか？"_s}, {u"旅"_s, u"家"_s}, std::nullopt,
         [](const ConfigHome&, Session& s) {
             s.Choose("Presets1", u"旅"_s);
             EXPECT_EQ(s.Text(), u"second_"_s);
         }},
        {"deleted after yes, kept after no", {},
         [](Session& s) {
             auto seen = Joined(s.Save(u"旅"_s), s.Save(u"家"_s));
             seen = Joined(seen, s.Choose("PresetDelete1", u"家"_s));
             return Joined(seen, s.Choose("PresetDelete1", u"旅"_s, true));
         },
         {u"プリセット「家」を削除しますか？"_s, u"プリセット「旅」を削除しますか？"_s}, {u"家"_s}, std::nullopt, {}},
        {"an empty name saves nothing", {}, [](Session& s) { return s.Save(u"   "_s); }, {}, {}, std::nullopt, {}},
        {"Japanese name and pattern byte for byte, with the menu options", {},
         [kyoto](Session& s) {
             s.Text(kyoto);
             Find<QAction>(s.m, "CaptureName1")->setChecked(true);
             Find<QAction>(s.m, "DayCounter1")->setChecked(true);
             auto seen = s.Save(u"京都 ｶﾒﾗ＆旅"_s);
             Find<QAction>(s.m, "CaptureName1")->setChecked(false);
             Find<QAction>(s.m, "DayCounter1")->setChecked(false);
             s.Text({});
             return seen;
         },
         {}, {u"京都 ｶﾒﾗ＆旅"_s}, std::nullopt,
         [kyoto](const ConfigHome&, Session& s) {
             s.Choose("Presets1", u"京都 ｶﾒﾗ＆旅"_s);
             EXPECT_EQ(s.Text().toUtf8(), kyoto.toUtf8());
             EXPECT_TRUE(Find<QAction>(s.m, "CaptureName1")->isChecked());
             EXPECT_TRUE(Find<QAction>(s.m, "DayCounter1")->isChecked());
         }},
        {"a damaged file reads as none and is kept when the user saves",
         [](const ConfigHome& h) {
             fs::create_directories(h.folder());
             std::ofstream(h.presets(), std::ios::binary) << "[General\nFormat=1\n[presets]\nsize=1\n1\\Name=x\n";
         },
         [](Session& s) {
             EXPECT_TRUE(s.Entries("Presets1").isEmpty());
             return s.Save(u"新"_s);
         },
         {}, {u"新"_s}, std::nullopt,
         [](const ConfigHome& h, Session&) {
             EXPECT_EQ(FileBytes(h.presets() + ".damaged"), "[General\nFormat=1\n[presets]\nsize=1\n1\\Name=x\n");
         }},
        {"a folder that can't be written: the box, and the preset for this session",
         [](const ConfigHome& h) {
             fs::create_directories(h.folder());
             chmod(h.folder().c_str(), 0555);
         },
         [](Session& s) {
             const WithoutPermissionOverride asUser;
             return s.Save(u"旅"_s);
         },
         {}, {u"旅"_s}, QStringList{},
         [](const ConfigHome& h, Session&) { EXPECT_FALSE(fs::exists(h.presets())); }},
    };
    for (const PresetCase& c : cases) {
        SCOPED_TRACE(c.label);
        const ConfigHome home;
        if (c.before)
            c.before(home);
        QStringList boxes;
        const std::string damagedBefore = FileBytes(home.presets());
        {
            Session s;
            // Nothing is written at start, a damaged file least of all.
            EXPECT_EQ(FileBytes(home.presets()), damagedBefore);
            for (const SeenBox& b : c.use(s))
                boxes << b.Text;
            EXPECT_EQ(s.Entries("Presets1"), c.listed);
            EXPECT_EQ(s.Entries("PresetDelete1"), c.listed);
        }
        QStringList expectedBoxes = c.boxes;
        if (c.restarted) // the unwritable case: its one box
            expectedBoxes << u"ファイルを書き込めません: "_s + QString::fromStdString(home.presets()) + u"."_s;
        EXPECT_EQ(boxes, expectedBoxes);
        Session again;
        EXPECT_EQ(again.Entries("Presets1"), c.restarted.value_or(c.listed));
        if (c.after)
            c.after(home, again);
        chmod(home.folder().c_str(), 0755);
    }
}

// With names from capture times, a click on the list leaves the pattern in textvol; without,
// it copies the clicked row's text part as before.
TEST(Presets, ClickKeepsAPatternOfCaptureTimes)
{
    const ConfigHome home;
    for (const bool pattern : {true, false}) {
        SCOPED_TRACE(pattern);
        Session s;
        Find<QAction>(s.m, "CaptureName1")->setChecked(pattern);
        s.Text(u"%Y%m%d_Kyoto_"_s);
        s.w.SelectRows({1});
        emit s.w.list("oldfile")->userSelectionChanged();
        EXPECT_EQ(s.Text(), pattern ? u"%Y%m%d_Kyoto_"_s : u"IMG_"_s);
    }
}
