#pragma once
// The options dialog: start folder, the main check boxes' defaults, digit count, base
// number, extension flags, window position and viewer program. "登録" saves them and
// applies most of them to the main window at once.
#include "settings/optionsform.h"

#include <QDialog>
#include <string>

class OptionsHost;
class ProgramSettings;
class RenameInputs;
class TOpenfolda;
class QCheckBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class QWidget;

class TOption : public QDialog {
    Q_OBJECT
public:
    // inputs: the main window's rename inputs, which "登録" sets as the main check boxes.
    TOption(OptionsHost& host, ProgramSettings& settings, RenameInputs& inputs, TOpenfolda& chooser);
    ~TOption() override;

    // Refreshes the position controls from the main window and shows the dialog modally.
    void Open();

private:
    void BuildControls();
    void ConnectHandlers();
    void FormCreate();

    void optOKClick();
    void optCanselClick();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Check3Click();
    void Check5Click();
    void UpDown1Click();
    void CheckBox2Click();
    void HBarChange();
    void VBarChange();

    OptionsForm CurrentForm() const;
    void SetStartFolder(const std::string& folder);
    void SetViewer(const std::string& path);

    OptionsHost& host_;
    ProgramSettings& settings_;
    RenameInputs& inputs_;
    TOpenfolda& chooser_;
    // Edit1 and Edit3 show these raw paths as text.
    std::string startFolder_;
    std::string viewerPath_;

    QWidget* Panel1 = nullptr;
    QLabel* PanelTitle = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet5 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QWidget* TabSheet4 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QCheckBox* Check3 = nullptr;
    QCheckBox* Check4 = nullptr;
    QCheckBox* Check5 = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* text2 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QSpinBox* UpDown1 = nullptr;
    QCheckBox* Check0 = nullptr;
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QSlider* HBar = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QSlider* VBar = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* optOK = nullptr;
    QPushButton* optCansel = nullptr;
    QFileDialog* OpenDialog1 = nullptr;
};
