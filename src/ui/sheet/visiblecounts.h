#pragma once

namespace kelt {

class FlexGrid;

// Scrollable rows that fit in the grid's height (all rows when they all fit); summed from row 0
// whatever the scroll position.
int VisibleRowCount(const FlexGrid& grid);
// Scrollable columns that fit in the grid's width (all columns when they all fit).
int VisibleColCount(const FlexGrid& grid);

}  // namespace kelt
