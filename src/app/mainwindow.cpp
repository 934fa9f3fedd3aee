// The main window's start-up sequence, its controllers and the one table of its connections.
#include "app/mainwindow.h"

#include "app/splitterstrip.h"
#include "base/numbers.h"
#include "filelist/widgets/deletecontroller.h"
#include "filelist/widgets/foldercontroller.h"
#include "filelist/widgets/folderlistview.h"
#include "filelist/widgets/listcontroller.h"
#include "filelist/widgets/namelistview.h"
#include "preview/widgets/previewcontroller.h"
#include "rename/widgets/renamecontroller.h"
#include "rename/widgets/undocontroller.h"
#include "settings/startfolder.h"
#include "settings/widgets/presetmenu.h"
#include "ui/appicon.h"
#include "ui/digitspinbox.h"
#include "ui/displaytext.h"
#include "ui/guard.h"

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
    : QMainWindow(parent), Services(std::move(services)), Config(programFolder), Presets(PresetsPath())
{
    BuildControls();
    MakeControllers();
    FolderFeature->FillDriveList();
    ConnectHandlers();
    FormCreate();
    UndoFeature->StartUp();
}

TMain::~TMain() = default;

QString TMain::startFolderText() const { return DisplayText(Config.StartFolder()); }
QString TMain::programFolderText() const { return DisplayText(Config.ProgramFolder()); }
QString TMain::extLowerCaseText() const { return QString::fromLatin1(FlagText(Config.ExtLowerCase())); }
QString TMain::jpegToJpgText() const { return QString::fromLatin1(FlagText(Config.JpegToJpg())); }
QString TMain::viewerPathText() const { return DisplayText(Config.ViewerPath()); }

QStringList TMain::settingsLinesText() const
{
    QStringList lines;
    for (const std::string& line : Config.Lines())
        lines << DisplayText(line);
    return lines;
}

void TMain::MakeControllers()
{
    const Teller tell(this, Services.Message);
    FolderFeature = new FolderController({this, C.Drive1, C.Dir1}, List, Services.Volumes);
    ListFeature = new ListController({C.File1, C.oldfile, C.NewFile, C.fileListRows, C.PopupMenu1}, List, tell,
                                     [this] { return Naming.Values().ClockOffset; });
    DeleteFeature = new DeleteController(C.actlabel, List, *FolderFeature, tell);
    UndoFeature = new UndoController(C.Undo1, C.Redo1, C.actlabel, List, *FolderFeature, tell, Services.Renames);
    RenameFeature = new RenameController(
        {C.Check1, C.Check2, C.Check3, C.Check4, C.textvol, C.edit2, C.UpDown1, C.text2, C.Edit4, C.actlabel,
         C.Companions1, C.CaptureName1, C.DayCounter1, C.ClockOffset1},
        Naming, List, Config, *FolderFeature, *UndoFeature, tell, Services.Renames);
    PresetFeature = new PresetMenu({C.Presets1, C.PresetSave1, C.PresetDelete1}, this, Naming, Presets,
                                   [r = RenameFeature](const RenameInputValues& v) { r->ApplyPreset(v); });
    PreviewFeature = new PreviewController({C.Panel4, C.Image1, C.oldfile->viewport()}, List, Config,
                                           Services.Launch);
}

