#include "app/windows.h"

#include <QApplication>
#include <QFont>

Windows CreateWindows(const std::string& programFolder)
{
    QApplication::setApplicationName(QStringLiteral("Pelkorin"));
    // The window fonts keep their Japanese Windows names; IPA fonts stand in for them.
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), {QStringLiteral("IPAGothic")});
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), {QStringLiteral("IPAPGothic")});
    Windows w;
    w.Main = std::make_unique<TMain>(programFolder);
    return w;
}
