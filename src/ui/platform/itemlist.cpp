#include "ui/platform/itemlist.h"

#include <QListWidget>

#include "ui/platform/prompts.h"

namespace kelt {

QListWidget* MakeColumnList(QWidget* dialog, const QStringList& names, ItemChoice choice) {
  const bool several = choice == ItemChoice::Several;
  auto* list = new QListWidget(dialog);
  list->setObjectName(QStringLiteral("List1"));
  list->setAccessibleName(QStringLiteral("項目"));
  list->setSelectionMode(several ? QAbstractItemView::NoSelection
                                 : QAbstractItemView::SingleSelection);
  list->setProperty("several", several);
  for (const QString& name : names) {
    auto* item = new QListWidgetItem(name, list);
    if (several) {
      item->setFlags(Qt::ItemIsEnabled);
      item->setCheckState(Qt::Unchecked);
    }
  }
  if (several) {
    // A click anywhere on an item toggles its mark.
    QObject::connect(list, &QListWidget::itemClicked, list, [](QListWidgetItem* item) {
      item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });
  }
  return list;
}

QList<int> ChosenItems(const QListWidget* list) {
  QList<int> items;
  const bool several = list->property("several").toBool();
  for (int k = 0; k < list->count(); ++k) {
    const QListWidgetItem* item = list->item(k);
    if (several ? item->checkState() == Qt::Checked : item->isSelected()) items.append(k);
  }
  return items;
}

void AskForItem(QWidget* parent) { ShowMessage(parent, QStringLiteral("項目を選択してください")); }

}  // namespace kelt
