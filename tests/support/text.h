#pragma once

#include <QString>

namespace kelt::test {

// A text written in the test as UTF-8.
inline QString Utf8(const char* text) { return QString::fromUtf8(text); }

}  // namespace kelt::test
