#pragma once
// The thumbnail preview (show the first selected photo, step through the others on a press)
// and opening a file in the viewer or in the program associated with it.
#include "filelist/liststate.h"
#include "preview/thumbnail.h"
#include "settings/programsettings.h"

#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QFrame;
class QLabel;
class QWidget;

struct PreviewControls {
    QFrame* Panel4;
    QLabel* Image1;
    // The list of current names' viewport: a double click there opens the file.
    QWidget* oldfileViewport;
};

class PreviewController : public QObject {
    Q_OBJECT
public:
    using Launcher = std::function<bool(const std::string& program, const std::string& argument,
                                        const std::string& workingFolder)>;
    PreviewController(PreviewControls controls, ListState& list, const ProgramSettings& settings,
                      Launcher launch);

    // The picture as it is when the window opens, and during a trial run: hidden and disabled.
    void Reset();

    // Handlers.
    void Button9Click();
    // Serves Image1's presses too.
    void Panel4MouseDown();
    void OldFileDblClick();

protected:
    // Presses on the preview (Panel4, Image1) and double clicks on the list of current names.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void HidePicture();
    // Hides the picture, lets choose pick the row and the next preview index (the show-first
    // or the step operation), and shows that row.
    using Choose = preview::PreviewChoice (*)(const std::vector<std::string>&, const std::vector<bool>&, int);
    void Show(Choose choose);
    // Shows row (of the list) in Image1. Throws the JPEG and picture errors.
    void LoadAndShow(int row);

    PreviewControls c_;
    ListState& list_;
    const ProgramSettings& settings_;
    Launcher launch_;
};
