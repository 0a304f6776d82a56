#pragma once

namespace kelt {

class Sheet;

// Why a structure edit did nothing; the window tells the teacher.
enum class StructureEdit {
  kDone,
  kTooManyColumns,  // "これ以上追加できません": the view already has 257 columns
  kTooFewColumns,   // "これ以上削除できません": the view has only 3 columns
  kNotAClassView,   // "行の挿入はクラスシートのみです"
  // The cursor is in the number or name column: a column inserted or deleted there would move
  // or remove the pupils' names, in every class.
  kNumberOrNameColumn,
};

// The most columns a sheet has: number, name and 255 items.
inline constexpr int kMaxSheetCols = 257;

// Inserts an empty column at `col` (an item column) in every row of the view and of storage, so
// every class gets it; the texts from `col` on move one column right. Marks the sheet modified.
StructureEdit InsertColumn(Sheet& sheet, int col);

// Removes column `col` (an item column) from every row of the view and of storage; the texts to
// its right move one column left. The cursor stays inside the grid. Marks the sheet modified.
StructureEdit DeleteColumn(Sheet& sheet, int col);

// In a class view, inserts an empty pupil row at `row`: the pupils below move down one row and
// the last pupil's texts are lost; on the total or average row only that row is emptied. Column
// 0 keeps its numbers. Only the view changes; storage takes it at the next store. Marks the
// sheet modified.
StructureEdit InsertRow(Sheet& sheet, int row);

}  // namespace kelt
