#pragma once
// The main window: every control, the fields of the running program and the handlers of
// its events. Handler bodies stay short and call the module that does the work.
#include "app/services.h"
#include "dialogs/optionshost.h"
#include "filelist/capturecache.h"
#include "filelist/folderlisting.h"
#include "filelist/navigation.h"

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <string>

class QAction;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTreeView;
class FolderListView;
class NameListView;
class SortAidModel;
class SplitterStrip;
class DigitSpinBox;
struct RenameOptions;
struct RunStart;
enum class RecordSave;
class QPoint;
class TAbout;
class TOption;

class TMain : public QMainWindow, public OptionsHost {
    Q_OBJECT
    Q_PROPERTY(QString StartFolder READ startFolderText)
    Q_PROPERTY(QString ProgramFolder READ programFolderText)
    Q_PROPERTY(QString ExtLowerCase READ extLowerCaseText)
    Q_PROPERTY(QString JpegToJpg READ jpegToJpgText)
    Q_PROPERTY(QString ViewerPath READ viewerPathText)
    Q_PROPERTY(QStringList SettingsLines READ settingsLinesText)
    Q_PROPERTY(int PreviewIndex READ previewIndex)
public:
    // programFolder: the executable's folder; the start-up sequence runs here, and everything
    // outside the window goes through services.
    explicit TMain(const std::string& programFolder, AppServices services = {},
                   QWidget* parent = nullptr);
    ~TMain() override;

    QString startFolderText() const;
    QString programFolderText() const;
    QString extLowerCaseText() const;
    QString jpegToJpgText() const;
    QString viewerPathText() const;
    QStringList settingsLinesText() const;
    int previewIndex() const { return PreviewIndex; }

    // A plain message box, or whatever the services show instead.
    void Tell(const QString& text, const QString& informative = {});
    void Tell(const std::string& utf8);

    // The dialogs the menu opens; they exist only after the main window.
    void SetDialogs(TAbout* about, TOption* option);
    // What the dialogs read from and hand back to the main window.
    QWidget* HostWindow() override { return this; }
    const SettingsValues& StartupSettings() const override { return StartupSettings_; }
    std::string StartFolderBytes() const override { return StartFolder; }
    std::string ViewerPathBytes() const override { return ViewerPath; }
    std::string ProgramFolderBytes() const override { return ProgramFolder; }
    std::string ShownFolder() const override;
    FolderNavigation& Folders() override { return Navigation; }
    QString BaseNumberText() const override;
    int DigitCountValue() const override;
    void ApplySavedOptions(const SettingsValues& values) override;
    void OpenSavedFolder(const std::string& path) override;
    void SetViewerPathBytes(const std::string& path) override { ViewerPath = path; }

protected:
    void resizeEvent(QResizeEvent* e) override;
    // Presses on the preview (Panel4, Image1) and double clicks on oldfile.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Start-up and layout.
    void BuildControls();
    void BuildMenus();
    void ConnectHandlers();
    void FormCreate();
    void FormResize();
    void Splitter1Moved();
    // Moves the splitter strip by dx pixels, as a drag by the user does.
    void DragSplitter(int dx);

    // Folders and the listing.
    void Drive1Change();
    void Dir1Change();
    void File1Change();
    void Dir1RowOpened(int row);
    void Button11Click();
    void Button5Click();
    void Open1Click();
    void Undo1Click();
    // Asks whether to execute although the undo record could not be written; true for
    // "はい(&Y)".
    bool GoOnWithoutUndoRecord(RecordSave saved);
    void Exit1Click();
    // Switches Dir1 to a path and runs Dir1Change when the folder changed. Throws EFileError.
    void SwitchFolder(const std::string& path);
    // Selects a volume in Drive1 and runs Drive1Change.
    void SetDriveOf(const std::string& folder);
    // Reads the listing again and refills oldfile (File1Change); false when it went back to
    // the program's folder instead.
    bool ReadListing();
    void FillDriveList();
    // Shows the volume of a folder in Drive1 without running Drive1Change.
    void ShowDriveOf(const std::string& folder);
    void RecoverToProgramFolder();
    void FillOldFile(std::vector<std::string> names);
    // The folder prefix of the current folder.
    std::string FolderPrefixOfDir1() const;

