#pragma once

#include "ui/sheet/sheethost.h"

namespace kelt::test {

// A frame stand-in that only keeps the focus permission.
struct FakeHost : SheetHost {
  QString FocusPermission() const override { return tag; }
  void SetFocusPermission(const QString& permission) override { tag = permission; }
  QString tag = kFocusAllowed;
};

}  // namespace kelt::test
