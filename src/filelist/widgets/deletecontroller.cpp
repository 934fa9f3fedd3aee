#include "filelist/widgets/deletecontroller.h"

#include "base/numbers.h"
#include "base/selection.h"
#include "base/utf8.h"
#include "filelist/deletion.h"
#include "filelist/listtexts.h"
#include "filelist/widgets/foldercontroller.h"
#include "ui/progressrun.h"

#include <QLabel>
#include <QScopeGuard>

DeleteController::DeleteController(QLabel* actlabel, ListState& list, FolderController& folders, Teller tell)
    : QObject(actlabel), actlabel_(actlabel), list_(list), folders_(folders), tell_(std::move(tell))
{
}

void DeleteController::Button8Click()
{
    list_.ClearTrial();
    actlabel_->setText(QStringLiteral("000/000"));
    const std::string folder = list_.Folder();
    const std::vector<bool> selected = list_.Selected();
    const SelectionSummary s = SummarizeSelection(selected);
    if (s.Count == 0) {
        tell_(std::string(kNothingSelected));
        return;
    }
    // The warning question; "はい(&Y)" is the default.
    if (AskYesNo(tell_.Parent(), QStringLiteral("警告"), FromUtf8(DeleteQuestion(s.Count)), true)) {
        // The label is not repainted during the deletion, so only the last count is ever
        // seen: it is set once, when the files are done.
        int n = 0, t = 0;
        const auto showCount = qScopeGuard([&] {
            if (n > 0)
                actlabel_->setText(FromUtf8(FormatCounter(n, t)));
        });
        ProgressRun progress(tell_.Parent(), QStringLiteral("削除しています"));
        try {
            DeleteSelected(folder, list_.Names(), selected, [&](int done, int total) {
                progress.Show(done - 1, total);
                n = done;
                t = total;
            });
        } catch (const RunStopped&) {
            // Stopped: the files after the one in hand stay; the label shows the last count.
        }
    }
    folders_.ReadListing();
}
