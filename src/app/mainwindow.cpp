// The main window's fields, its start-up sequence and the wiring of its handlers.
#include "app/mainwindow.h"

#include "base/utf8.h"
#include "ui/appicon.h"
#include "ui/guard.h"
#include "ui/digitspinbox.h"
#include "app/splitterstrip.h"
#include "filelist/displaytext.h"
#include "filelist/widgets/folderlistview.h"
#include "filelist/widgets/namelistview.h"
#include "base/numbers.h"
#include "settings/optionsform.h"
#include "rename/undo.h"
#include "settings/settingsfile.h"
#include "settings/settingslocation.h"
#include "settings/startfolder.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <utility>

TMain::TMain(const std::string& programFolder, AppServices services, QWidget* parent)
    : QMainWindow(parent), Services(std::move(services))
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

void TMain::Tell(const QString& text, const QString& informative)
{
    Services.Message(this, text, informative);
}

void TMain::Tell(const std::string& utf8)
{
    Tell(FromUtf8(utf8));
}

QString TMain::startFolderText() const { return DisplayText(StartFolder); }
QString TMain::programFolderText() const { return DisplayText(ProgramFolder); }
QString TMain::extLowerCaseText() const { return QString::fromLatin1(FlagText(ExtLowerCase)); }
QString TMain::jpegToJpgText() const { return QString::fromLatin1(FlagText(JpegToJpg)); }
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
    ConnectGuarded(this, Check1, &QCheckBox::toggled, &TMain::Check1Click);
    ConnectGuarded(this, Check2, &QCheckBox::toggled, &TMain::Check2Click);
    ConnectGuarded(this, Check3, &QCheckBox::toggled, &TMain::Check3Click);
    ConnectGuarded(this, Check4, &QCheckBox::toggled, &TMain::Check4Click);
    ConnectGuarded(this, UpDown1, &QSpinBox::valueChanged, &TMain::UpDown1Click);

    ConnectGuarded(this, Button11, &QPushButton::clicked, &TMain::Button11Click);
    ConnectGuarded(this, Button6, &QPushButton::clicked, &TMain::Button6Click);
    ConnectGuarded(this, Button7, &QPushButton::clicked, &TMain::Button7Click);
    ConnectGuarded(this, Button8, &QPushButton::clicked, &TMain::Button8Click);
    ConnectGuarded(this, Button1, &QPushButton::clicked, &TMain::Button1Click);
    ConnectGuarded(this, Button2, &QPushButton::clicked, &TMain::Button2Click);
    ConnectGuarded(this, Button3, &QPushButton::clicked, &TMain::Button3Click);
    ConnectGuarded(this, Button4, &QPushButton::clicked, &TMain::Button4Click);
    ConnectGuarded(this, Button5, &QPushButton::clicked, &TMain::Button5Click);
    ConnectGuarded(this, Button9, &QPushButton::clicked, &TMain::Button9Click);

    ConnectGuarded(this, Open1, &QAction::triggered, &TMain::Open1Click);
    ConnectGuarded(this, Undo1, &QAction::triggered, &TMain::Undo1Click);
    ConnectGuarded(this, Exit1, &QAction::triggered, &TMain::Exit1Click);
    ConnectGuarded(this, Object1, &QAction::triggered, &TMain::Object1Click);
    ConnectGuarded(this, Contents1, &QAction::triggered, &TMain::Contents1Click);
    ConnectGuarded(this, About1, &QAction::triggered, &TMain::About1Click);
    ConnectGuarded(this, N4, &QAction::triggered, &TMain::N4Click);
    ConnectGuarded(this, N5, &QAction::triggered, &TMain::N5Click);
    ConnectGuarded(this, N6, &QAction::triggered, &TMain::N6Click);
    ConnectGuarded(this, N15, &QAction::triggered, &TMain::N15Click);
    // The forwarding entries perform their button's own click, guarded there.
    const std::pair<QAction*, QPushButton*> forwards[] = {
        {N10, Button7}, {N11, Button6}, {N8, Button3}, {N9, Button4}, {N1, Button9}, {N14, Button8}};
    for (const auto& [action, button] : forwards)
        connect(action, &QAction::triggered, button, &QPushButton::click);

    ConnectGuarded(this, Drive1, &QComboBox::activated, &TMain::Drive1Change);
    ConnectGuarded(this, Dir1, &FolderListView::rowOpened, &TMain::Dir1RowOpened);
    ConnectGuarded(this, Splitter1, &SplitterStrip::dragged, &TMain::DragSplitter);
    ConnectGuarded(this, Splitter1, &SplitterStrip::moved, &TMain::Splitter1Moved);

    // The two lists keep the same top row when the user scrolls or selects.
    ConnectGuarded(this, oldfile, &NameListView::userScrolled, &TMain::OldFileScrolled);
    ConnectGuarded(this, NewFile, &NameListView::userScrolled, &TMain::NewFileScrolled);
    ConnectGuarded(this, oldfile, &NameListView::userSelectionChanged, &TMain::OldFileSelectionChanged);
    ConnectGuarded(this, NewFile, &NameListView::userSelectionChanged, &TMain::NewFileScrolled);
    ConnectGuarded(this, oldfile, &QWidget::customContextMenuRequested, &TMain::OldFileContextMenu);
    ConnectGuarded(this, textvol, &QLineEdit::textEdited, &TMain::TextvolEdited);
    // Presses on the preview and double clicks on oldfile: eventFilter.
    Panel4->installEventFilter(this);
    Image1->installEventFilter(this);
    oldfile->viewport()->installEventFilter(this);
    WatchTrialInputs();
}

void TMain::FormCreate()
{
    QApplication::setWindowIcon(ProgramIcon());
    const std::string working = ProgramFolder;
    text2->setText(QStringLiteral("0"));
    SettingsNumber left = 0;
    SettingsNumber top = 0;
    JpegToJpg = false;
    ExtLowerCase = false;
    StartupSettings_ = DecodeSettings(SettingsRead{});

    Guarded(this, [&] {
        SwitchFolder(working);
        SetDriveOf(Dir1->folder());
        SwitchFolder(working);
        ProgramFolder = Dir1->folder();

        if (auto read = ReadSettingsFile(SettingsFolderToRead(ProgramFolder))) {
            SettingsLines = read->Lines;
            StartupSettings_ = DecodeSettings(*read);
            const SettingsValues& s = StartupSettings_;
            if (s.Marker != SettingsMarker::None) {
                StartFolder = s.StartFolder;
                Check1->setChecked(s.ChangeText);
                Check2->setChecked(s.PadDigits);
                Check3->setChecked(s.Sequential);
                UpDown1->setValue(MainDigitCount(ParseInteger(s.DigitCount.Text)));
                ExtLowerCase = s.ExtLowerCase;
                JpegToJpg = s.JpegToJpg;
                Check4->setChecked(s.ChangeExt);
                ViewerPath = s.ViewerPath;
                left = s.Left;
                top = s.Top;
            }
            if (s.Marker == SettingsMarker::Ver09)
                text2->setText(DisplayText(s.BaseNumber));
        }

        const std::string opening =
            OpeningFolder(Services.CommandLineFolder, StartFolder, ProgramFolder);
        if (!opening.empty()) {
            SwitchFolder(opening);
            SetDriveOf(Dir1->folder());
            SwitchFolder(opening);
        }

        const int y = ParseInteger(top.Text);
        const int x = ParseInteger(left.Text);
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
