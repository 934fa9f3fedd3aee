#include "settings/widgets/optionsdialog.h"

#include "base/utf8.h"
#include "ui/filepick.h"
#include "ui/digitspinbox.h"
#include "ui/guard.h"
#include "ui/typedlengthlimit.h"
#include "dialogs/dialogparts.h"
#include "dialogs/folderchooser.h"
#include "settings/widgets/optionshost.h"
#include "settings/programsettings.h"
#include "rename/renameinputs.h"
#include "ui/displaytext.h"
#include "base/numbers.h"
#include "settings/settingslocation.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QRect g, int pixels = 12)
{
    auto* l = MakeControl<QLabel>(parent, name, g);
    l->setText(text);
    if (pixels != 12)
        l->setFont(WindowFont(false, pixels));
    return l;
}

QCheckBox* MakeCheck(QWidget* parent, const char* name, const QString& text, QRect g)
{
    auto* c = MakeControl<QCheckBox>(parent, name, g);
    c->setText(text);
    return c;
}

QLineEdit* MakeReadOnlyEdit(QWidget* parent, const char* name, QRect g)
{
    auto* e = MakeControl<QLineEdit>(parent, name, g);
    e->setReadOnly(true);
    return e;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, QRect g)
{
    auto* b = MakeControl<QPushButton>(parent, name, g);
    b->setText(text);
    return b;
}

QSlider* MakeTrackBar(QWidget* parent, const char* name, QRect g)
{
    auto* s = MakeControl<QSlider>(parent, name, g);
    s->setOrientation(Qt::Horizontal);
    s->setPageStep(10);
    s->setTickInterval(20);
    s->setTickPosition(QSlider::TicksBelow);
    return s;
}

QWidget* MakePage(QTabWidget* pages, const char* name, const QString& caption)
{
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    pages->addTab(page, caption);
    return page;
}

// The raw path behind a read-only edit: the bytes it was set from, unless its text was
// replaced since.
std::string RawText(const QLineEdit* edit, const std::string& raw)
{
    if (edit->text() == DisplayText(raw))
        return raw;
    return QFile::encodeName(edit->text()).toStdString();
}

} // namespace

TOption::TOption(OptionsHost& host, ProgramSettings& settings, RenameInputs& inputs, TOpenfolda& chooser)
    : QDialog(nullptr), host_(host), settings_(settings), inputs_(inputs), chooser_(chooser)
{
    BuildControls();
    ConnectHandlers();
    FormCreate();
}

TOption::~TOption() = default;

