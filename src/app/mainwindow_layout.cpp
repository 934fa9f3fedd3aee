// The main window's controls, their places, captions and hints, and the repositioning on
// resize and splitter moves.
#include "base/utf8.h"
#include "rename/companiontexts.h"
#include "rename/renametexts.h"
#include "settings/presettexts.h"
#include "ui/appicon.h"
#include "ui/controls.h"
#include "app/mainwindow.h"
#include "ui/digitspinbox.h"
#include "app/splitterstrip.h"
#include "ui/typedlengthlimit.h"
#include "filelist/widgets/folderlistview.h"
#include "filelist/widgets/namelistview.h"
#include "filelist/widgets/sortaidmodel.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTreeView>

namespace {

constexpr int kClientWidth = 481;
constexpr int kClientHeight = 367;
constexpr int kPanel1Height = 151;
constexpr int kPanel2Height = 26;
constexpr int kOldFileWidth = 226;
constexpr int kSplitterWidth = 88;
constexpr int kMinSide = 30;

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, QRect g,
                        const QString& hint = {})
{
    auto* b = MakeControl<QPushButton>(parent, name, g);
    b->setText(caption);
    b->setToolTip(hint);
    b->setFocusPolicy(Qt::ClickFocus);
    return b;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, QRect g)
{
    auto* l = MakeControl<QLabel>(parent, name, g);
    l->setText(caption);
    l->setFont(WindowFont(true, 12));
    return l;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, QRect g, const QString& hint)
{
    auto* e = MakeControl<QLineEdit>(parent, name, g);
    e->setToolTip(hint);
    e->setFocusPolicy(Qt::ClickFocus);
    return e;
}

QAction* MakeAction(QObject* parent, const char* name, const QString& caption)
{
    auto* a = new QAction(caption, parent);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

} // namespace

