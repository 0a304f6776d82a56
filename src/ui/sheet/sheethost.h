#pragma once

namespace kelt {

// What a sheet window needs of the frame that holds it: the focus permission (the frame's Tag,
// "いい" when the grid may hand the focus back to the editor box, "だめ" when not).
class SheetHost {
 public:
  virtual ~SheetHost() = default;
  virtual bool FocusAllowed() const = 0;
  virtual void SetFocusAllowed(bool allowed) = 0;
};

}  // namespace kelt
