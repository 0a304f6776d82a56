#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace kelt {

// Windows code page 932 (Shift-JIS with the NEC and IBM extensions), the encoding of .klt files.
// The conversion goes through glibc iconv with explicit names, so it never depends on the locale.

// A text converted to CP932.
struct Cp932Bytes {
  QByteArray bytes;
  // Index in the source text of every character CP932 has no code for (the first unit of a
  // surrogate pair); each of them is written as '?'.
  QList<qsizetype> unencodable;
};

// The text with the JIS forms an input method types (〜 − ‖ — ¢ £ ¬) replaced by the characters
// CP932 has for them (～ － ∥ ― ￠ ￡ ￢); one character for one, so indexes stay valid.
QString ToCp932Forms(QString text);

// The first byte of a CP932 double-byte character (81–9F, E0–FC).
inline bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// CP932 bytes of the text after ToCp932Forms.
Cp932Bytes EncodeCp932(const QString& text);

// True when the text comes back unchanged from CP932 (after ToCp932Forms): every character has a
// code of its own. "¥" and "‾" do not: they are written as the bytes of "\" and "~".
bool CanEncodeCp932(const QString& text);

// CP932 bytes to text; every invalid byte, a lone lead byte at the end included, becomes U+FFFD.
QString DecodeCp932(QByteArrayView bytes);

// True for well-formed UTF-8 holding at least one non-ASCII character.
bool IsNonAsciiUtf8(QByteArrayView bytes);

// The text of a file. A byte-order mark names UTF-8 or UTF-16. Without one the text is CP932,
// unless it is also well-formed UTF-8 and reads more like Japanese that way: short CP932 texts
// (ﾐｶ is also UTF-8 for "ж") stay CP932, and a file in the shape kelt writes is always CP932.
// Any input gives a text; nothing is dropped silently.
QString DecodeFileText(QByteArrayView bytes);
// True when DecodeFileText reads the bytes as CP932 whatever they hold (no byte-order mark, and
// not UTF-8 with a non-ASCII character), so they can be decoded piece by piece.
bool ReadsAsCp932(QByteArrayView bytes);

}  // namespace kelt
