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

// Every storage row and field filled: item names, pupil names in kana and kanji, marks.
inline TextGrid FullStorage(int cols) {
  TextGrid storage(Sheet::kStorageRows, cols);
  storage.SetText(0, 1, QStringLiteral("氏  名"));
  for (int c = 2; c < storage.Cols(); ++c) storage.SetText(0, c, QStringLiteral("項目%1").arg(c));
  for (int r = 1; r < storage.Rows(); ++r) {
    storage.SetText(r, 1, QStringLiteral("髙橋ｺﾀﾛｳ%1").arg(r));
    for (int c = 2; c < storage.Cols(); ++c)
      storage.SetText(r, c, QString::number((r * 7 + c) % 101));
  }
  return storage;
}

}  // namespace kelt::bench
