#pragma once
// Moving the selected rows of the current-name list one place up or down.
//
// A move walks the rows once: going up, each selected row, from the first to the last, trades
// places with the row just above it; going down, from the last to the first, with the row just
// below. An unselected row next to a run of selected rows thereby passes to the other end of
// the run, gaps between selected rows stay, and the selection goes with the moved rows. Each
// trade is a swap, so a move is linear in the number of rows.
#include <cstddef>
#include "base/errors.h"

#include <string>
#include <utility>
#include <vector>

// Moves every selected row one place up; the selection travels with the rows.
// Returns false and changes nothing when the first row is selected. An empty list is a no-op
// that returns true. Throws EListIndexError when the two vectors differ in size.
template <class Row>
bool MoveSelectedUp(std::vector<Row>& rows, std::vector<bool>& selected)
{
    if (rows.size() != selected.size())
        throw EListIndexError(static_cast<long long>(selected.size()));
    if (rows.empty())
        return true;
    if (selected.front())
        return false;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        if (selected[i]) {
            using std::swap;
            swap(rows[i - 1], rows[i]);
            // The row above is never selected here: it was unselected from the start or has
            // just handed its flag on. So the flag simply goes along with its row.
            selected[i - 1] = true;
            selected[i] = false;
        }
    }
    return true;
}

// Moves every selected row one place down; the selection travels with the rows.
// Returns false and changes nothing when the last row is selected. An empty list is a no-op
// that returns true. Throws EListIndexError when the two vectors differ in size.
template <class Row>
bool MoveSelectedDown(std::vector<Row>& rows, std::vector<bool>& selected)
{
    if (rows.size() != selected.size())
        throw EListIndexError(static_cast<long long>(selected.size()));
    if (rows.empty())
        return true;
    if (selected.back())
        return false;
    for (std::size_t i = rows.size() - 1; i-- > 0;) {
        if (selected[i]) {
            using std::swap;
            swap(rows[i], rows[i + 1]);
            // As going up: the row below is unselected by now.
            selected[i + 1] = true;
            selected[i] = false;
        }
    }
    return true;
}

// The list holds names; a list model may rather move a permutation of row indexes and
// rearrange its own rows (and persistent indexes) from it.
extern template bool MoveSelectedUp(std::vector<std::string>&, std::vector<bool>&);
extern template bool MoveSelectedDown(std::vector<std::string>&, std::vector<bool>&);
