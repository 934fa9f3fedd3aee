// Deleting the selected files: the question, the deletion and the re-read of the listing.
#include "app/mainwindow.h"

#include "app/deletetexts.h"
#include "app/selectiontexts.h"
#include "base/selection.h"
#include "base/utf8.h"
#include "ui/messages.h"
#include "filelist/deletion.h"
#include "filelist/widgets/folderlistview.h"
#include "filelist/widgets/namelistview.h"
#include "base/numbers.h"

#include <QLabel>
#include <QScopeGuard>

namespace {
// The warning question; true only for "はい(&Y)", the default.
bool AskToDelete(QWidget* parent, int count)
{
    return AskYesNo(parent, QStringLiteral("警告"), FromUtf8(DeleteQuestion(count)), true);
}
} // namespace

void TMain::Button8Click()
{
    NewFile->names()->clear();
    actlabel->setText(QStringLiteral("000/000"));
    const std::string folder = Dir1->folder();
    const std::vector<bool> selected = oldfile->selectedFlags();
    const SelectionSummary s = SummarizeSelection(selected);
    if (s.Count == 0) {
        Tell(std::string(kNothingSelected));
        return;
    }
    if (AskToDelete(this, s.Count)) {
        // The label is not repainted during the deletion, so only the last count is ever
        // seen: it is set once, when the files are done.
        int n = 0, t = 0;
        const auto showCount = qScopeGuard([&] {
            if (n > 0)
                actlabel->setText(FromUtf8(FormatCounter(n, t)));
        });
        DeleteSelected(folder, oldfile->names()->names(), selected, [&](int done, int total) {
            n = done;
            t = total;
        });
    }
    ReadListing();
}
