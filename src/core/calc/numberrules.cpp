#include "core/calc/numberrules.h"

#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace kelt {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsExponentMark(char16_t c) { return c == u'E' || c == u'e'; }

// Reads a whole ASCII number with std::from_chars, which ignores the C locale; a leading "+" is
// not part of its grammar and is never passed in.
bool ReadDouble(const char* first, const char* last, double* value) {
  const auto [ptr, ec] = std::from_chars(first, last, *value);
  return ec == std::errc() && ptr == last;
}

// One pass over a cell: checks the numeric-cell grammar and yields both readings of it, the
// leading-number value (up to the first grouping comma) and the whole-text value.
bool ScanNumericCell(const QString& text, double* leading, double* whole) {
  const char16_t* s = reinterpret_cast<const char16_t*>(text.utf16());
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && IsBlank(s[begin])) ++begin;
  while (end > begin && IsBlank(s[end - 1])) --end;
  if (begin == end) return false;

  // The ASCII digits of the number without its grouping commas, for std::from_chars.
  QVarLengthArray<char, 64> ascii;
  qsizetype leadEnd = -1;  // length of `ascii` at the first comma
  qsizetype i = begin;
  if (s[i] == u'+' || s[i] == u'-') {
    if (s[i] == u'-') ascii.append('-');
    ++i;
  }
  int digits = 0;
  int groupDigits = 0;  // digits since the last comma, or since the start
  bool grouped = false;
  for (; i < end; ++i) {
    if (IsDigit(s[i])) {
      ascii.append(static_cast<char>(s[i]));
      ++digits;
      ++groupDigits;
    } else if (s[i] == u',') {
      // The first group holds one to three digits, every later one exactly three.
      if (groupDigits == 0 || groupDigits > 3 || (grouped && groupDigits != 3)) return false;
      if (!grouped) leadEnd = ascii.size();
      grouped = true;
      groupDigits = 0;
    } else {
      break;
    }
  }
  if (grouped && groupDigits != 3) return false;
  if (i < end && s[i] == u'.') {
    ascii.append('.');
    for (++i; i < end && IsDigit(s[i]); ++i) {
      ascii.append(static_cast<char>(s[i]));
      ++digits;
    }
  }
  if (digits == 0) return false;
  if (i < end && IsExponentMark(s[i])) {
    ascii.append('e');
    ++i;
    if (i < end && (s[i] == u'+' || s[i] == u'-')) {
      if (s[i] == u'-') ascii.append('-');
      ++i;
    }
    int exponentDigits = 0;
    for (; i < end && IsDigit(s[i]); ++i, ++exponentDigits) ascii.append(static_cast<char>(s[i]));
    if (exponentDigits == 0) return false;
  }
  if (i != end) return false;

  double value = 0.0;
  if (!ReadDouble(ascii.data(), ascii.data() + ascii.size(), &value) || !std::isfinite(value))
    return false;
  if (whole) *whole = value;
  if (leading) {
    if (leadEnd < 0) {
      *leading = value;
    } else if (!ReadDouble(ascii.data(), ascii.data() + leadEnd, leading)) {
      return false;
    }
  }
  return true;
}

constexpr std::array<double, 16> kPowersOfTen = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
constexpr int kSignificantDigits = 15;

}  // namespace

bool IsNumericCell(const QString& text) { return ScanNumericCell(text, nullptr, nullptr); }

std::optional<double> NumericCellValue(const QString& text) {
  double leading = 0.0;
  if (!ScanNumericCell(text, &leading, nullptr)) return std::nullopt;
  return leading;
}

double WholeTextValue(const QString& text) {
  double whole = 0.0;
  return ScanNumericCell(text, nullptr, &whole) ? whole : 0.0;
}

