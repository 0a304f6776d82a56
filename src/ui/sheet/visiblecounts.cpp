#include "ui/sheet/visiblecounts.h"

#include "ui/platform/flexgrid.h"

namespace kelt {

int VisibleRowCount(const FlexGrid& grid) {
  const int height = grid.HeightTwips();
  int sum = 0;
  for (int i = 0; i < grid.Rows(); ++i) {
    sum += grid.RowHeight(i);
    if (sum >= height) return i - grid.FixedRows() - 1;
  }
  return grid.Rows();
}

int VisibleColCount(const FlexGrid& grid) {
  const int width = grid.WidthTwips();
  int sum = 0;
  for (int i = 0; i < grid.Cols(); ++i) {
    sum += grid.ColWidth(i);
    if (sum >= width) return i - grid.FixedCols();
  }
  return grid.Cols();
}

}  // namespace kelt
