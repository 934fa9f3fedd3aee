#pragma once
// The window's list as data: the folder shown and its listing, the names of the list of
// current names in their order with their selection, the rows of the last trial run with
// their marks, the sort aid and the preview's place. The name lists and the sort aid are
// views of it; every handler reads it, never a widget, and it says when it changed.
#include "filelist/capturecache.h"
#include "filelist/folderlisting.h"

#include <QObject>
#include <QString>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// The rows of one name list; only trial rows carry marks.
struct NameRows {
    std::vector<std::string> Names;
    // Marked rows are drawn red with TipOf(row, name) as their tooltip; the texts are made
    // only when asked for, since a run may mark 100,000 rows.
    std::vector<bool> Marked;
    std::function<QString(std::size_t row, const std::string& name)> TipOf;
    // Non-empty once the rows no longer tell what would happen: every non-empty row is drawn
    // grey with this tooltip in place of its mark; the texts stay.
    QString StaleTip;
};

// One row of the hidden sort aid: a listed name's sort key and its place in the listing.
struct SortAidRow {
    std::string Key;
    std::size_t Index;
};

class ListState : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The folder the folder list shows; its listing may still be the previous folder's
    // until it is read.
    const std::string& Folder() const { return folder_; }
    void SetFolder(std::string folder) { folder_ = std::move(folder); }
    // The folder with a trailing "/": the prefix of every listed name.
    std::string Prefix() const;

    const FolderListing& Listing() const { return listing_; }
    // A new reading: the listing fills the hidden list and the list of current names, in
    // listing order, nothing selected, without trial rows or sort keys.
    void ShowListing(FolderListing listing);

    // The list of current names, in its order, and which rows are selected.
    const NameRows& Current() const { return current_; }
    const std::vector<std::string>& Names() const { return current_.Names; }
    const std::vector<bool>& Selected() const { return selected_; }
    // The listing in another order, nothing selected, no trial rows; keys: the sort aid.
    void ShowOrder(std::vector<std::string> names, std::vector<SortAidRow> keys);
    // The listing in the order given (positions in the listing) with each name's sort key
    // beside it in the sort aid; nothing selected, no trial rows.
    void ShowSorted(const std::vector<std::size_t>& order, std::vector<std::string> keys);
    // Moves every selected row one place up (or down), the selection moving with them. False,
    // and nothing moved, when a selected row is at the edge; an empty list moves nothing.
    bool MoveSelected(bool up);
    // A selection of the user's or the program's; shorter flags leave the rest unselected.
    void Select(std::vector<bool> flags);

    const NameRows& Trial() const { return trial_; }
    // New trial rows, unmarked.
    void ShowTrial(std::vector<std::string> rows);
    void MarkTrial(std::vector<bool> marked,
                   std::function<QString(std::size_t, const std::string&)> tipOf);
    void ClearTrial() { ShowTrial({}); }
    // The inputs of the trial rows changed: they turn grey. Nothing happens without rows.
    void TrialNoLongerHolds(const QString& tip);

    const std::vector<SortAidRow>& SortAid() const { return sortAid_; }

    // The row the preview stepped to last.
    int PreviewIndex() const { return previewIndex_; }
    void SetPreviewIndex(int index) { previewIndex_ = index; }

    // Capture times already read, shared by every sort and run of this window.
    CaptureTimeCache& CaptureTimes() { return captureTimes_; }

signals:
    void listedChanged();
    // New names in the list of current names (a reset: the selection is empty).
    void currentChanged();
    void selectionChanged();
    void trialChanged();
    void trialMarksChanged();
    void sortAidChanged();

private:
    void SetCurrent(std::vector<std::string> names, std::vector<bool> selected);

    std::string folder_;
    FolderListing listing_;
    NameRows current_;
    std::vector<bool> selected_;
    NameRows trial_;
    std::vector<SortAidRow> sortAid_;
    int previewIndex_ = 0;
    CaptureTimeCache captureTimes_;
};
