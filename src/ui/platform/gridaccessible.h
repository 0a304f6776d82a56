#pragma once

namespace kelt {

// Gives every grid an accessible table of kelt's own. Its cells are the grid's cells (row 0 the
// column headers, column 0 the row headers, as Qt numbers a table's children), each reported where
// it is drawn: Qt 6.4's table reports its headers where they would be before any scrolling, which
// sends a magnifier or a screen reader following the row header to the wrong place.
void UseOwnAccessibleTables();

}  // namespace kelt