void TMain::BuildControls()
{
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("Pelkorin"));
    setFont(WindowFont(false, 12));
    setWindowIcon(ProgramIcon());

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    setCentralWidget(client);

    // C.Panel1: folder controls and name options.
    C.Panel1 = MakeControl<QWidget>(client, "Panel1", {0, 0, kClientWidth, kPanel1Height});
    C.Drive1 = MakeControl<QComboBox>(C.Panel1, "Drive1", {2, 4, 137, 20});
    C.Drive1->setFocusPolicy(Qt::ClickFocus);
    C.Button5 = MakeButton(C.Panel1, "Button5", QStringLiteral("次のﾌｫﾙﾀﾞ(&N)"), {141, 3, 84, 22});
    C.Dir1 = MakeControl<FolderListView>(C.Panel1, "Dir1", {2, 26, 223, 105});
    C.Dir1->setFont(WindowFont(true, 12));
    C.Dir1->setFocusPolicy(Qt::ClickFocus);
    C.Dir1->setEntersProcessFolder(true);
    C.Label4 = MakeLabel(C.Panel1, "Label4", QStringLiteral("現在のﾌｧｲﾙﾈｰﾑ"), {4, 136, 150, 14});

    C.Button3 = MakeButton(C.Panel1, "Button3", QStringLiteral("全選択(&A)"), {227, 4, 84, 25});
    C.Button4 = MakeButton(C.Panel1, "Button4", QStringLiteral("選択解除(&C)"), {227, 31, 84, 25});

    C.Button6 = MakeButton(C.Panel1, "Button6", QStringLiteral("仮実行(&P)"), {320, 4, 76, 25},
                         QStringLiteral("実行したときの確認ができます。"));
    C.Button8 = MakeButton(C.Panel1, "Button8", QStringLiteral("File削除(&D)"), {402, 4, 74, 25},
                         QStringLiteral("ゴミ箱に入らず直接削除されます。"));
    C.Button7 = MakeButton(C.Panel1, "Button7", QStringLiteral("実行(&X)"), {320, 31, 156, 31},
                         QStringLiteral("設定された条件で、ファイル名を変更します"));
    for (QPushButton* b : {C.Button7, C.Button6, C.Button8})
        b->setFocusPolicy(Qt::StrongFocus);

    C.Label7 = MakeLabel(C.Panel1, "Label7", QStringLiteral(" ファイル名設定"), {227, 69, 92, 14});
    C.textvol = MakeEdit(C.Panel1, "textvol", {320, 66, 156, 20},
                       QStringLiteral("文字列を変更するときに入力します"));
    C.Label3 = MakeLabel(C.Panel1, "Label3", QStringLiteral(" 数字の桁数"), {227, 93, 92, 14});
    const QString digitHint = QStringLiteral("ファイル名に付ける数字の桁数を設定します");
    C.edit2 = MakeEdit(C.Panel1, "edit2", {320, 90, 24, 20}, digitHint);
    C.edit2->setReadOnly(true);
    C.edit2->setText(QStringLiteral("3"));
    C.UpDown1 = MakeControl<DigitSpinBox>(C.Panel1, "UpDown1", {344, 90, 17, 20});
    C.UpDown1->setToolTip(digitHint);
    C.UpDown1->setFocusPolicy(Qt::ClickFocus);
    C.Label6 = MakeLabel(C.Panel1, "Label6", QStringLiteral("拡張子"), {384, 93, 40, 14});
    C.Edit4 = MakeEdit(C.Panel1, "Edit4", {425, 90, 51, 20},
                     QStringLiteral("拡張子を変更するときに入力します。"));
    C.Edit4->setText(QStringLiteral("jpg"));
    C.Label1 = MakeLabel(C.Panel1, "Label1", QStringLiteral(" 連番の基準番号"), {227, 117, 92, 14});
    C.text2 = MakeEdit(C.Panel1, "text2", {320, 114, 61, 20},
                     QStringLiteral("数字を連番にするときの最初の番号です"));
    C.text2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Six typed characters; a longer base number from the settings file shows whole.
    new TypedLengthLimit(6, C.text2);
    C.Label2 = MakeLabel(C.Panel1, "Label2", QStringLiteral("変更後のﾌｧｲﾙﾈｰﾑ"),
                       {kOldFileWidth + kSplitterWidth + 7, 136, 150, 14});

    // Hidden helpers: the folder listing and the sort aid.
    C.File1 = MakeControl<NameListView>(C.Panel1, "File1", {0, 0, 10, 10});
    C.File1->setSelectionMode(QAbstractItemView::MultiSelection);
    C.File1->hide();
    C.fileList = MakeControl<QTreeView>(C.Panel1, "fileList", {0, 0, 10, 10});
    C.fileListRows = new SortAidModel(C.fileList);
    C.fileList->setModel(C.fileListRows);
    C.fileList->setRootIsDecorated(false);
    C.fileList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    C.fileList->header()->resizeSection(0, 100);
    C.fileList->hide();

    // The middle: the two name lists with the splitter strip between them.
    const int middleTop = kPanel1Height;
    const int middleHeight = kClientHeight - kPanel1Height - kPanel2Height;
    C.oldfile = MakeControl<NameListView>(client, "oldfile", {0, middleTop, kOldFileWidth, middleHeight});
    C.oldfile->setSelectionMode(QAbstractItemView::ExtendedSelection);
    C.oldfile->setFont(WindowFont(true, 12));
    C.oldfile->setFocusPolicy(Qt::ClickFocus);
    C.oldfile->setContextMenuPolicy(Qt::CustomContextMenu);
    C.Splitter1 = MakeControl<SplitterStrip>(client, "Splitter1",
                                    {kOldFileWidth, middleTop, kSplitterWidth, middleHeight});
    C.NewFile = MakeControl<NameListView>(client, "NewFile",
                                 {kOldFileWidth + kSplitterWidth, middleTop,
                                  kClientWidth - kOldFileWidth - kSplitterWidth, middleHeight});
    C.NewFile->setSelectionMode(QAbstractItemView::SingleSelection);
    C.NewFile->setFont(WindowFont(true, 12));
    C.NewFile->setFocusPolicy(Qt::ClickFocus);

    const int x = kOldFileWidth;
    C.Button11 = MakeButton(client, "Button11", QStringLiteral("ﾌｧｲﾙ更新"), {x + 8, middleTop + 2, 72, 22});
    C.Button1 = MakeButton(client, "Button1", QStringLiteral("上へ"), {x + 8, middleTop + 26, 72, 22});
    C.Button2 = MakeButton(client, "Button2", QStringLiteral("下へ"), {x + 8, middleTop + 50, 72, 22});
    C.Button9 = MakeButton(client, "Button9", QStringLiteral("画像表示"), {x + 8, middleTop + 74, 72, 22});
    C.Panel4 = MakeControl<QFrame>(client, "Panel4", {x + 3, middleTop + 100, 84, 87});
    C.Panel4->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    C.Image1 = MakeControl<QLabel>(C.Panel4, "Image1", {3, 3, 80, 80});
    C.Image1->setScaledContents(true);

    // C.Panel2: the option check boxes and the counter.
    C.Panel2 = MakeControl<QWidget>(client, "Panel2",
                           {0, kClientHeight - kPanel2Height, kClientWidth, kPanel2Height});
    C.Check1 = MakeControl<QCheckBox>(C.Panel2, "Check1", {4, 4, 95, 18});
    C.Check1->setText(QStringLiteral("文字列を変更"));
    C.Check1->setChecked(true);
    C.Check2 = MakeControl<QCheckBox>(C.Panel2, "Check2", {101, 4, 93, 18});
    C.Check2->setText(QStringLiteral("桁を合わせる"));
    C.Check2->setChecked(true);
    C.Check3 = MakeControl<QCheckBox>(C.Panel2, "Check3", {196, 4, 102, 18});
    C.Check3->setText(QStringLiteral("数字を連番に"));
    C.Check4 = MakeControl<QCheckBox>(C.Panel2, "Check4", {300, 4, 100, 18});
    C.Check4->setText(QStringLiteral("拡張子を変更"));
    for (QCheckBox* c : {C.Check1, C.Check2, C.Check3, C.Check4})
        c->setFocusPolicy(Qt::ClickFocus);
    C.Panel3 = MakeControl<QFrame>(C.Panel2, "Panel3", {kClientWidth - 77, 0, 77, kPanel2Height});
    C.Panel3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    C.Panel3->setToolTip(QStringLiteral("選択ファイル数と実行済みファイル数を表示します。"));
    C.actlabel = MakeControl<QLabel>(C.Panel3, "actlabel", {2, 2, 73, kPanel2Height - 4});
    C.actlabel->setFont(WindowFont(true, 15));
    C.actlabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    C.actlabel->setText(QStringLiteral("000/000"));

    // Only the three run buttons take the Tab key, in this order.
    setTabOrder(C.Button7, C.Button6);
    setTabOrder(C.Button6, C.Button8);

    BuildMenus();
    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    move(189, 146);
}

