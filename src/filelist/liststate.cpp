#include "filelist/liststate.h"

#include "base/paths.h"

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

void ListState::Rearrange(std::vector<std::string> names, std::vector<bool> selected)
{
    SetCurrent(std::move(names), std::move(selected));
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
