// The main window's controls, their places, captions and hints, and the repositioning on
// resize and splitter moves.
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

    // Panel1: folder controls and name options.
    Panel1 = MakeControl<QWidget>(client, "Panel1", {0, 0, kClientWidth, kPanel1Height});
    Drive1 = MakeControl<QComboBox>(Panel1, "Drive1", {2, 4, 137, 20});
    Drive1->setFocusPolicy(Qt::ClickFocus);
    Button5 = MakeButton(Panel1, "Button5", QStringLiteral("次のﾌｫﾙﾀﾞ(&N)"), {141, 3, 84, 22});
    Dir1 = MakeControl<FolderListView>(Panel1, "Dir1", {2, 26, 223, 105});
    Dir1->setFont(WindowFont(true, 12));
    Dir1->setFocusPolicy(Qt::ClickFocus);
    Dir1->setEntersProcessFolder(true);
    Label4 = MakeLabel(Panel1, "Label4", QStringLiteral("現在のﾌｧｲﾙﾈｰﾑ"), {4, 136, 150, 14});

    Button3 = MakeButton(Panel1, "Button3", QStringLiteral("全選択(&A)"), {227, 4, 84, 25});
    Button4 = MakeButton(Panel1, "Button4", QStringLiteral("選択解除(&C)"), {227, 31, 84, 25});

    Button6 = MakeButton(Panel1, "Button6", QStringLiteral("仮実行(&P)"), {320, 4, 76, 25},
                         QStringLiteral("実行したときの確認ができます。"));
    Button8 = MakeButton(Panel1, "Button8", QStringLiteral("File削除(&D)"), {402, 4, 74, 25},
                         QStringLiteral("ゴミ箱に入らず直接削除されます。"));
    Button7 = MakeButton(Panel1, "Button7", QStringLiteral("実行(&X)"), {320, 31, 156, 31},
                         QStringLiteral("設定された条件で、ファイル名を変更します"));
    for (QPushButton* b : {Button7, Button6, Button8})
        b->setFocusPolicy(Qt::StrongFocus);

    Label7 = MakeLabel(Panel1, "Label7", QStringLiteral(" ファイル名設定"), {227, 69, 92, 14});
    textvol = MakeEdit(Panel1, "textvol", {320, 66, 156, 20},
                       QStringLiteral("文字列を変更するときに入力します"));
    Label3 = MakeLabel(Panel1, "Label3", QStringLiteral(" 数字の桁数"), {227, 93, 92, 14});
    const QString digitHint = QStringLiteral("ファイル名に付ける数字の桁数を設定します");
    edit2 = MakeEdit(Panel1, "edit2", {320, 90, 24, 20}, digitHint);
    edit2->setReadOnly(true);
    edit2->setText(QStringLiteral("3"));
    UpDown1 = MakeControl<DigitSpinBox>(Panel1, "UpDown1", {344, 90, 17, 20});
    UpDown1->setToolTip(digitHint);
    UpDown1->setFocusPolicy(Qt::ClickFocus);
    Label6 = MakeLabel(Panel1, "Label6", QStringLiteral("拡張子"), {384, 93, 40, 14});
    Edit4 = MakeEdit(Panel1, "Edit4", {425, 90, 51, 20},
                     QStringLiteral("拡張子を変更するときに入力します。"));
    Edit4->setText(QStringLiteral("jpg"));
    Label1 = MakeLabel(Panel1, "Label1", QStringLiteral(" 連番の基準番号"), {227, 117, 92, 14});
    text2 = MakeEdit(Panel1, "text2", {320, 114, 61, 20},
                     QStringLiteral("数字を連番にするときの最初の番号です"));
    text2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Six typed characters; a longer base number from the settings file shows whole.
    new TypedLengthLimit(6, text2);
    Label2 = MakeLabel(Panel1, "Label2", QStringLiteral("変更後のﾌｧｲﾙﾈｰﾑ"),
                       {kOldFileWidth + kSplitterWidth + 7, 136, 150, 14});

    // Hidden helpers: the folder listing and the sort aid.
    File1 = MakeControl<NameListView>(Panel1, "File1", {0, 0, 10, 10});
    File1->setSelectionMode(QAbstractItemView::MultiSelection);
    File1->hide();
    fileList = MakeControl<QTreeView>(Panel1, "fileList", {0, 0, 10, 10});
    fileListRows = new SortAidModel(fileList);
    fileList->setModel(fileListRows);
    fileList->setRootIsDecorated(false);
    fileList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fileList->header()->resizeSection(0, 100);
    fileList->hide();

    // The middle: the two name lists with the splitter strip between them.
    const int middleTop = kPanel1Height;
    const int middleHeight = kClientHeight - kPanel1Height - kPanel2Height;
    oldfile = MakeControl<NameListView>(client, "oldfile", {0, middleTop, kOldFileWidth, middleHeight});
    oldfile->setSelectionMode(QAbstractItemView::ExtendedSelection);
    oldfile->setFont(WindowFont(true, 12));
    oldfile->setFocusPolicy(Qt::ClickFocus);
    oldfile->setContextMenuPolicy(Qt::CustomContextMenu);
    Splitter1 = MakeControl<SplitterStrip>(client, "Splitter1",
                                    {kOldFileWidth, middleTop, kSplitterWidth, middleHeight});
    NewFile = MakeControl<NameListView>(client, "NewFile",
                                 {kOldFileWidth + kSplitterWidth, middleTop,
                                  kClientWidth - kOldFileWidth - kSplitterWidth, middleHeight});
    NewFile->setSelectionMode(QAbstractItemView::SingleSelection);
    NewFile->setFont(WindowFont(true, 12));
    NewFile->setFocusPolicy(Qt::ClickFocus);

    const int x = kOldFileWidth;
    Button11 = MakeButton(client, "Button11", QStringLiteral("ﾌｧｲﾙ更新"), {x + 8, middleTop + 2, 72, 22});
    Button1 = MakeButton(client, "Button1", QStringLiteral("上へ"), {x + 8, middleTop + 26, 72, 22});
    Button2 = MakeButton(client, "Button2", QStringLiteral("下へ"), {x + 8, middleTop + 50, 72, 22});
    Button9 = MakeButton(client, "Button9", QStringLiteral("画像表示"), {x + 8, middleTop + 74, 72, 22});
    Panel4 = MakeControl<QFrame>(client, "Panel4", {x + 3, middleTop + 100, 84, 87});
    Panel4->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Image1 = MakeControl<QLabel>(Panel4, "Image1", {3, 3, 80, 80});
    Image1->setScaledContents(true);

    // Panel2: the option check boxes and the counter.
    Panel2 = MakeControl<QWidget>(client, "Panel2",
                           {0, kClientHeight - kPanel2Height, kClientWidth, kPanel2Height});
    Check1 = MakeControl<QCheckBox>(Panel2, "Check1", {4, 4, 95, 18});
    Check1->setText(QStringLiteral("文字列を変更"));
    Check1->setChecked(true);
    Check2 = MakeControl<QCheckBox>(Panel2, "Check2", {101, 4, 93, 18});
    Check2->setText(QStringLiteral("桁を合わせる"));
    Check2->setChecked(true);
    Check3 = MakeControl<QCheckBox>(Panel2, "Check3", {196, 4, 102, 18});
    Check3->setText(QStringLiteral("数字を連番に"));
    Check4 = MakeControl<QCheckBox>(Panel2, "Check4", {300, 4, 100, 18});
    Check4->setText(QStringLiteral("拡張子を変更"));
    for (QCheckBox* c : {Check1, Check2, Check3, Check4})
        c->setFocusPolicy(Qt::ClickFocus);
    Panel3 = MakeControl<QFrame>(Panel2, "Panel3", {kClientWidth - 77, 0, 77, kPanel2Height});
    Panel3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel3->setToolTip(QStringLiteral("選択ファイル数と実行済みファイル数を表示します。"));
    actlabel = MakeControl<QLabel>(Panel3, "actlabel", {2, 2, 73, kPanel2Height - 4});
    actlabel->setFont(WindowFont(true, 15));
    actlabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    actlabel->setText(QStringLiteral("000/000"));

    // Only the three run buttons take the Tab key, in this order.
    setTabOrder(Button7, Button6);
    setTabOrder(Button6, Button8);

    BuildMenus();
    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    move(189, 146);
}

