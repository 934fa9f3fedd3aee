#include "support/dialogdriving.h"

#include <QAbstractItemView>
#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

ModalRun WithOptions(TMain* main, std::vector<ModalStep> steps)
{
    return RunModalSteps([&] { Find<QAction>(main, "Object1")->trigger(); }, std::move(steps));
}

ModalStep OptionStep(std::function<void(QWidget*)> act)
{
    return {QStringLiteral("Option"), std::move(act)};
}

namespace {
QModelIndex FolderRow(QWidget* window, const char* list, const std::string& folder)
{
    auto* view = Find<QAbstractItemView>(window, list);
    const QByteArray bytes = QByteArray::fromStdString(folder);
    for (int r = 0; r < view->model()->rowCount(); ++r) {
        const QModelIndex index = view->model()->index(r, 0);
        if (index.data(Qt::UserRole).toByteArray() == bytes)
            return index;
    }
    ADD_FAILURE() << "no row for " << folder;
    return {};
}
} // namespace

void OpenFolderRow(QWidget* window, const char* list, const std::string& folder)
{
    const QModelIndex index = FolderRow(window, list, folder);
    if (!index.isValid())
        return;
    auto* view = Find<QAbstractItemView>(window, list);
    view->scrollTo(index);
    const QPoint at = view->visualRect(index).center();
    // QTest sends the double-click event alone; a real one follows a click.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

void HighlightFolderRow(QWidget* window, const char* list, const std::string& folder)
{
    const QModelIndex index = FolderRow(window, list, folder);
    if (!index.isValid())
        return;
    auto* view = Find<QAbstractItemView>(window, list);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

std::vector<ModalStep> ChooseStartFolder(const std::string* folder, bool cancel)
{
    return {
        OptionStep([](QWidget* d) {
            Find<QTabWidget>(d, "PageControl1")->setCurrentWidget(Find(d, "TabSheet1"));
            Later(Find<QPushButton>(d, "Button1"));
        }),
        {QStringLiteral("Openfolda"), [folder, cancel](QWidget* chooser) {
             if (cancel)
                 return Find<QPushButton>(chooser, "Button2")->click();
             if (!folder)
                 return static_cast<void>(chooser->close());
             OpenFolderRow(chooser, "Dir2", *folder);
             Find<QPushButton>(chooser, "Button1")->click();
         }},
    };
}

std::vector<ModalStep> PickViewer(const std::string& file, QString* seenTitle)
{
    return {
        OptionStep([](QWidget* d) {
            Find<QTabWidget>(d, "PageControl1")->setCurrentWidget(Find(d, "TabSheet4"));
            Later(Find<QPushButton>(d, "Button2"));
        }),
        {QStringLiteral("OpenDialog1"), [file, seenTitle](QWidget* w) {
             auto* dialog = qobject_cast<QFileDialog*>(w);
             ASSERT_NE(dialog, nullptr);
             if (seenTitle)
                 *seenTitle = dialog->windowTitle();
             if (file.empty())
                 return dialog->reject();
             // Typed into the name box: selectFile() leaves the box alone while it has focus.
             Find<QLineEdit>(dialog, "fileNameEdit")->setText(FromUtf8(file));
             static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides its override
         }},
    };
}

std::string ExpectedSettingsFile(const std::map<int, std::string>& values)
{
    // The headers in Shift-JIS, as the file holds them.
    static const char* const headers[12] = {
        "[\x8b\x4e\x93\xae\x83\x74\x83\x48\x83\x8b\x83\x5f]",         // 起動フォルダ
        "[\x95\xb6\x8e\x9a\x97\xf1\x95\xcf\x8d\x58]",                 // 文字列変更
        "[\x90\x94\x97\xf1\x8c\x85\x90\x94\x92\xb2\x90\xae]",         // 数列桁数調整
        "[\x90\x94\x97\xf1\x98\x41\x94\xd4\x90\xdd\x92\xe8]",         // 数列連番設定
        "[\x90\x94\x97\xf1\x8c\x85\x90\x94\x90\xdd\x92\xe8]",         // 数列桁数設定
        "[\x8a\x67\x92\xa3\x8e\x71\x8f\xac\x95\xb6\x8e\x9a\x90\xdd\x92\xe8]", // 拡張子小文字設定
        "[\x8a\x67\x92\xa3\x8e\x71jpg\x90\xdd\x92\xe8]",              // 拡張子jpg設定
        "[\x8a\x67\x92\xa3\x8e\x71\x95\xcf\x8d\x58\x90\xdd\x92\xe8]", // 拡張子変更設定
        "[\x8a\x4f\x95\x94\x83\x72\x83\x85\x83\x41\x81\x5b\x90\xdd\x92\xe8]", // 外部ビュアー設定
        "[\x95\x5c\x8e\xa6\x90\x85\x95\xbd\x88\xca\x92\x75]",         // 表示水平位置
        "[\x95\x5c\x8e\xa6\x90\x82\x92\xbc\x88\xca\x92\x75]",         // 表示垂直位置
        "[\x98\x41\x94\xd4\x82\xcc\x8a\xee\x8f\x80\x94\xd4\x8d\x86]", // 連番の基準番号
    };
    std::map<int, std::string> lines = {{2, ""},    {4, "off"}, {6, "off"},  {8, "off"},
                                        {10, "3"},  {12, "off"}, {14, "off"}, {16, "off"},
                                        {18, ""},   {20, "0"},  {22, "0"},   {24, "0"}};
    for (const auto& [n, v] : values)
        lines[n] = v;
    std::string text = "Pelkorin Ver0.9\r\n";
    for (int n = 1; n < 25; ++n)
        text += (n % 2 ? std::string(headers[n / 2]) : lines[n]) + "\r\n";
    return text;
}