void TOption::BuildControls()
{
    MakeFixedDialog(this, "Option", QStringLiteral("Option"), 521, 246);

    Panel1 = MakeControl<QWidget>(this, "Panel1", {0, 0, 521, 34});
    PanelTitle = MakeControl<QLabel>(Panel1, "PanelTitle", {12, 0, 500, 34});
    QFont titleFont = WindowFont(true, 21);
    titleFont.setBold(true);
    PanelTitle->setFont(titleFont);
    PanelTitle->setText(QStringLiteral("起動オプション設定"));

    PageControl1 = MakeControl<QTabWidget>(this, "PageControl1", {8, 38, 505, 168});
    TabSheet1 = MakePage(PageControl1, "TabSheet1", QStringLiteral("起動フォルダ"));
    TabSheet2 = MakePage(PageControl1, "TabSheet2", QStringLiteral("モード設定"));
    TabSheet5 = MakePage(PageControl1, "TabSheet5", QStringLiteral("拡張子設定"));
    TabSheet3 = MakePage(PageControl1, "TabSheet3", QStringLiteral("表示位置"));
    TabSheet4 = MakePage(PageControl1, "TabSheet4", QStringLiteral("外部ビュアー"));

    Label1 = MakeLabel(TabSheet1, "Label1",
                       QStringLiteral("起動時のフォルダ設定（設定ボタンで指定してください）"),
                       {12, 14, 476, 20}, 15);
    Edit1 = MakeReadOnlyEdit(TabSheet1, "Edit1", {12, 48, 390, 22});
    Button1 = MakeButton(TabSheet1, "Button1", QStringLiteral("設定"), {410, 47, 75, 24});

    Check3 = MakeCheck(TabSheet2, "Check3", QStringLiteral("文字列を変更する"), {12, 10, 200, 20});
    Check4 = MakeCheck(TabSheet2, "Check4", QStringLiteral("数字の桁を合わせる"), {12, 34, 200, 20});
    Check5 = MakeCheck(TabSheet2, "Check5", QStringLiteral("数字を連番にする"), {12, 58, 200, 20});
    Label6 = MakeLabel(TabSheet2, "Label6", QStringLiteral("連番時の基準番号"), {230, 60, 110, 16});
    text2 = MakeControl<QLineEdit>(TabSheet2, "text2", {344, 58, 61, 20});
    text2->setAlignment(Qt::AlignRight);
    new TypedLengthLimit(6, text2);
    text2->setToolTip(QStringLiteral("数字を連番にするときの最初の番号です"));
    Label5 = MakeLabel(TabSheet2, "Label5", QStringLiteral("ファイルに付加する数字の桁数"),
                       {12, 94, 180, 16});
    // The count is the spin's position; text typed here would never be read, so none is.
    Edit2 = MakeReadOnlyEdit(TabSheet2, "Edit2", {196, 92, 40, 20});
    Edit2->setAlignment(Qt::AlignRight);
    UpDown1 = MakeControl<DigitSpinBox>(TabSheet2, "UpDown1", {236, 92, 17, 20});
    UpDown1->setRange(0, 100);

    Check0 = MakeCheck(TabSheet5, "Check0", QStringLiteral("拡張子を小文字にする"), {12, 12, 300, 20});
    Check1 = MakeCheck(TabSheet5, "Check1",
                       QStringLiteral("拡張子が「jpeg」だったとき「jpg」に変更する"), {12, 38, 400, 20});
    Check2 = MakeCheck(TabSheet5, "Check2", QStringLiteral("拡張子を任意に設定する"), {12, 64, 300, 20});

    CheckBox2 = MakeCheck(TabSheet3, "CheckBox2", QStringLiteral("現在の位置を保存する"), {12, 6, 250, 22});
    CheckBox2->setFont(WindowFont(false, 15));
    GroupBox2 = MakeControl<QGroupBox>(TabSheet3, "GroupBox2", {12, 32, 476, 100});
    Label2 = MakeLabel(GroupBox2, "Label2", QStringLiteral("水平位置"), {12, 24, 56, 16});
    Edit4 = MakeReadOnlyEdit(GroupBox2, "Edit4", {70, 22, 50, 20});
    Edit4->setAlignment(Qt::AlignRight);
    Edit4->setText(QStringLiteral("0"));
    HBar = MakeTrackBar(GroupBox2, "HBar", {130, 18, 334, 30});
    Label3 = MakeLabel(GroupBox2, "Label3", QStringLiteral("垂直位置"), {12, 64, 56, 16});
    Edit5 = MakeReadOnlyEdit(GroupBox2, "Edit5", {70, 62, 50, 20});
    Edit5->setAlignment(Qt::AlignRight);
    Edit5->setText(QStringLiteral("0"));
    VBar = MakeTrackBar(GroupBox2, "VBar", {130, 58, 334, 30});

    Label4 = MakeLabel(TabSheet4, "Label4", QStringLiteral("「jpg」の外部ビュアー設定"),
                       {12, 14, 476, 20}, 15);
    Edit3 = MakeReadOnlyEdit(TabSheet4, "Edit3", {12, 48, 390, 22});
    Button2 = MakeButton(TabSheet4, "Button2", QStringLiteral("設定"), {410, 47, 75, 24});
    Button3 = MakeButton(TabSheet4, "Button3", QStringLiteral("関連づけられたソフトを起動する"),
                         {12, 84, 230, 24});

    optOK = MakeButton(this, "optOK", QStringLiteral("登録"), {350, 214, 78, 25});
    optCansel = MakeButton(this, "optCansel", QStringLiteral("ｷｬﾝｾﾙ"), {435, 214, 78, 25});
    PageControl1->setCurrentIndex(0);
}

void TOption::ConnectHandlers()
{
    ConnectGuarded(this, optOK, &QPushButton::clicked, &TOption::optOKClick);
    ConnectGuarded(this, optCansel, &QPushButton::clicked, &TOption::optCanselClick);
    ConnectGuarded(this, Button1, &QPushButton::clicked, &TOption::Button1Click);
    ConnectGuarded(this, Button2, &QPushButton::clicked, &TOption::Button2Click);
    ConnectGuarded(this, Button3, &QPushButton::clicked, &TOption::Button3Click);
    ConnectGuarded(this, Check3, &QCheckBox::toggled, &TOption::Check3Click);
    ConnectGuarded(this, Check5, &QCheckBox::toggled, &TOption::Check5Click);
    ConnectGuarded(this, UpDown1, &QSpinBox::valueChanged, &TOption::UpDown1Click);
    ConnectGuarded(this, CheckBox2, &QCheckBox::toggled, &TOption::CheckBox2Click);
    // Every move the user makes (drag, groove, keys, wheel) is an action; the program's own
    // setValue is not, so opening the dialog never moves the main window.
    ConnectGuarded(this, HBar, &QAbstractSlider::actionTriggered, &TOption::HBarChange);
    ConnectGuarded(this, VBar, &QAbstractSlider::actionTriggered, &TOption::VBarChange);
}

void TOption::FormCreate()
{
    text2->setText(FromUtf8(inputs_.Values().BaseNumber));
    QWidget* main = host_.HostWindow();
    move(main->x() + 50, main->y() + 95);
    SetStartFolder(settings_.StartFolder());

    const SettingsValues& saved = settings_.Startup();
    Check0->setChecked(saved.ExtLowerCase);
    Check1->setChecked(saved.JpegToJpg);
    Check2->setChecked(saved.ChangeExt);
    Check3->setChecked(saved.ChangeText);
    Check4->setChecked(saved.PadDigits);
    Check5->setChecked(saved.Sequential);

    UpDown1->setValue(inputs_.Values().DigitCount);
    Edit2->setText(QString::number(UpDown1->value()));
    SetViewer(settings_.ViewerPath());
    CheckBox2->setChecked(true);

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    HBar->setRange(0, TrackBarMaximum(screen.width(), 300));
    VBar->setRange(0, TrackBarMaximum(screen.height(), 200));

    Label6->setVisible(Check5->isChecked());
    text2->setVisible(Check5->isChecked());
}

