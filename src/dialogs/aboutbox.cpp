#include "dialogs/aboutbox.h"

#include "ui/appicon.h"
#include "dialogs/dialogparts.h"
#include "settings/widgets/optionshost.h"
#include "ui/guard.h"

#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

#ifndef PELKORIN_VERSION
#error "the build passes the program version as PELKORIN_VERSION"
#endif

namespace {
// "Pelkorin Ver" and the version the build gives.
QString ProductTitle()
{
    return QStringLiteral("Pelkorin Ver") + QStringLiteral(PELKORIN_VERSION);
}

QLabel* MakeCredit(QWidget* parent, const char* name, const QString& text, QRect g, bool italic)
{
    auto* l = MakeControl<QLabel>(parent, name, g);
    QFont f = WindowFont(false, italic ? 16 : 12);
    f.setItalic(italic);
    l->setFont(f);
    l->setText(text);
    return l;
}
} // namespace

TAbout::TAbout(OptionsHost& host) : QDialog(nullptr)
{
    MakeFixedDialog(this, "About", QStringLiteral("バージョン情報"), 375, 183);

    Panel1 = MakeControl<QFrame>(this, "Panel1", {7, 7, 361, 137});
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setAutoFillBackground(true);
    QPalette white = Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    Panel1->setPalette(white);

    Image1 = MakeControl<QLabel>(Panel1, "Image1", {10, 10, 41, 41});
    Image1->setScaledContents(true);
    Image1->setPixmap(ProgramIcon().pixmap(32, 32));

    ProductName = MakeControl<QLabel>(Panel1, "ProductName", {64, 14, 290, 34});
    QFont title = WindowFont(true, 27);
    title.setBold(true);
    title.setItalic(true);
    title.setUnderline(true);
    ProductName->setFont(title);
    QPalette aqua = ProductName->palette();
    aqua.setColor(QPalette::WindowText, QColor(0, 255, 255));
    ProductName->setPalette(aqua);
    ProductName->setText(ProductTitle());

    Label1 = MakeCredit(Panel1, "Label1", QStringLiteral("ファイル名一括変更ソフト"),
                        {16, 56, 335, 20}, true);
    Label3 = MakeCredit(Panel1, "Label3", QStringLiteral("デジタルカメラの写真の整理にどうぞ"),
                        {16, 78, 335, 16}, false);
    Label2 = MakeCredit(Panel1, "Label2", QStringLiteral("Linux 版 Qt 6 で動作します"),
                        {16, 95, 335, 20}, true);
    Label4 = MakeCredit(Panel1, "Label4", QStringLiteral("フリーソフトウェア・無保証です"),
                        {16, 114, 335, 20}, true);

    Button1 = MakeControl<QPushButton>(this, "Button1", {(375 - 75) / 2, 151, 75, 25});
    Button1->setText(QStringLiteral("OK"));
    Button1->setDefault(true);
    ConnectGuarded(this, Button1, &QPushButton::clicked, &TAbout::Button1Click);

    FormCreate(host);
}

TAbout::~TAbout() = default;

void TAbout::FormCreate(OptionsHost& host)
{
    QWidget* main = host.HostWindow();
    move(main->x() + 130, main->y() + 130);
}

void TAbout::Button1Click()
{
    accept();
}
