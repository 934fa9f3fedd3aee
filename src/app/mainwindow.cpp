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
#include "rename/undo.h"
#include "settings/settingsfile.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <algorithm>
#include <type_traits>
#include <utility>

TMain::TMain(const std::string& programFolder, QWidget* parent) : QMainWindow(parent)
{
    ProgramFolder = programFolder;
    BuildControls();
    FillDriveList();
    ConnectHandlers();
    FormCreate();
    // The record outlives the program: an execution of an earlier session can be undone.
    Undo1->setEnabled(LoadUndoRecord().has_value());
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

template <typename Sender, typename Signal, typename Handler>
void TMain::ConnectGuarded(Sender* sender, Signal signal, Handler handler)
{
    connect(sender, signal, this, [this, handler](auto... args) {
        Guarded(this, [&] {
            if constexpr (std::is_invocable_v<Handler, TMain*, decltype(args)...>)
                (this->*handler)(args...);
            else
                (this->*handler)();
        });
    });
}

void TMain::ConnectHandlers()
{
    ConnectGuarded(Check1, &QCheckBox::toggled, &TMain::Check1Click);
    ConnectGuarded(Check2, &QCheckBox::toggled, &TMain::Check2Click);
    ConnectGuarded(Check3, &QCheckBox::toggled, &TMain::Check3Click);
    ConnectGuarded(Check4, &QCheckBox::toggled, &TMain::Check4Click);
    ConnectGuarded(UpDown1, &QSpinBox::valueChanged, &TMain::UpDown1Click);

    ConnectGuarded(Button11, &QPushButton::clicked, &TMain::Button11Click);
    ConnectGuarded(Button6, &QPushButton::clicked, &TMain::Button6Click);
    ConnectGuarded(Button7, &QPushButton::clicked, &TMain::Button7Click);
    ConnectGuarded(Button8, &QPushButton::clicked, &TMain::Button8Click);
    ConnectGuarded(Button1, &QPushButton::clicked, &TMain::Button1Click);
    ConnectGuarded(Button2, &QPushButton::clicked, &TMain::Button2Click);
    ConnectGuarded(Button3, &QPushButton::clicked, &TMain::Button3Click);
    ConnectGuarded(Button4, &QPushButton::clicked, &TMain::Button4Click);
    ConnectGuarded(Button5, &QPushButton::clicked, &TMain::Button5Click);
    ConnectGuarded(Button9, &QPushButton::clicked, &TMain::Button9Click);

    ConnectGuarded(Open1, &QAction::triggered, &TMain::Open1Click);
    ConnectGuarded(Undo1, &QAction::triggered, &TMain::Undo1Click);
    ConnectGuarded(Exit1, &QAction::triggered, &TMain::Exit1Click);
    ConnectGuarded(Object1, &QAction::triggered, &TMain::Object1Click);
    ConnectGuarded(Contents1, &QAction::triggered, &TMain::Contents1Click);
    ConnectGuarded(About1, &QAction::triggered, &TMain::About1Click);
    ConnectGuarded(N4, &QAction::triggered, &TMain::N4Click);
    ConnectGuarded(N5, &QAction::triggered, &TMain::N5Click);
    ConnectGuarded(N6, &QAction::triggered, &TMain::N6Click);
    // The forwarding entries perform their button's own click, guarded there.
    const std::pair<QAction*, QPushButton*> forwards[] = {
        {N10, Button7}, {N11, Button6}, {N8, Button3}, {N9, Button4}, {N1, Button9}, {N14, Button8}};
    for (const auto& [action, button] : forwards)
        connect(action, &QAction::triggered, button, &QPushButton::click);

    ConnectGuarded(Drive1, &QComboBox::activated, &TMain::Drive1Change);
    ConnectGuarded(Dir1, &FolderListView::rowOpened, &TMain::Dir1RowOpened);
    ConnectGuarded(Splitter1, &SplitterStrip::dragged, &TMain::DragSplitter);
    ConnectGuarded(Splitter1, &SplitterStrip::moved, &TMain::Splitter1Moved);

    // The two lists keep the same top row when the user scrolls or selects.
    ConnectGuarded(oldfile, &NameListView::userScrolled, &TMain::OldFileScrolled);
    ConnectGuarded(NewFile, &NameListView::userScrolled, &TMain::NewFileScrolled);
    ConnectGuarded(oldfile, &NameListView::userSelectionChanged, &TMain::OldFileSelectionChanged);
    ConnectGuarded(NewFile, &NameListView::userSelectionChanged, &TMain::NewFileScrolled);
    ConnectGuarded(oldfile, &QWidget::customContextMenuRequested, &TMain::OldFileContextMenu);
    ConnectGuarded(textvol, &QLineEdit::textEdited, &TMain::TextvolEdited);
    // Presses on the preview and double clicks on oldfile: eventFilter.
    Panel4->installEventFilter(this);
    Image1->installEventFilter(this);
    oldfile->viewport()->installEventFilter(this);
}

void TMain::FormCreate()
{
    QApplication::setWindowIcon(ProgramIcon());
    const std::string working = ProgramFolder;
    text2->setText(QStringLiteral("0"));
    std::string left = "0";
    std::string top = "0";
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
                left = l[20];
                top = l[22];
            }
            if (read->Marker == SettingsMarker::Ver09)
                text2->setText(DisplayText(read->Lines[24]));
        }

        if (!StartFolder.empty()) {
            SwitchFolder(StartFolder);
            SetDriveOf(Dir1->folder());
            SwitchFolder(StartFolder);
        }

        const int y = ParseInteger(top);
        const int x = ParseInteger(left);
        move(x, y);

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