double LeadingNumberValue(const QString& text) {
  const char16_t* s = reinterpret_cast<const char16_t*>(text.utf16());
  const qsizetype size = text.size();
  qsizetype i = 0;
  // Position of the next character that is not a space, tab or line feed.
  const auto skip = [&] {
    while (i < size && IsBlank(s[i])) ++i;
    return i < size;
  };
  const auto upper = [](char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; };

  if (skip() && s[i] == u'&') {
    ++i;
    if (!skip()) return 0.0;
    const char16_t kind = upper(s[i]);
    const int base = kind == u'H' ? 16 : kind == u'O' ? 8 : 0;
    if (base == 0) return 0.0;
    ++i;
    double value = 0.0;
    while (skip()) {
      const char16_t c = upper(s[i]);
      int digit = -1;
      if (IsDigit(c)) digit = c - u'0';
      if (c >= u'A' && c <= u'F') digit = c - u'A' + 10;
      if (digit < 0 || digit >= base) break;
      value = value * base + digit;
      ++i;
    }
    return value;
  }

  QVarLengthArray<char, 64> ascii;
  if (skip() && (s[i] == u'+' || s[i] == u'-')) {
    if (s[i] == u'-') ascii.append('-');
    ++i;
  }
  bool point = false;
  bool anyDigit = false;
  while (skip()) {
    if (IsDigit(s[i])) {
      anyDigit = true;
    } else if (s[i] == u'.' && !point) {
      point = true;
    } else {
      break;
    }
    ascii.append(static_cast<char>(s[i]));
    ++i;
  }
  if (!anyDigit) return 0.0;
  // An exponent counts only when digits follow its mark and sign.
  if (i < size && (upper(s[i]) == u'E' || upper(s[i]) == u'D')) {
    const qsizetype mark = i;
    QVarLengthArray<char, 16> exponent{'e'};
    ++i;
    if (skip() && (s[i] == u'+' || s[i] == u'-')) {
      if (s[i] == u'-') exponent.append('-');
      ++i;
    }
    bool exponentDigit = false;
    while (skip() && IsDigit(s[i])) {
      exponent.append(static_cast<char>(s[i]));
      exponentDigit = true;
      ++i;
    }
    if (exponentDigit) {
      ascii.append(exponent.data(), exponent.size());
    } else {
      i = mark;
    }
  }
  double value = 0.0;
  return ReadDouble(ascii.data(), ascii.data() + ascii.size(), &value) ? value : 0.0;
}

double RoundHalfUp(double x, int places) {
  if (!std::isfinite(x) || x == 0.0) return x == 0.0 ? 0.0 : x;
  places = std::clamp(places, 0, kSignificantDigits);
  // The decimal the teacher sees: 15 significant digits, "d.dddddddddddddde±XX".
  char form[32];
  const auto printed = std::to_chars(form, form + sizeof form, std::fabs(x),
                                     std::chars_format::scientific, kSignificantDigits - 1);
  std::array<int, kSignificantDigits> digit{};
  digit[0] = form[0] - '0';
  for (int k = 1; k < kSignificantDigits; ++k) digit[k] = form[k + 1] - '0';
  const char* exponentText = form + kSignificantDigits + 2;  // after "e"
  if (*exponentText == '+') ++exponentText;
  int exponent = 0;
  std::from_chars(exponentText, printed.ptr, exponent);

  // Digits of |x| · 10^places before the decimal point.
  const int kept = exponent + places + 1;
  if (kept >= kSignificantDigits) return x;  // already whole at these places
  if (kept < 0) return 0.0;                  // below a tenth of the last place
  std::int64_t scaled = 0;
  for (int k = 0; k < kept; ++k) scaled = scaled * 10 + digit[k];
  const bool restNonZero =
      std::any_of(digit.begin() + kept + 1, digit.end(), [](int d) { return d != 0; });
  // Halves go toward +infinity: up in magnitude for positive values, down for negative ones.
  const bool up = x > 0 ? digit[kept] >= 5 : (digit[kept] > 5 || (digit[kept] == 5 && restNonZero));
  if (up) ++scaled;
  if (scaled == 0) return 0.0;
  const double magnitude = static_cast<double>(scaled) / kPowersOfTen[places];
  return x > 0 ? magnitude : -magnitude;
}

QString ResultText(double x) {
  if (!std::isfinite(x)) return QString();
  if (x == 0.0) return QStringLiteral("0");
  char text[40];
  auto printed =
      std::to_chars(text, text + sizeof text, x, std::chars_format::general, kSignificantDigits);
  // Near the largest double, fifteen digits round past it and would read back as no number.
  double back = 0.0;
  if (std::from_chars(text, printed.ptr, back).ec != std::errc() || !std::isfinite(back))
    printed = std::to_chars(text, text + sizeof text, x, std::chars_format::general);
  std::replace(text, printed.ptr, 'e', 'E');
  return QString::fromLatin1(text, printed.ptr - text);
}

void CompensatedSum::Add(double x) {
  const double sum = m_sum + x;
  if (std::fabs(m_sum) >= std::fabs(x)) {
    m_compensation += (m_sum - sum) + x;
  } else {
    m_compensation += (x - sum) + m_sum;
  }
  m_sum = sum;
}

}  // namespace kelt