    // Options, trial run and execution.
    void Check1Click();
    void Check2Click();
    void Check3Click();
    void Check4Click();
    void UpDown1Click();
    void OldFileClick();
    void Button6Click();
    void Button7Click();
    void TextvolEdited();
    // The replacement text: the raw bytes OldFileClick put there, unless the user edited it.
    std::string TextvolBytes() const;
    void SetTextvolBytes(const std::string& bytes);
    RenameOptions CurrentOptions(int digitCount) const;
    // The opening both runs share; false when nothing is selected (the user was told).
    bool StartRun(RunStart& start, bool hidePicture);
    // Greys the rows of the last trial run once anything they were made from changes: the
    // selection or order of oldfile, or an input of the names. Every such input is connected
    // in WatchTrialInputs, one place; a new option the names depend on joins there.
    void WatchTrialInputs();
    void TrialInputChanged();
    // The two extension flags of the options dialog; a change greys the trial rows.
    void SetExtensionFlags(bool lowerCase, bool jpegToJpg);

    // Deleting.
    void Button8Click();

    // Selection, moves, sorts and joint scrolling.
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void N4Click();
    void N5Click();
    void N6Click();
    void KeyedSort(bool byDate);
    void N15Click();
    void ShowSortedListing(const std::vector<std::size_t>& order, std::vector<std::string> keys);
    void OldFileScrolled();
    void NewFileScrolled();
    void OldFileSelectionChanged();
    void OldFileContextMenu(const QPoint& pos);
    void AlignTop(NameListView* from, NameListView* to);

    // Preview and opening files.
    void Button9Click();
    // Serves Image1's presses too.
    void Panel4MouseDown();
    void OldFileDblClick();
    void HidePicture();
    // Shows row (of oldfile) in Image1. Throws the JPEG errors.
    void LoadAndShow(const std::string& prefix, int row);

    // Options, help and the About box.
    void Object1Click();
    void Contents1Click();
    void About1Click();

    // Fields of the running program.
    AppServices Services;
    std::array<std::string, 25> SettingsLines;
    SettingsValues StartupSettings_;
    std::string StartFolder;
    std::string ProgramFolder;
    bool ExtLowerCase = false;
    bool JpegToJpg = false;
    std::string ViewerPath;
    int PreviewIndex = 0;

    // Controls.
    QWidget* Panel1 = nullptr;
    QWidget* Panel2 = nullptr;
    QComboBox* Drive1 = nullptr;
    FolderListView* Dir1 = nullptr;
    NameListView* File1 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button6 = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* Button8 = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* textvol = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* edit2 = nullptr;
    DigitSpinBox* UpDown1 = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* text2 = nullptr;
    QTreeView* fileList = nullptr;
    SortAidModel* fileListRows = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label2 = nullptr;
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QCheckBox* Check3 = nullptr;
    QCheckBox* Check4 = nullptr;
    QFrame* Panel3 = nullptr;
    QLabel* actlabel = nullptr;
    NameListView* oldfile = nullptr;
    NameListView* NewFile = nullptr;
    SplitterStrip* Splitter1 = nullptr;
    QPushButton* Button11 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button9 = nullptr;
    QFrame* Panel4 = nullptr;
    QLabel* Image1 = nullptr;
    QFileDialog* OpenDialog1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction *File2 = nullptr, *Open1 = nullptr, *Exit1 = nullptr;
    QAction* Undo1 = nullptr;
    QAction *Edit1 = nullptr, *Object1 = nullptr;
    QAction *Help1 = nullptr, *Contents1 = nullptr, *About1 = nullptr;
    QAction *N10 = nullptr, *N11 = nullptr, *N8 = nullptr, *N9 = nullptr, *N1 = nullptr;
    QAction *N4 = nullptr, *N5 = nullptr, *N6 = nullptr, *N14 = nullptr;
    QAction* N15 = nullptr;

    // The folder listing behind File1.
    FolderListing Listing;
    CaptureTimeCache CaptureTimes; // shared by every capture-date sort of this window

    std::string textvolRaw_;
    QString textvolRawShown_;
    FolderNavigation Navigation;
    bool recovering_ = false;
    TAbout* About = nullptr;
    TOption* Option = nullptr;
};
