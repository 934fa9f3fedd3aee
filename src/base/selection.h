#pragma once
// How many rows of a list are selected and which is the last: what the runs over the selection
// (trial run, execution, deleting) count with.
#include <vector>

struct SelectionSummary {
    int Count = 0; // selected rows
    int Last = -1; // index of the last selected row, -1 when none
};

inline SelectionSummary SummarizeSelection(const std::vector<bool>& selected)
{
    SelectionSummary s;
    for (std::size_t i = 0; i < selected.size(); ++i) {
        if (selected[i]) {
            ++s.Count;
            s.Last = static_cast<int>(i);
        }
    }
    return s;
}
