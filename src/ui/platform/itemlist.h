#pragma once

#include <QList>
#include <QStringList>

class QListWidget;
class QWidget;

namespace kelt {

// How a column list takes the teacher's choice: one item selected at a time, or any number
// marked, a click toggling a mark.
enum class ItemChoice { One, Several };

// The column list `List1` of a dialog, one entry for each score column's name.
QListWidget* MakeColumnList(QWidget* dialog, const QStringList& names, ItemChoice choice);
// Positions of the marked (Several) or selected (One) items, in list order.
QList<int> ChosenItems(const QListWidget* list);

// Tells the teacher that the command needs an item chosen in the list first.
void AskForItem(QWidget* parent);

}  // namespace kelt