void TMain::BuildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* fileMenu = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    C.File2 = fileMenu->menuAction();
    C.File2->setObjectName(QStringLiteral("File2"));
    C.Open1 = MakeAction(this, "Open1", QStringLiteral("開く(&O)..."));
    C.Exit1 = MakeAction(this, "Exit1", QStringLiteral("終了(&X)"));
    fileMenu->addAction(C.Open1);
    C.Undo1 = MakeAction(this, "Undo1", QStringLiteral("元に戻す(&U)"));
    C.Undo1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    C.Undo1->setEnabled(false);
    fileMenu->addAction(C.Undo1);
    C.Redo1 = MakeAction(this, "Redo1", FromUtf8(kRedoAction));
    C.Redo1->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    C.Redo1->setEnabled(false);
    fileMenu->addAction(C.Redo1);
    C.History1 = MakeAction(this, "History1", FromUtf8(kHistoryAction));
    fileMenu->addAction(C.History1);
    fileMenu->addSeparator();
    fileMenu->addAction(C.Exit1);

    QMenu* settingsMenu = bar->addMenu(QStringLiteral("設定(&T)"));
    C.Edit1 = settingsMenu->menuAction();
    C.Edit1->setObjectName(QStringLiteral("Edit1"));
    C.Object1 = MakeAction(this, "Object1", QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    settingsMenu->addAction(C.Object1);
    C.Companions1 = MakeAction(this, "Companions1", FromUtf8(kCompanionsAction));
    C.CaptureName1 = MakeAction(this, "CaptureName1", FromUtf8(kCaptureNameAction));
    C.DayCounter1 = MakeAction(this, "DayCounter1", FromUtf8(kDayCounterAction));
    C.ClockOffset1 = MakeAction(this, "ClockOffset1", FromUtf8(kClockOffsetAction));
    for (QAction* option : {C.Companions1, C.CaptureName1, C.DayCounter1, C.ClockOffset1}) {
        option->setCheckable(true);
        settingsMenu->addAction(option);
    }
    settingsMenu->addSeparator();
    // The presets controller fills the submenu.
    C.Presets1 = settingsMenu->addMenu(FromUtf8(kPresetsMenu));
    C.Presets1->setObjectName(QStringLiteral("Presets1"));
    C.PresetSave1 = MakeAction(this, "PresetSave1", FromUtf8(kPresetSaveAction));
    C.PresetDelete1 = new QMenu(FromUtf8(kPresetDeleteMenu), C.Presets1);
    C.PresetDelete1->setObjectName(QStringLiteral("PresetDelete1"));

    QMenu* helpMenu = bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    C.Help1 = helpMenu->menuAction();
    C.Help1->setObjectName(QStringLiteral("Help1"));
    C.Contents1 = MakeAction(this, "Contents1", QStringLiteral("ﾍﾙﾌﾟ&H)"));
    C.About1 = MakeAction(this, "About1", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."));
    helpMenu->addAction(C.Contents1);
    helpMenu->addAction(C.About1);

    C.PopupMenu1 = new QMenu(this);
    C.PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    C.N10 = MakeAction(this, "N10", QStringLiteral("実行"));
    C.N11 = MakeAction(this, "N11", QStringLiteral("仮実行"));
    C.N8 = MakeAction(this, "N8", QStringLiteral("ファイル全選択"));
    C.N9 = MakeAction(this, "N9", QStringLiteral("ファイル選択解除"));
    C.N1 = MakeAction(this, "N1", QStringLiteral("画像表示"));
    C.N4 = MakeAction(this, "N4", QStringLiteral("ファイル名でソート"));
    C.N5 = MakeAction(this, "N5", QStringLiteral("拡張子でソート"));
    C.N6 = MakeAction(this, "N6", QStringLiteral("日付でソート"));
    C.N15 = MakeAction(this, "N15", QStringLiteral("撮影日時でソート"));
    C.N14 = MakeAction(this, "N14", QStringLiteral("ファイル削除"));
    auto separator = [this](const char* name) {
        C.PopupMenu1->addSeparator()->setObjectName(QString::fromLatin1(name));
    };
    C.PopupMenu1->addAction(C.N10);
    C.PopupMenu1->addAction(C.N11);
    separator("N12");
    C.PopupMenu1->addAction(C.N8);
    C.PopupMenu1->addAction(C.N9);
    separator("N7");
    C.PopupMenu1->addAction(C.N1);
    separator("N3");
    C.PopupMenu1->addAction(C.N4);
    C.PopupMenu1->addAction(C.N5);
    C.PopupMenu1->addAction(C.N6);
    C.PopupMenu1->addAction(C.N15);
    separator("N13");
    C.PopupMenu1->addAction(C.N14);
}

void TMain::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    if (C.Panel1)
        FormResize();
}

