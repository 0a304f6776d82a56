#pragma once

#include <QString>

namespace kelt {

// What a sheet window needs of the frame that holds it: the focus permission ("いい" lets the
// grid hand the focus back to the editor box, "だめ" does not).
class SheetHost {
 public:
  virtual ~SheetHost() = default;
  virtual QString FocusPermission() const = 0;
  virtual void SetFocusPermission(const QString& permission) = 0;
};

inline const QString kFocusAllowed = QStringLiteral("いい");
inline const QString kFocusDenied = QStringLiteral("だめ");

}  // namespace kelt
