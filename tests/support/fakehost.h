#pragma once

#include "ui/sheet/sheethost.h"

namespace kelt::test {

// A frame stand-in that only keeps the focus permission.
struct FakeHost : SheetHost {
  bool FocusAllowed() const override { return allowed; }
  void SetFocusAllowed(bool focusAllowed) override { allowed = focusAllowed; }
  bool allowed = true;
};

}  // namespace kelt::test