void TMain::FormResize()
{
    QWidget* client = centralWidget();
    const int w = client->width();
    const int h = client->height();
    const int middleTop = kPanel1Height;
    const int middleHeight = std::max(0, h - kPanel1Height - kPanel2Height);
    C.Panel1->setGeometry(0, 0, w, kPanel1Height);
    C.Panel2->setGeometry(0, std::max(middleTop, h - kPanel2Height), w, kPanel2Height);
    C.Panel3->move(w - C.Panel3->width(), 0);
    int left = C.oldfile->width();
    if (w - left - kSplitterWidth < kMinSide)
        left = std::max(kMinSide, w - kSplitterWidth - kMinSide);
    C.oldfile->setGeometry(0, middleTop, left, middleHeight);
    C.Splitter1->setGeometry(left, middleTop, kSplitterWidth, middleHeight);
    C.NewFile->setGeometry(left + kSplitterWidth, middleTop,
                         std::max(0, w - left - kSplitterWidth), middleHeight);
    Splitter1Moved();
}

void TMain::Splitter1Moved()
{
    const int x = C.Splitter1->x();
    for (QPushButton* b : {C.Button1, C.Button2, C.Button9, C.Button11})
        b->move(x + 8, b->y());
    C.Panel4->move(x + 3, C.Panel4->y());
    C.Label2->move(x + C.Splitter1->width() + 7, C.Label2->y());
    for (QWidget* w : {static_cast<QWidget*>(C.Button11), static_cast<QWidget*>(C.Button1),
                       static_cast<QWidget*>(C.Button2), static_cast<QWidget*>(C.Button9),
                       static_cast<QWidget*>(C.Panel4)})
        w->raise();
}

void TMain::DragSplitter(int dx)
{
    // Each list keeps at least 30 pixels.
    const int total = centralWidget()->width();
    int left = C.oldfile->width() + dx;
    left = std::min(left, total - kSplitterWidth - kMinSide);
    left = std::max(left, kMinSide);
    const int top = C.oldfile->y();
    const int height = C.oldfile->height();
    C.oldfile->setGeometry(0, top, left, height);
    C.Splitter1->setGeometry(left, top, kSplitterWidth, height);
    C.NewFile->setGeometry(left + kSplitterWidth, top, total - left - kSplitterWidth, height);
    Splitter1Moved();
}
