#include "core/storage/cp932codec.h"

#include <iconv.h>

#include <QStringDecoder>
#include <QSysInfo>
#include <algorithm>
#include <utility>

namespace kelt {

namespace {

// QString's own unit order, so no byte-order mark is read or written.
constexpr const char* kUtf16 =
    QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";
constexpr char16_t kReplacement = u'\uFFFD';

// One iconv conversion descriptor per direction and thread: opening one costs far more than
// converting a cell, and the checker converts cells one by one.
class Converter {
 public:
  Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
  ~Converter() {
    if (IsValid()) iconv_close(m_cd);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // (iconv_t)-1 is how iconv_open reports failure.
  [[nodiscard]] bool IsValid() const {
    return m_cd != reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)
  }

  // Converts as much as it can; false when it stopped early, *in then pointing at a character
  // that has no code (EILSEQ) or is cut short at the end (EINVAL). Callers size the output so
  // that it cannot run out (E2BIG).
  bool Convert(const char** in, std::size_t* inLeft, char** out, std::size_t* outLeft) {
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);  // a fresh start for every run
    return iconv(m_cd, const_cast<char**>(in), inLeft, out, outLeft) !=
           static_cast<std::size_t>(-1);
  }

 private:
  iconv_t m_cd;
};

Converter& Encoder() {
  thread_local Converter converter("CP932", kUtf16);
  return converter;
}

Converter& Decoder() {
  thread_local Converter converter(kUtf16, "CP932");
  return converter;
}

// What an input method types → the character CP932 has for it.
constexpr std::pair<char16_t, char16_t> kCp932Forms[] = {
    {u'\u301C', u'\uFF5E'},  // WAVE DASH → FULLWIDTH TILDE
    {u'\u2212', u'\uFF0D'},  // MINUS SIGN → FULLWIDTH HYPHEN-MINUS
    {u'\u2016', u'\u2225'},  // DOUBLE VERTICAL LINE → PARALLEL TO
    {u'\u2014', u'\u2015'},  // EM DASH → HORIZONTAL BAR
    {u'\u00A2', u'\uFFE0'},  // CENT SIGN → FULLWIDTH CENT SIGN
    {u'\u00A3', u'\uFFE1'},  // POUND SIGN → FULLWIDTH POUND SIGN
    {u'\u00AC', u'\uFFE2'},  // NOT SIGN → FULLWIDTH NOT SIGN
};

bool IsTrailByte(uchar b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// Encodes the non-ASCII units src[begin, end) at *dst, which has room for two bytes per unit.
void EncodeRun(const char16_t* src, qsizetype begin, qsizetype end, char** dst,
               QList<qsizetype>* unencodable) {
  Converter& encoder = Encoder();
  qsizetype i = begin;
  while (i < end) {
    if (encoder.IsValid()) {
      const char* in = reinterpret_cast<const char*>(src + i);
      std::size_t inLeft = static_cast<std::size_t>(end - i) * 2;
      std::size_t outLeft = inLeft;
      const bool done = encoder.Convert(&in, &inLeft, dst, &outLeft);
      i = end - static_cast<qsizetype>(inLeft / 2);
      if (done) break;
    }
    // The unit at i has no code (or a broken surrogate); a whole pair counts as one character.
    unencodable->append(i);
    *(*dst)++ = '?';
    const bool pair =
        QChar::isHighSurrogate(src[i]) && i + 1 < end && QChar::isLowSurrogate(src[i + 1]);
    i += pair ? 2 : 1;
  }
}

// Decodes the bytes [begin, end), none of them starting with ASCII, at *dst (room for one unit
// per byte).
void DecodeRun(const uchar* src, qsizetype begin, qsizetype end, char16_t** dst) {
  Converter& decoder = Decoder();
  qsizetype i = begin;
  while (i < end) {
    if (decoder.IsValid()) {
      const char* in = reinterpret_cast<const char*>(src + i);
      auto inLeft = static_cast<std::size_t>(end - i);
      std::size_t outLeft = inLeft * 2;
      char* out = reinterpret_cast<char*>(*dst);
      const bool done = decoder.Convert(&in, &inLeft, &out, &outLeft);
      *dst = reinterpret_cast<char16_t*>(out);
      i = end - static_cast<qsizetype>(inLeft);
      if (done) break;
    }
    // A lead byte whose trail byte is not one leaves that byte (a TAB, a line end) to be read
    // on its own; a well-formed but unmapped pair is one bad character.
    const bool pair = IsLeadByte(src[i]) && i + 1 < end && IsTrailByte(src[i + 1]);
    *(*dst)++ = kReplacement;
    i += pair ? 2 : 1;
  }
}

// How typical a two-byte CP932 character is of a mark book: kana, level-1 kanji and the usual
// symbols count for it; Greek, Cyrillic, rare kanji and codes no text has count against.
int CodeScore(unsigned code) {
  if (code >= 0x8140 && code <= 0x81FC) return 1;   // punctuation and symbols
  if (code >= 0x8240 && code <= 0x82FC) return 2;   // full-width digits and letters, hiragana
  if (code >= 0x8340 && code <= 0x8396) return 2;   // katakana
  if (code >= 0x8740 && code <= 0x879C) return 1;   // circled numbers and the like
  if (code >= 0x889F && code <= 0x9872) return 2;   // level-1 kanji
  if (code >= 0xF040 && code <= 0xF9FC) return -3;  // user-defined area
  if (code >= 0x839F && code <= 0x84BE) return -1;  // Greek, Cyrillic, box drawing
  if (code >= 0x989F && code <= 0xEAA4) return -1;  // level-2 kanji
  if ((code >= 0xED40 && code <= 0xEEFC) || code >= 0xFA40) return -1;  // IBM extensions
  return -3;
}

// The sum of CodeScore over CP932 bytes; half-width katakana count for the text, stray bytes
// against it.
int JapaneseScore(QByteArrayView bytes) {
  const auto* s = reinterpret_cast<const uchar*>(bytes.data());
  const qsizetype n = bytes.size();
  int score = 0;
  qsizetype i = 0;
  while (i < n) {
    const uchar b = s[i];
    if (b < 0x80) {
      ++i;
    } else if (b >= 0xA1 && b <= 0xDF) {
      score += 1;
      ++i;
    } else if (IsLeadByte(b) && i + 1 < n) {
      score += CodeScore(unsigned(b) << 8 | s[i + 1]);
      i += 2;
    } else {
      score -= 3;
      ++i;
    }
  }
  return score;
}

// The shape of every file kelt writes: CRLF line ends only, the same number of TABs on every
// line, and one empty line at the end.
bool HasKeltShape(QByteArrayView bytes) {
  if (!bytes.endsWith(QByteArrayView("\r\n\r\n", 4))) return false;
  const qsizetype end = bytes.size() - 2;  // the empty last line
  qsizetype tabs = -1;
  qsizetype lineTabs = 0;
  for (qsizetype i = 0; i < end; ++i) {
    const char c = bytes[i];
    if (c == '\t') {
      ++lineTabs;
    } else if (c == '\r') {
      if (bytes[i + 1] != '\n') return false;
      if (tabs >= 0 && tabs != lineTabs) return false;
      tabs = lineTabs;
      lineTabs = 0;
      ++i;
    } else if (c == '\n') {
      return false;
    }
  }
  return true;
}

}  // namespace

QString ToCp932Forms(QString text) {
  // By index: writing through a QChar& loop would copy the text even when nothing changes.
  for (qsizetype i = 0; i < text.size(); ++i) {  // NOLINT(modernize-loop-convert)
    const char16_t u = text.at(i).unicode();
    if (u < 0xA2) continue;
    for (const auto& [jis, cp932] : kCp932Forms) {
      if (u == jis) {
        text[i] = QChar(cp932);
        break;
      }
    }
  }
  return text;
}

Cp932Bytes EncodeCp932(const QString& source) {
  const QString text = ToCp932Forms(source);
  const auto* src = reinterpret_cast<const char16_t*>(text.constData());
  const qsizetype n = text.size();
  Cp932Bytes result;
  // Two bytes per unit at most: a BMP character takes one or two, a pair becomes one '?'.
  result.bytes.resize(2 * n);
  char* const begin = result.bytes.data();
  char* dst = begin;
  qsizetype i = 0;
  while (i < n) {
    if (src[i] < 0x80) {  // CP932 keeps ASCII as it is; most of a sheet is digits and TABs
      *dst++ = static_cast<char>(src[i++]);
      continue;
    }
    qsizetype end = i + 1;
    while (end < n && src[end] >= 0x80) ++end;
    EncodeRun(src, i, end, &dst, &result.unencodable);
    i = end;
  }
  result.bytes.truncate(dst - begin);
  return result;
}

bool CanEncodeCp932(const QString& text) {
  const bool ascii =
      std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
  if (ascii) return true;
  // A code can still read back as another character (¥ as a backslash): check both ways.
  const Cp932Bytes encoded = EncodeCp932(text);
  return encoded.unencodable.isEmpty() && DecodeCp932(encoded.bytes) == ToCp932Forms(text);
}

QString DecodeCp932(QByteArrayView bytes) {
  const auto* src = reinterpret_cast<const uchar*>(bytes.data());
  const qsizetype n = bytes.size();
  QString text(n, Qt::Uninitialized);
  auto* const begin = reinterpret_cast<char16_t*>(text.data());
  char16_t* dst = begin;
  qsizetype i = 0;
  while (i < n) {
    if (src[i] < 0x80) {
      *dst++ = src[i++];
      continue;
    }
    // A run ends at an ASCII byte that starts a character; a trail byte may lie in ASCII.
    qsizetype end = i;
    while (end < n && src[end] >= 0x80) end += IsLeadByte(src[end]) ? 2 : 1;
    end = std::min(end, n);
    DecodeRun(src, i, end, &dst);
    i = end;
  }
  text.truncate(dst - begin);
  return text;
}

bool IsNonAsciiUtf8(QByteArrayView bytes) {
  const auto* s = reinterpret_cast<const uchar*>(bytes.data());
  const qsizetype n = bytes.size();
  bool nonAscii = false;
  qsizetype i = 0;
  while (i < n) {
    const uchar b = s[i];
    if (b < 0x80) {
      ++i;
      continue;
    }
    // Shortest forms only, no surrogates, nothing above U+10FFFF.
    qsizetype len = 0;
    uchar low = 0x80, high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
      len = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      len = 3;
      if (b == 0xE0) low = 0xA0;
      if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      len = 4;
      if (b == 0xF0) low = 0x90;
      if (b == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (n - i < len || s[i + 1] < low || s[i + 1] > high) return false;
    for (qsizetype k = 2; k < len; ++k) {
      if (s[i + k] < 0x80 || s[i + k] > 0xBF) return false;
    }
    nonAscii = true;
    i += len;
  }
  return nonAscii;
}

namespace {
const QByteArrayView kUtf8Mark("\xEF\xBB\xBF", 3);
const QByteArrayView kUtf16LeMark("\xFF\xFE", 2);
const QByteArrayView kUtf16BeMark("\xFE\xFF", 2);
}  // namespace

bool ReadsAsCp932(QByteArrayView bytes) {
  return !bytes.startsWith(kUtf8Mark) && !bytes.startsWith(kUtf16LeMark) &&
         !bytes.startsWith(kUtf16BeMark) && !IsNonAsciiUtf8(bytes);
}

QString DecodeFileText(QByteArrayView bytes) {
  if (bytes.startsWith(kUtf8Mark)) return QString::fromUtf8(bytes.sliced(3));
  // A spreadsheet's "Unicode text" is UTF-16 with a mark.
  const bool le = bytes.startsWith(kUtf16LeMark);
  if (le || bytes.startsWith(kUtf16BeMark)) {
    QStringDecoder decoder(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                           QStringConverter::Flag::Stateless);
    return decoder.decode(bytes.sliced(2));
  }
  QString cp932 = DecodeCp932(bytes);
  if (!IsNonAsciiUtf8(bytes)) return cp932;
  if (cp932.contains(QChar(kReplacement))) return QString::fromUtf8(bytes);
  if (HasKeltShape(bytes)) return cp932;
  // Both readings are possible: take the one that looks more like Japanese.
  QString utf8 = QString::fromUtf8(bytes);
  const Cp932Bytes asCp932 = EncodeCp932(utf8);
  const qsizetype utf8Score =
      JapaneseScore(asCp932.bytes) - 2 * qsizetype(asCp932.unencodable.size());
  return utf8Score > JapaneseScore(bytes) ? utf8 : cp932;
}

}  // namespace kelt
