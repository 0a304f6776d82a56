#pragma once

#include <QString>

#include "core/sheet/sheet.h"

namespace kelt::bench {

// A year of marks in every cell of every score column.
inline void Fill(Sheet& sheet, int cols) {
  sheet.MutableStorage().SetCols(cols);
  sheet.SetViewCols(cols);
  sheet.EditView([](kelt::TextGrid& view) {
    for (int r = 1; r < view.Rows(); ++r)
      for (int c = 1; c < view.Cols(); ++c) view.SetText(r, c, QString::number((r * 7 + c) % 101));
  });
  sheet.StoreView();
}

}  // namespace kelt::bench