void TMain::BuildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* fileMenu = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    File2 = fileMenu->menuAction();
    File2->setObjectName(QStringLiteral("File2"));
    Open1 = MakeAction(this, "Open1", QStringLiteral("開く(&O)..."));
    Exit1 = MakeAction(this, "Exit1", QStringLiteral("終了(&X)"));
    fileMenu->addAction(Open1);
    Undo1 = MakeAction(this, "Undo1", QStringLiteral("元に戻す(&U)"));
    Undo1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    Undo1->setEnabled(false);
    fileMenu->addAction(Undo1);
    fileMenu->addSeparator();
    fileMenu->addAction(Exit1);

    QMenu* settingsMenu = bar->addMenu(QStringLiteral("設定(&T)"));
    Edit1 = settingsMenu->menuAction();
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Object1 = MakeAction(this, "Object1", QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    settingsMenu->addAction(Object1);

    QMenu* helpMenu = bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    Help1 = helpMenu->menuAction();
    Help1->setObjectName(QStringLiteral("Help1"));
    Contents1 = MakeAction(this, "Contents1", QStringLiteral("ﾍﾙﾌﾟ&H)"));
    About1 = MakeAction(this, "About1", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."));
    helpMenu->addAction(Contents1);
    helpMenu->addAction(About1);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N10 = MakeAction(this, "N10", QStringLiteral("実行"));
    N11 = MakeAction(this, "N11", QStringLiteral("仮実行"));
    N8 = MakeAction(this, "N8", QStringLiteral("ファイル全選択"));
    N9 = MakeAction(this, "N9", QStringLiteral("ファイル選択解除"));
    N1 = MakeAction(this, "N1", QStringLiteral("画像表示"));
    N4 = MakeAction(this, "N4", QStringLiteral("ファイル名でソート"));
    N5 = MakeAction(this, "N5", QStringLiteral("拡張子でソート"));
    N6 = MakeAction(this, "N6", QStringLiteral("日付でソート"));
    N15 = MakeAction(this, "N15", QStringLiteral("撮影日時でソート"));
    N14 = MakeAction(this, "N14", QStringLiteral("ファイル削除"));
    auto separator = [this](const char* name) {
        PopupMenu1->addSeparator()->setObjectName(QString::fromLatin1(name));
    };
    PopupMenu1->addAction(N10);
    PopupMenu1->addAction(N11);
    separator("N12");
    PopupMenu1->addAction(N8);
    PopupMenu1->addAction(N9);
    separator("N7");
    PopupMenu1->addAction(N1);
    separator("N3");
    PopupMenu1->addAction(N4);
    PopupMenu1->addAction(N5);
    PopupMenu1->addAction(N6);
    PopupMenu1->addAction(N15);
    separator("N13");
    PopupMenu1->addAction(N14);
}

void TMain::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    if (Panel1)
        FormResize();
}

