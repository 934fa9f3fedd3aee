#pragma once
// The About box: the program icon, name and version, and four credit lines.
#include <QDialog>

class OptionsHost;
class QFrame;
class QLabel;
class QPushButton;

class TAbout : public QDialog {
    Q_OBJECT
public:
    explicit TAbout(OptionsHost& host);
    ~TAbout() override;

private:
    void FormCreate(OptionsHost& host);
    void Button1Click();

    QFrame* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* Button1 = nullptr;
};
