#include "app/windows.h"

#include "ui/qttranslations.h"

#include <QApplication>
#include <QFont>
#include <utility>

Windows CreateWindows(const std::string& programFolder)
{
    return CreateWindows(programFolder, AppServices{});
}

Windows CreateWindows(const std::string& programFolder, AppServices services,
                      const std::string& folder)
{
    services.CommandLineFolder = folder;
    return CreateWindows(programFolder, std::move(services));
}

Windows CreateWindows(const std::string& programFolder, AppServices services)
{
    QApplication::setApplicationName(QStringLiteral("Pelkorin"));
    // Before any window: the file dialog and the edit menus speak Japanese with the rest.
    LoadQtTranslations();
    // The window fonts keep their Japanese Windows names; IPA fonts stand in for them.
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), {QStringLiteral("IPAGothic")});
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), {QStringLiteral("IPAPGothic")});
    Windows w;
    w.Main = std::make_unique<TMain>(programFolder, std::move(services));
    // Each dialog fills and places itself from the finished main window.
    w.About = std::make_unique<TAbout>(*w.Main);
    w.Openfolda = std::make_unique<TOpenfolda>(*w.Main);
    w.Option = std::make_unique<TOption>(*w.Main, w.Main->Settings(), w.Main->Inputs(), *w.Openfolda);
    w.History = std::make_unique<THistory>();
    w.Main->SetDialogs(w.About.get(), w.Option.get(), w.History.get());
    return w;
}