void TMain::FormResize()
{
    QWidget* client = centralWidget();
    const int w = client->width();
    const int h = client->height();
    const int middleTop = kPanel1Height;
    const int middleHeight = std::max(0, h - kPanel1Height - kPanel2Height);
    Panel1->setGeometry(0, 0, w, kPanel1Height);
    Panel2->setGeometry(0, std::max(middleTop, h - kPanel2Height), w, kPanel2Height);
    Panel3->move(w - Panel3->width(), 0);
    int left = oldfile->width();
    if (w - left - kSplitterWidth < kMinSide)
        left = std::max(kMinSide, w - kSplitterWidth - kMinSide);
    oldfile->setGeometry(0, middleTop, left, middleHeight);
    Splitter1->setGeometry(left, middleTop, kSplitterWidth, middleHeight);
    NewFile->setGeometry(left + kSplitterWidth, middleTop,
                         std::max(0, w - left - kSplitterWidth), middleHeight);
    Splitter1Moved();
}

void TMain::Splitter1Moved()
{
    const int x = Splitter1->x();
    for (QPushButton* b : {Button1, Button2, Button9, Button11})
        b->move(x + 8, b->y());
    Panel4->move(x + 3, Panel4->y());
    Label2->move(x + Splitter1->width() + 7, Label2->y());
    for (QWidget* w : {static_cast<QWidget*>(Button11), static_cast<QWidget*>(Button1),
                       static_cast<QWidget*>(Button2), static_cast<QWidget*>(Button9),
                       static_cast<QWidget*>(Panel4)})
        w->raise();
}

void TMain::DragSplitter(int dx)
{
    // Each list keeps at least 30 pixels.
    const int total = centralWidget()->width();
    int left = oldfile->width() + dx;
    left = std::min(left, total - kSplitterWidth - kMinSide);
    left = std::max(left, kMinSide);
    const int top = oldfile->y();
    const int height = oldfile->height();
    oldfile->setGeometry(0, top, left, height);
    Splitter1->setGeometry(left, top, kSplitterWidth, height);
    NewFile->setGeometry(left + kSplitterWidth, top, total - left - kSplitterWidth, height);
    Splitter1Moved();
}