void TOption::Open()
{
    QWidget* main = host_.HostWindow();
    HBar->setValue(TrackBarPosition(main->x(), HBar->maximum()));
    VBar->setValue(TrackBarPosition(main->y(), VBar->maximum()));
    Edit4->setText(QString::number(HBar->value()));
    Edit5->setText(QString::number(VBar->value()));
    exec();
}

void TOption::SetStartFolder(const std::string& folder)
{
    startFolder_ = folder;
    Edit1->setText(DisplayText(folder));
}

void TOption::SetViewer(const std::string& path)
{
    viewerPath_ = path;
    Edit3->setText(DisplayText(path));
}

OptionsForm TOption::CurrentForm() const
{
    OptionsForm f;
    f.StartFolder = RawText(Edit1, startFolder_);
    f.ChangeText = Check3->isChecked();
    f.PadDigits = Check4->isChecked();
    f.Sequential = Check5->isChecked();
    f.DigitCount = UpDown1->value();
    f.ExtLowerCase = Check0->isChecked();
    f.JpegToJpg = Check1->isChecked();
    f.ChangeExt = Check2->isChecked();
    f.ViewerPath = RawText(Edit3, viewerPath_);
    f.SaveActualPosition = CheckBox2->isChecked();
    f.BarLeft = HBar->value();
    f.BarTop = VBar->value();
    f.BaseNumber = ToUtf8(text2->text());
    return f;
}

void TOption::optOKClick()
{
    QWidget* main = host_.HostWindow();
    SettingsValues values = SavedValues(CurrentForm(), main->x(), main->y());
    // A Wayland desktop tells no window where it stands (and places it itself): "the current
    // position" there is the one saved before, not a made-up one.
    if (CheckBox2->isChecked() && QGuiApplication::platformName().startsWith(QStringLiteral("wayland"))) {
        const bool saved = settings_.Startup().Marker != SettingsMarker::None;
        values.Left = saved ? settings_.Startup().Left : SettingsNumber(0);
        values.Top = saved ? settings_.Startup().Top : SettingsNumber(0);
    }
    // A value the file can't hold is refused before anything is applied or written, so the
    // next start doesn't read a file whose lines have shifted.
    if (const std::optional<std::string> message = UnstorableSettingsValue(values))
        throw ESettingsValueError(*message);
    // The main check boxes and digit count are the rename inputs; the flags stay here.
    RenameInputValues kept = inputs_.Values();
    kept.ChangeText = values.ChangeText;
    kept.PadDigits = values.PadDigits;
    kept.Sequential = values.Sequential;
    kept.DigitCount = MainDigitCount(ParseInteger(values.DigitCount.Text));
    kept.ChangeExt = values.ChangeExt;
    settings_.SetExtensionFlags(values.ExtLowerCase, values.JpegToJpg);
    inputs_.Set(kept);
    WriteSettingsFile(SettingsFolderForSaving(settings_.ProgramFolder()), values);
    host_.OpenSavedFolder(values.StartFolder);
    settings_.SetViewerPath(values.ViewerPath);
    main->move(ParseInteger(values.Left.Text), ParseInteger(values.Top.Text));
    accept();
}

void TOption::optCanselClick()
{
    reject();
}

void TOption::Button1Click()
{
    chooser_.exec();
    SetStartFolder(chooser_.SelectedFolderBytes());
}

void TOption::Button2Click()
{
    // A cancelled pick keeps the viewer the user had.
    if (const auto picked = PickFile(OpenDialog1, this, QStringLiteral("ファイル選択")))
        SetViewer(*picked);
}

void TOption::Button3Click()
{
    SetViewer({});
}

void TOption::Check3Click()
{
    Edit2->setEnabled(Check3->isChecked());
}

void TOption::Check5Click()
{
    Label6->setVisible(Check5->isChecked());
    text2->setVisible(Check5->isChecked());
}

void TOption::UpDown1Click()
{
    Edit2->setText(QString::number(UpDown1->value()));
}

void TOption::CheckBox2Click()
{
    const bool bars = !CheckBox2->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{GroupBox2, Edit4, Edit5, HBar, VBar})
        w->setEnabled(bars);
}

void TOption::HBarChange()
{
    // Called as the action starts: the new position is already there, the value not yet.
    const int left = HBar->sliderPosition();
    Edit4->setText(QString::number(left));
    QWidget* main = host_.HostWindow();
    main->move(left, main->y());
}

void TOption::VBarChange()
{
    const int top = VBar->sliderPosition();
    Edit5->setText(QString::number(top));
    QWidget* main = host_.HostWindow();
    main->move(main->x(), top);
}
