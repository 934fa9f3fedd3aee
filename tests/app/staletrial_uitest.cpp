// Rows of a trial run that no longer hold: once the selection, the order or an input of the
// names changes, every non-empty NewFile row turns grey with a tooltip saying so, and the
// next trial run clears it.
#include "filelist/widgets/namelistview.h"
#include "support/dialogdriving.h"
#include "support/rowname.h"

#include <QAction>
#include <QBrush>
#include <QCheckBox>
#include <QColor>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString kStale = u"仮実行の後で変更されています"_s;

bool IsGrey(const QVariant& v)
{
    if (!v.isValid())
        return false;
    const QColor c = v.typeId() == QMetaType::QColor ? v.value<QColor>() : v.value<QBrush>().color();
    const int parts[] = {c.red(), c.green(), c.blue()};
    const auto [low, high] = std::minmax_element(std::begin(parts), std::end(parts));
    return *low >= 96 && *high <= 200 && *high - *low < 30;
}

// The program on a folder of four photos after a trial run on rows 0 and 2 (row 1 empty).
struct TrialWindow {
    ProgramInWork w{{{"a1.jpg", ""}, {"a2.jpg", ""}, {"a3.jpg", ""}, {"b.JPG", ""}}};
    TMain* m = w.m();
    NameListView* oldfile = w.list("oldfile");
    NameListView* NewFile = w.list("NewFile");

    TrialWindow()
    {
        // Every box off, as the options dialog starts without a settings file, so that "登録"
        // changes only what a row asks for.
        for (const char* box : {"Check1", "Check2", "Check3", "Check4"})
            Find<QCheckBox>(m, box)->setChecked(false);
        Trial();
    }
    void Trial()
    {
        oldfile->setSelectedFlags({true, false, true, false});
        RunAnsweringBoxes([&] { Find<QPushButton>(m, "Button6")->click(); });
    }
    void Options(const char* page, const char* box)
    {
        const ModalRun run = WithOptions(m, {OptionStep([&](QWidget* d) {
            Find<QTabWidget>(d, "PageControl1")->setCurrentWidget(Find(d, page));
            Find<QCheckBox>(d, box)->click();
            Find<QPushButton>(d, "optOK")->click();
        })});
        EXPECT_EQ(run.StepsDone, 1u);
        EXPECT_TRUE(run.Unexpected.isEmpty()) << run.Unexpected.join(u", "_s).toStdString();
    }
    void Click(const char* name) { Find<QPushButton>(m, name)->click(); }
    // The box may be disabled (its check box off), which keeps out the keyboard, not the program.
    void Type(const char* name, const char* text)
    {
        QLineEdit* edit = Find<QLineEdit>(m, name);
        edit->setText(edit->text() + QString::fromUtf8(text));
    }
    // Each non-empty row: grey with the tooltip (stale) or neither.
    void ExpectRows(bool stale) const
    {
        const QAbstractItemModel* rows = NewFile->model();
        for (int r = 0; r < rows->rowCount(); ++r) {
            const QModelIndex i = rows->index(r, 0);
            const bool shown = stale && !i.data().toString().isEmpty();
            EXPECT_EQ(IsGrey(i.data(Qt::ForegroundRole)), shown) << r;
            EXPECT_EQ(i.data(Qt::ToolTipRole).toString() == kStale, shown) << r;
        }
    }
};

struct StaleCase {
    const char* label;
    std::function<void(TrialWindow&)> change;
    bool empties = false; // the sorts refill oldfile and empty NewFile
};

class StaleTrialRows : public testing::TestWithParam<StaleCase> {};

TEST_P(StaleTrialRows, GreysTheRowsUntilTheNextTrialRun)
{
    TrialWindow t;
    const std::vector<std::string> made = RowBytes(t.NewFile);
    ASSERT_EQ(made, (std::vector<std::string>{"a1.jpg", "", "a3.jpg"}));
    t.ExpectRows(false);

    GetParam().change(t);

    if (GetParam().empties) {
        EXPECT_EQ(t.NewFile->rowCount(), 0);
    } else {
        EXPECT_EQ(RowBytes(t.NewFile), made);
        t.ExpectRows(true);
    }
    t.Trial();
    EXPECT_GT(t.NewFile->rowCount(), 0);
    t.ExpectRows(false);
}

const StaleCase kStaleCases[] = {
    {"user clicks a row", [](TrialWindow& t) {
         QTest::mouseClick(t.oldfile->viewport(), Qt::LeftButton, {},
                           t.oldfile->visualRect(t.oldfile->model()->index(3, 0)).center());
     }},
    {"select all", [](TrialWindow& t) { t.Click("Button3"); }},
    {"select none", [](TrialWindow& t) { t.Click("Button4"); }},
    {"move down", [](TrialWindow& t) { t.Click("Button2"); }},
    {"sort by extension", [](TrialWindow& t) { Find<QAction>(t.m, "N5")->trigger(); }, true},
    {"capture-date sort", [](TrialWindow& t) { Find<QAction>(t.m, "N15")->trigger(); }, true},
    {"Check1", [](TrialWindow& t) { Find<QCheckBox>(t.m, "Check1")->click(); }},
    {"Check2", [](TrialWindow& t) { Find<QCheckBox>(t.m, "Check2")->click(); }},
    {"Check3", [](TrialWindow& t) { Find<QCheckBox>(t.m, "Check3")->click(); }},
    {"Check4", [](TrialWindow& t) { Find<QCheckBox>(t.m, "Check4")->click(); }},
    {"textvol", [](TrialWindow& t) { t.Type("textvol", "z"); }},
    {"digit count", [](TrialWindow& t) { Find<QSpinBox>(t.m, "UpDown1")->stepBy(1); }},
    {"text2", [](TrialWindow& t) { t.Type("text2", "7"); }},
    {"Edit4", [](TrialWindow& t) { t.Type("Edit4", "png"); }},
    {"lower-case extension", [](TrialWindow& t) { t.Options("TabSheet5", "Check0"); }},
    {"jpeg to jpg", [](TrialWindow& t) { t.Options("TabSheet5", "Check1"); }},
    // On and off again: the option ends as it began, for the tests after this one.
    {"companion files", [](TrialWindow& t) { Find<QAction>(t.m, "Companions1")->trigger();
                                             Find<QAction>(t.m, "Companions1")->trigger(); }},
    {"capture-time names", [](TrialWindow& t) { Find<QAction>(t.m, "CaptureName1")->trigger();
                                                Find<QAction>(t.m, "CaptureName1")->trigger(); }},
};

INSTANTIATE_TEST_SUITE_P(StaleTrial, StaleTrialRows, testing::ValuesIn(kStaleCases),
                         RowNames([](const StaleCase& c) { return c.label; }));

} // namespace
