// Any cell text through the number rules, and any double through the rounding and the result
// text: the rules agree with each other, and a written result reads back as the number it was.
#include <QString>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/calc/numberrules.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckResult(double x) {
  const QString text = kelt::ResultText(x);
  if (!std::isfinite(x)) {
    Check(text.isEmpty());
    return;
  }
  Check(text != QStringLiteral("-0"));
  Check(kelt::IsNumericCell(text));
  const double back = kelt::WholeTextValue(text);
  // Fifteen significant digits: the text is the value to within its last digit.
  Check(std::fabs(back - x) <= std::fabs(x) * 1e-14 + 1e-300);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const bool numeric = kelt::IsNumericCell(text);
  Check(kelt::NumericCellValue(text).has_value() == numeric);
  if (!numeric) Check(kelt::WholeTextValue(text) == 0.0);
  (void)kelt::LeadingNumberValue(text);

  if (size >= sizeof(double) + 1) {
    double x;
    std::memcpy(&x, data + 1, sizeof x);
    const int places = data[0] % 16;
    CheckResult(x);
    if (std::isfinite(x) && std::fabs(x) < 1e15) {
      const double rounded = kelt::RoundHalfUp(x, places);
      Check(std::isfinite(rounded));
      Check(std::fabs(rounded - x) <= std::pow(10.0, -places) * 0.5 + std::fabs(x) * 1e-12);
      CheckResult(rounded);
    }
  }
  return 0;
}
