#include "filelist/liststate.h"

#include "base/paths.h"
#include "filelist/moves.h"

std::string ListState::Prefix() const
{
    return FolderPrefix(folder_);
}

void ListState::ShowListing(FolderListing listing)
{
    listing_ = std::move(listing);
    emit listedChanged();
    ShowOrder(listing_.Names, {});
}

void ListState::ShowOrder(std::vector<std::string> names, std::vector<SortAidRow> keys)
{
    sortAid_ = std::move(keys);
    emit sortAidChanged();
    SetCurrent(std::move(names), {});
    ClearTrial();
}

void ListState::ShowSorted(const std::vector<std::size_t>& order, std::vector<std::string> keys)
{
    std::vector<SortAidRow> rows;
    std::vector<std::string> sorted;
    rows.reserve(order.size());
    sorted.reserve(order.size());
    for (std::size_t i : order) {
        rows.push_back({std::move(keys[i]), i});
        sorted.push_back(listing_.Names[i]);
    }
    ShowOrder(std::move(sorted), std::move(rows));
}

bool ListState::MoveSelected(bool up)
{
    std::vector<std::string> rows = current_.Names;
    std::vector<bool> selected = selected_;
    if (rows.empty())
        return true;
    if (!(up ? MoveSelectedUp(rows, selected) : MoveSelectedDown(rows, selected)))
        return false;
    SetCurrent(std::move(rows), std::move(selected));
    return true;
}

void ListState::SetCurrent(std::vector<std::string> names, std::vector<bool> selected)
{
    selected.resize(names.size(), false);
    current_.Names = std::move(names);
    selected_ = std::move(selected);
    emit currentChanged();
}

void ListState::Select(std::vector<bool> flags)
{
    flags.resize(current_.Names.size(), false);
    if (flags == selected_)
        return;
    selected_ = std::move(flags);
    emit selectionChanged();
}

void ListState::ShowTrial(std::vector<std::string> rows)
{
    if (rows.empty() && trial_.Names.empty() && trial_.StaleTip.isEmpty())
        return;
    trial_ = NameRows{std::move(rows), {}, {}, {}};
    emit trialChanged();
}

void ListState::MarkTrial(std::vector<bool> marked,
                          std::function<QString(std::size_t, const std::string&)> tipOf)
{
    trial_.Marked = std::move(marked);
    trial_.TipOf = std::move(tipOf);
    emit trialMarksChanged();
}

void ListState::TrialNoLongerHolds(const QString& tip)
{
    if (trial_.Names.empty() || trial_.StaleTip == tip)
        return;
    trial_.StaleTip = tip;
    emit trialMarksChanged();
}
