#include "core/storage/cp932codec.h"

#include <iconv.h>

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

bool IsLeadByte(uchar b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
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
  return ascii || EncodeCp932(text).unencodable.isEmpty();
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

QString DecodeFileText(QByteArrayView bytes) {
  static constexpr char kBom[] = "\xEF\xBB\xBF";
  if (bytes.startsWith(QByteArrayView(kBom, 3))) return QString::fromUtf8(bytes.sliced(3));
  if (IsNonAsciiUtf8(bytes)) return QString::fromUtf8(bytes);
  return DecodeCp932(bytes);
}

}  // namespace kelt
