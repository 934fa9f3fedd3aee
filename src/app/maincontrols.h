#pragma once
// Every control of the main window, by the name it carries as its objectName. The window
// builds them; each feature's controller is handed the few it uses.
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTreeView;
class QWidget;
class DigitSpinBox;
class FolderListView;
class NameListView;
class SortAidModel;
class SplitterStrip;

struct MainControls {
    QWidget *Panel1 = nullptr, *Panel2 = nullptr;
    QComboBox* Drive1 = nullptr;
    FolderListView* Dir1 = nullptr;
    NameListView* File1 = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr, *Button3 = nullptr, *Button4 = nullptr;
    QPushButton *Button5 = nullptr, *Button6 = nullptr, *Button7 = nullptr, *Button8 = nullptr;
    QPushButton *Button9 = nullptr, *Button11 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr;
    QLabel *Label6 = nullptr, *Label7 = nullptr;
    QLineEdit *textvol = nullptr, *edit2 = nullptr, *Edit4 = nullptr, *text2 = nullptr;
    DigitSpinBox* UpDown1 = nullptr;
    QTreeView* fileList = nullptr;
    SortAidModel* fileListRows = nullptr;
    QCheckBox *Check1 = nullptr, *Check2 = nullptr, *Check3 = nullptr, *Check4 = nullptr;
    QFrame* Panel3 = nullptr;
    QLabel* actlabel = nullptr;
    NameListView *oldfile = nullptr, *NewFile = nullptr;
    SplitterStrip* Splitter1 = nullptr;
    QFrame* Panel4 = nullptr;
    QLabel* Image1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction *File2 = nullptr, *Open1 = nullptr, *Exit1 = nullptr, *Undo1 = nullptr;
    QAction *Redo1 = nullptr, *History1 = nullptr;
    QAction *Edit1 = nullptr, *Object1 = nullptr, *Companions1 = nullptr, *CaptureName1 = nullptr;
    QAction *DayCounter1 = nullptr, *ClockOffset1 = nullptr, *PresetSave1 = nullptr;
    QMenu *Presets1 = nullptr, *PresetDelete1 = nullptr;
    QAction *Help1 = nullptr, *Contents1 = nullptr, *About1 = nullptr;
    QAction *N1 = nullptr, *N4 = nullptr, *N5 = nullptr, *N6 = nullptr, *N8 = nullptr, *N9 = nullptr;
    QAction *N10 = nullptr, *N11 = nullptr, *N14 = nullptr, *N15 = nullptr;
};
