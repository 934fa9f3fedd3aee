// The main window's fields, its start-up sequence and the wiring of its handlers.
#include "app/mainwindow.h"

#include "app/appicon.h"
#include "app/messages.h"
#include "app/digitspinbox.h"
#include "app/splitterstrip.h"
#include "filelist/displaytext.h"
#include "filelist/widgets/folderlistview.h"
#include "filelist/widgets/namelistview.h"
#include "filelist/widgets/sortaidmodel.h"
#include "rename/naming.h"
#include "rename/texthelpers.h"
#include "settings/settingsfile.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <algorithm>

TMain::TMain(const std::string& programFolder, QWidget* parent) : QMainWindow(parent)
{
    ProgramFolder = programFolder;
    BuildControls();
    FillDriveList();
    FormCreate();
}

TMain::~TMain() = default;

QString TMain::startFolderText() const { return DisplayText(StartFolder); }
QString TMain::programFolderText() const { return DisplayText(ProgramFolder); }
QString TMain::extLowerCaseText() const { return QString::fromStdString(ExtLowerCase); }
QString TMain::jpegToJpgText() const { return QString::fromStdString(JpegToJpg); }
QString TMain::viewerPathText() const { return DisplayText(ViewerPath); }

QStringList TMain::settingsLinesText() const
{
    QStringList lines;
    for (const std::string& line : SettingsLines)
        lines << DisplayText(line);
    return lines;
}

void TMain::ConnectHandlers()
{
    connect(Check1, &QCheckBox::toggled, this, [this] { Guarded(this, [this] { Check1Click(); }); });
    connect(Check2, &QCheckBox::toggled, this, [this] { Guarded(this, [this] { Check2Click(); }); });
    connect(Check3, &QCheckBox::toggled, this, [this] { Guarded(this, [this] { Check3Click(); }); });
    connect(Check4, &QCheckBox::toggled, this, [this] { Guarded(this, [this] { Check4Click(); }); });
    connect(UpDown1, &QSpinBox::valueChanged, this, [this] { Guarded(this, [this] { UpDown1Click(); }); });

    auto onClick = [this](QPushButton* b, void (TMain::*handler)()) {
        connect(b, &QPushButton::clicked, this, [this, handler] { Guarded(this, [&] { (this->*handler)(); }); });
    };
    onClick(Button11, &TMain::Button11Click);
    onClick(Button6, &TMain::Button6Click);
    onClick(Button7, &TMain::Button7Click);
    onClick(Button1, &TMain::Button1Click);
    onClick(Button2, &TMain::Button2Click);
    onClick(Button3, &TMain::Button3Click);
    onClick(Button4, &TMain::Button4Click);

    auto onAction = [this](QAction* a, void (TMain::*handler)()) {
        connect(a, &QAction::triggered, this, [this, handler] { Guarded(this, [&] { (this->*handler)(); }); });
    };
    onAction(Open1, &TMain::Open1Click);
    onAction(Exit1, &TMain::Exit1Click);
    onAction(N4, &TMain::N4Click);
    onAction(N5, &TMain::N5Click);
    onAction(N6, &TMain::N6Click);
    // The forwarding entries perform their button's own click.
    auto forward = [this](QAction* a, QPushButton* b) {
        connect(a, &QAction::triggered, b, &QPushButton::click);
    };
    forward(N10, Button7);
    forward(N11, Button6);
    forward(N8, Button3);
    forward(N9, Button4);
    forward(N1, Button9);
    forward(N14, Button8);

    connect(Drive1, &QComboBox::activated, this, [this] { Guarded(this, [this] { Drive1Change(); }); });
    connect(Dir1, &FolderListView::rowOpened, this,
            [this](int row) { Guarded(this, [&] { Dir1RowOpened(row); }); });
    connect(Splitter1, &SplitterStrip::dragged, this, [this](int dx) { DragSplitter(dx); });
    connect(Splitter1, &SplitterStrip::moved, this, [this] { Splitter1Moved(); });

    // The two lists keep the same top row when the user scrolls or selects.
    connect(oldfile, &NameListView::userScrolled, this, [this] { AlignTop(oldfile, NewFile); });
    connect(NewFile, &NameListView::userScrolled, this, [this] { AlignTop(NewFile, oldfile); });
    connect(oldfile, &NameListView::userSelectionChanged, this, [this] {
        AlignTop(oldfile, NewFile);
        Guarded(this, [this] { OldFileClick(); });
    });
    connect(NewFile, &NameListView::userSelectionChanged, this, [this] { AlignTop(NewFile, oldfile); });
    connect(oldfile, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        PopupMenu1->popup(oldfile->viewport()->mapToGlobal(pos));
    });
    // Typing in textvol ends the raw bytes a click on the list put there.
    connect(textvol, &QLineEdit::textEdited, this, [this] { textvolRaw_.clear(); textvolRawShown_.clear(); });
}

void TMain::FormCreate()
{
    QApplication::setWindowIcon(ProgramIcon());
    ConnectHandlers();
    const std::string working = ProgramFolder;
    text2->setText(QStringLiteral("0"));
    pendingTop_ = "0";
    pendingLeft_ = "0";
    JpegToJpg = "off";
    ExtLowerCase = "off";

    Guarded(this, [&] {
        SwitchFolder(working);
        SetDriveOf(Dir1->folder());
        SwitchFolder(working);
        ProgramFolder = Dir1->folder();

        if (auto read = ReadSettingsFile(ProgramFolder)) {
            SettingsLines = read->Lines;
            if (read->Marker != SettingsMarker::None) {
                const auto& l = read->Lines;
                StartFolder = l[2];
                Check1->setChecked(FlagOn(l[4]));
                Check2->setChecked(FlagOn(l[6]));
                Check3->setChecked(FlagOn(l[8]));
                // The spin holds 1 to 9; the options dialog can save 0 to 100.
                UpDown1->setValue(std::clamp(ParseInteger(l[10]), 1, 9));
                ExtLowerCase = FlagOn(l[12]) ? "on" : "off";
                JpegToJpg = FlagOn(l[14]) ? "on" : "off";
                Check4->setChecked(FlagOn(l[16]));
                ViewerPath = l[18];
                pendingLeft_ = l[20];
                pendingTop_ = l[22];
            }
            if (read->Marker == SettingsMarker::Ver09)
                text2->setText(DisplayText(read->Lines[24]));
        }

        if (!StartFolder.empty()) {
            SwitchFolder(StartFolder);
            SetDriveOf(Dir1->folder());
            SwitchFolder(StartFolder);
        }

        const int top = ParseInteger(pendingTop_);
        const int left = ParseInteger(pendingLeft_);
        move(left, top);

        edit2->setText(QString::number(UpDown1->value()));
        textvol->setEnabled(Check1->isChecked());
        edit2->setEnabled(Check2->isChecked());
        UpDown1->setEnabled(Check2->isChecked());
        text2->setEnabled(Check3->isChecked());
        Edit4->setEnabled(Check4->isChecked());

        FillOldFile(File1->names()->names());
        Image1->hide();
        Image1->setEnabled(false);
        Label2->move(Splitter1->x() + Splitter1->width() + 7, Label2->y());
    });
}

void TMain::Exit1Click()
{
    close();
}
