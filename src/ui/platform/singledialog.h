#pragma once

#include <QDialog>
#include <QString>
#include <QWidget>

namespace kelt {

// A frame's dialog: named and titled `name`, shown without modality, deleted when closed.
inline void MakeSingleDialog(QDialog* dialog, const QString& name) {
  dialog->setObjectName(name);
  dialog->setWindowTitle(name);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setModal(false);
}

// The frame's dialogs exist once each: the open one called `name` comes to the front, otherwise
// `make` builds one and it is shown without modality.
template <typename Make>
QDialog* ShowSingleDialog(const QString& name, QWidget* frame, Make make) {
  if (auto* open = frame->findChild<QDialog*>(name, Qt::FindDirectChildrenOnly)) {
    open->show();
    open->raise();
    open->activateWindow();
    return open;
  }
  QDialog* dialog = make();
  dialog->show();
  return dialog;
}

}  // namespace kelt