void TMain::ConnectHandlers()
{
    auto* r = RenameFeature;
    ConnectGuarded(this, r, C.Check1, &QCheckBox::toggled, &RenameController::Check1Click);
    ConnectGuarded(this, r, C.Check2, &QCheckBox::toggled, &RenameController::Check2Click);
    ConnectGuarded(this, r, C.Check3, &QCheckBox::toggled, &RenameController::Check3Click);
    ConnectGuarded(this, r, C.Check4, &QCheckBox::toggled, &RenameController::Check4Click);
    ConnectGuarded(this, r, C.UpDown1, &QSpinBox::valueChanged, &RenameController::UpDown1Click);
    ConnectGuarded(this, r, C.Button6, &QPushButton::clicked, &RenameController::Button6Click);
    ConnectGuarded(this, r, C.Button7, &QPushButton::clicked, &RenameController::Button7Click);
    ConnectGuarded(this, r, C.textvol, &QLineEdit::textChanged, &RenameController::TextvolChanged);
    ConnectGuarded(this, r, C.text2, &QLineEdit::textChanged, &RenameController::Text2Changed);
    ConnectGuarded(this, r, C.Edit4, &QLineEdit::textChanged, &RenameController::Edit4Changed);
    ConnectGuarded(this, r, C.Companions1, &QAction::toggled, &RenameController::Companions1Click);
    ConnectGuarded(this, r, C.CaptureName1, &QAction::toggled, &RenameController::CaptureName1Click);
    ConnectGuarded(this, r, C.DayCounter1, &QAction::toggled, &RenameController::DayCounter1Click);
    ConnectGuarded(this, r, C.ClockOffset1, &QAction::triggered, &RenameController::ClockOffset1Click);
    ConnectGuarded(this, PresetFeature, C.PresetSave1, &QAction::triggered, &PresetMenu::PresetSave1Click);
    ConnectGuarded(this, UndoFeature, C.Undo1, &QAction::triggered, &UndoController::Undo1Click);
    ConnectGuarded(this, UndoFeature, C.Redo1, &QAction::triggered, &UndoController::Redo1Click);
    ConnectGuarded(this, C.History1, &QAction::triggered, &TMain::History1Click);
    ConnectGuarded(this, DeleteFeature, C.Button8, &QPushButton::clicked, &DeleteController::Button8Click);

    auto* f = FolderFeature;
    ConnectGuarded(this, f, C.Button11, &QPushButton::clicked, &FolderController::Button11Click);
    ConnectGuarded(this, f, C.Button5, &QPushButton::clicked, &FolderController::Button5Click);
    ConnectGuarded(this, f, C.Open1, &QAction::triggered, &FolderController::Open1Click);
    ConnectGuarded(this, f, C.Drive1, &QComboBox::activated, &FolderController::Drive1Change);
    ConnectGuarded(this, f, C.Dir1, &FolderListView::rowOpened, &FolderController::Dir1RowOpened);

    auto* l = ListFeature;
    ConnectGuarded(this, l, C.Button1, &QPushButton::clicked, &ListController::Button1Click);
    ConnectGuarded(this, l, C.Button2, &QPushButton::clicked, &ListController::Button2Click);
    ConnectGuarded(this, l, C.Button3, &QPushButton::clicked, &ListController::Button3Click);
    ConnectGuarded(this, l, C.Button4, &QPushButton::clicked, &ListController::Button4Click);
    ConnectGuarded(this, l, C.N4, &QAction::triggered, &ListController::N4Click);
    ConnectGuarded(this, l, C.N5, &QAction::triggered, &ListController::N5Click);
    ConnectGuarded(this, l, C.N6, &QAction::triggered, &ListController::N6Click);
    ConnectGuarded(this, l, C.N15, &QAction::triggered, &ListController::N15Click);
    // The two lists keep the same top row when the user scrolls or selects; a click on the
    // list of current names then puts its text part into textvol.
    ConnectGuarded(this, l, C.oldfile, &NameListView::userScrolled, &ListController::OldFileScrolled);
    ConnectGuarded(this, l, C.NewFile, &NameListView::userScrolled, &ListController::NewFileScrolled);
    ConnectGuarded(this, l, C.oldfile, &NameListView::userSelectionChanged, &ListController::OldFileSelectionChanged);
    ConnectGuarded(this, r, C.oldfile, &NameListView::userSelectionChanged, &RenameController::OldFileClick);
    ConnectGuarded(this, l, C.NewFile, &NameListView::userSelectionChanged, &ListController::NewFileScrolled);
    ConnectGuarded(this, l, C.oldfile, &QWidget::customContextMenuRequested, &ListController::OldFileContextMenu);
    ConnectGuarded(this, l, r, &RenameController::trialShown, &ListController::OldFileScrolled);

    ConnectGuarded(this, PreviewFeature, C.Button9, &QPushButton::clicked, &PreviewController::Button9Click);
    ConnectGuarded(this, PreviewFeature, r, &RenameController::pictureToHide, &PreviewController::Reset);
    // Presses on the preview and double clicks on oldfile: the preview's event filter.

    ConnectGuarded(this, C.Exit1, &QAction::triggered, &TMain::Exit1Click);
    ConnectGuarded(this, C.Object1, &QAction::triggered, &TMain::Object1Click);
    ConnectGuarded(this, C.Contents1, &QAction::triggered, &TMain::Contents1Click);
    ConnectGuarded(this, C.About1, &QAction::triggered, &TMain::About1Click);
    ConnectGuarded(this, C.Splitter1, &SplitterStrip::dragged, &TMain::DragSplitter);
    ConnectGuarded(this, C.Splitter1, &SplitterStrip::moved, &TMain::Splitter1Moved);
    // The forwarding entries perform their button's own click, guarded there.
    const std::pair<QAction*, QPushButton*> forwards[] = {{C.N10, C.Button7}, {C.N11, C.Button6},
                                                          {C.N8, C.Button3},  {C.N9, C.Button4},
                                                          {C.N1, C.Button9},  {C.N14, C.Button8}};
    for (const auto& [action, button] : forwards)
        connect(action, &QAction::triggered, button, &QPushButton::click);
}

void TMain::FormCreate()
{
    QApplication::setWindowIcon(ProgramIcon());
    const std::string working = Config.ProgramFolder();
    C.text2->setText(QStringLiteral("0"));
    SettingsNumber left = 0;
    SettingsNumber top = 0;

    Guarded(this, [&] {
        FolderFeature->SwitchFolder(working);
        FolderFeature->SetDriveOf(List.Folder());
        FolderFeature->SwitchFolder(working);
        Config.SetProgramFolder(List.Folder());
        FolderFeature->SetRecoveryFolder(List.Folder());

        // What pelkorin.conf and the presets keep holds even when the settings file fails.
        RenameFeature->ShowKeptOptions();
        PresetFeature->Load();
        const bool hasFile = Config.Load();
        const SettingsValues& s = Config.Startup();
        RenameFeature->ShowStartSettings(s, hasFile);
        if (hasFile) {
            left = s.Left;
            top = s.Top;
        }

        const std::string opening =
            OpeningFolder(Services.CommandLineFolder, Config.StartFolder(), Config.ProgramFolder());
        if (!opening.empty()) {
            FolderFeature->SwitchFolder(opening);
            FolderFeature->SetDriveOf(List.Folder());
            FolderFeature->SwitchFolder(opening);
        }

        const int y = ParseInteger(top.Text);
        const int x = ParseInteger(left.Text);
        move(x, y);

        C.edit2->setText(QString::number(C.UpDown1->value()));
        C.textvol->setEnabled(C.Check1->isChecked());
        C.edit2->setEnabled(C.Check2->isChecked());
        C.UpDown1->setEnabled(C.Check2->isChecked());
        C.text2->setEnabled(C.Check3->isChecked());
        C.Edit4->setEnabled(C.Check4->isChecked());

        List.ShowOrder(List.Listing().Names, {});
        PreviewFeature->Reset();
        C.Label2->move(C.Splitter1->x() + C.Splitter1->width() + 7, C.Label2->y());
    });
}

void TMain::Exit1Click()
{
    close();
}
