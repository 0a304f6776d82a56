#pragma once

namespace kelt {

class FlexGrid;

// Gives `grid` an accessible table of kelt's own, as every grid has. Its cells are the grid's cells
// (row 0 the column headers, column 0 the row headers, as Qt numbers a table's children), each
// reported where it is drawn: Qt 6.4's table reports its headers where they would be before any
// scrolling, which sends a magnifier or a screen reader following the row header to the wrong
// place.
void UseOwnAccessibleTable(FlexGrid* grid);

}  // namespace kelt
