#pragma once

#include <QAction>
#include <QString>

#include "ui/app/frmmain.h"

namespace kelt::test {

// A menu or toolbar command of the frame, found by its objectName.
inline QAction* Action(const frmMain& frame, const char* name) {
  return frame.findChild<QAction*>(QString::fromLatin1(name));
}

}  // namespace kelt::test
