#include "core/storage/cp932codec.h"

#include <gtest/gtest.h>

#include "support/qtprint.h"
#include "support/text.h"

namespace kelt {
namespace {

using namespace Qt::StringLiterals;

QByteArray Bytes(const char* bytes) { return QByteArray(bytes); }
using test::Utf8;

struct CodeCase {
  const char* text;  // UTF-8
  const char* cp932;
};

// Texts as Windows writes them in CP932, byte for byte, both ways.
TEST(Cp932Codec, KnownTextsBothWays) {
  const CodeCase cases[] = {
      {"氏  名", "\x8E\x81  \x96\xBC"},
      {"ｺﾋﾟｰ", "\xBA\xCB\xDF\xB0"},
      {"髙", "\xFB\xFC"},
      {"①", "\x87\x40"},
      {"～", "\x81\x60"},
      {"点\t85\\~", "\x93\x5F\t85\\~"},
  };
  // IBM extensions (lead bytes FA to FC) as Windows writes them.
  EXPECT_EQ(DecodeCp932(Bytes("\xFA\x40\xFA\x55\xFB\xFC")), Utf8("ⅰ￤髙"));
  for (const CodeCase& c : cases) {
    const Cp932Bytes encoded = EncodeCp932(Utf8(c.text));
    EXPECT_EQ(encoded.bytes, Bytes(c.cp932)) << c.text;
    EXPECT_TRUE(encoded.unencodable.isEmpty()) << c.text;
    EXPECT_EQ(DecodeCp932(Bytes(c.cp932)), Utf8(c.text)) << c.text;
    EXPECT_EQ(DecodeFileText(Bytes(c.cp932)), Utf8(c.text)) << c.text;
  }
}

// What an input method types is written as the character CP932 has for it, and reads back so.
TEST(Cp932Codec, JisFormsWrittenAsCp932Counterparts) {
  const struct {
    const char* typed;
    const char* cp932;
    const char* readBack;
  } cases[] = {
      {"〜", "\x81\x60", "～"}, {"−", "\x81\x7C", "－"}, {"‖", "\x81\x61", "∥"},
      {"—", "\x81\x5C", "―"},   {"¢", "\x81\x91", "￠"}, {"£", "\x81\x92", "￡"},
      {"¬", "\x81\xCA", "￢"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToCp932Forms(Utf8(c.typed)), Utf8(c.readBack)) << c.typed;
    const Cp932Bytes encoded = EncodeCp932(Utf8(c.typed));
    EXPECT_EQ(encoded.bytes, Bytes(c.cp932)) << c.typed;
    EXPECT_TRUE(encoded.unencodable.isEmpty()) << c.typed;
    EXPECT_TRUE(CanEncodeCp932(Utf8(c.typed))) << c.typed;
    EXPECT_EQ(DecodeCp932(Bytes(c.cp932)), Utf8(c.readBack)) << c.typed;
  }
}

TEST(Cp932Codec, UnencodableCharactersReportedByIndex) {
  const struct {
    QString text;
    QList<qsizetype> unencodable;
    QByteArray bytes;
  } cases[] = {
      {Utf8("a𠮷b"), {1}, Bytes("a?b")},
      {Utf8("😀点😀"), {0, 3}, Bytes("?\x93\x5F?")},
      {Utf8("①\t\u212B한"), {3}, Bytes("\x87\x40\t\x81\xF0?")},
      {u"x\xD800"_s, {1}, Bytes("x?")},              // lone high surrogate at the end
      {u"\xDC00y\xD800z"_s, {0, 2}, Bytes("?y?z")},  // lone surrogates inside
  };
  for (const auto& c : cases) {
    const Cp932Bytes encoded = EncodeCp932(c.text);
    EXPECT_EQ(encoded.unencodable, c.unencodable) << c.text.toStdString();
    EXPECT_EQ(encoded.bytes, c.bytes) << c.text.toStdString();
    EXPECT_FALSE(CanEncodeCp932(c.text)) << c.text.toStdString();
  }
}

TEST(Cp932Codec, InvalidBytesBecomeReplacementCharacters) {
  const struct {
    QByteArray bytes;
    QString text;
  } cases[] = {
      {Bytes("a\x80z"), u"a\xFFFDz"_s},
      {Bytes("\xA0\xFD\xFE\xFF"), u"\xFFFD\xFFFD\xFFFD\xFFFD"_s},
      {Bytes("85\x81"), u"85\xFFFD"_s},                   // lone lead byte at the end
      {Bytes("\x81\t9"), u"\xFFFD\t9"_s},                 // a TAB is no trail byte
      {Bytes("\x85\x40x"), u"\xFFFDx"_s},                 // well-formed pair with no character
      {Bytes("\x8E\x81\x81\r\n"), Utf8("氏\uFFFD\r\n")},  // the line end survives
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeCp932(c.bytes), c.text) << c.bytes.toHex().toStdString();
    EXPECT_EQ(DecodeFileText(c.bytes), c.text) << c.bytes.toHex().toStdString();
  }
}

// A broken character never swallows the separator or line end after it.
TEST(Cp932Codec, EveryHighByteLeavesFollowingAsciiIntact) {
  for (int b = 0x80; b <= 0xFF; ++b) {
    for (const char* tail : {"\t1", ",1", "\r\n", "\n"}) {
      const QByteArray bytes = QByteArray(1, static_cast<char>(b)) + tail;
      const QString text = DecodeCp932(bytes);
      EXPECT_TRUE(text.endsWith(QString::fromLatin1(tail))) << b << ' ' << tail;
      EXPECT_EQ(text.size(), 1 + qsizetype(qstrlen(tail))) << b;
    }
  }
}

TEST(Cp932Codec, FileTextEncodingDetection) {
  const struct {
    QByteArray bytes;
    QString text;
  } cases[] = {
      {Bytes("\xEF\xBB\xBF\xE6\xB0\x8F\t90"), Utf8("氏\t90")},  // UTF-8 with byte-order mark
      {Bytes("\xEF\xBB\xBF"
             "a\tb"),
       Utf8("a\tb")},                                               // a mark and only ASCII
      {Bytes("\xE5\xB1\xB1\xE7\x94\xB0,90\n"), Utf8("山田,90\n")},  // UTF-8 without mark
      {Bytes("\xEF\xBB\xBF\xE5\xB1"), u"\xFFFD\xFFFD"_s},           // cut off after the mark
      {Bytes("\xE5\xB1\xB1\x81"), Utf8("螻ｱ\uFFFD")},               // not UTF-8: CP932
      {Bytes("\xC0\x80"), Utf8("ﾀ\uFFFD")},                         // overlong form: not UTF-8
      {Bytes("plain,ascii"), Utf8("plain,ascii")},
      {QByteArray(), QString()},
      // Well-formed UTF-8 that is CP932: half-width katakana read as Cyrillic or Latin otherwise.
      {Bytes("\xD0\xB6"), Utf8("ﾐｶ")},
      {Bytes("\xBB\xC4\xB3\t\xC0\xDB\xB3,85"), Utf8("ｻﾄｳ\tﾀﾛｳ,85")},
      {Bytes("\xC3\xA9"), Utf8("ﾃｩ")},
      // Well-formed CP932 that is UTF-8: kanji and kana read as rare kanji otherwise.
      {Bytes("\xE4\xBD\x90\xE8\x97\xA4\t90\r\n"), Utf8("佐藤\t90\r\n")},
      {Bytes("\xE3\x81\xA2"), Utf8("ぢ")},
      // Both readings equally Japanese (仝丼 in UTF-8): a tie goes to CP932, kelt's own encoding.
      {Bytes("\xE4\xBB\x9D\xE4\xB8\xBC"), Utf8("莉昜ｸｼ")},
      // ... unless the file has the shape kelt writes: CRLF, even TABs, an empty last line.
      {Bytes("\xE3\x81\xA2\t\r\n\t\r\n\r\n"), Utf8("縺｢\t\r\n\t\r\n\r\n")},
      {Bytes("\xE3\x81\xA2\t\r\n\r\n\r\n"), Utf8("ぢ\t\r\n\r\n\r\n")},  // uneven TABs
      // UTF-16 with a mark, as spreadsheets save "Unicode text".
      {QByteArray("\xFF\xFE\x0F\x6C\t\x00", 6), Utf8("氏\t")},
      {QByteArray("\xFE\xFF\x6C\x0F\x00\t", 6), Utf8("氏\t")},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeFileText(c.bytes), c.text) << c.bytes.toHex().toStdString();
  }
}

// A character whose code reads back as another one cannot be stored as it is.
TEST(Cp932Codec, OnlyRoundTripsCountAsEncodable) {
  const struct {
    const char* text;
    bool encodable;
  } cases[] = {
      {"abc", true}, {"氏  名", true}, {"髙①ｺﾋﾟｰ～", true}, {"〜", true},  // 〜 is written as ～
      {"¥", false},  {"‾", false},     {"𠮷", false},       {"😀", false},
  };
  for (const auto& c : cases) EXPECT_EQ(CanEncodeCp932(Utf8(c.text)), c.encodable) << c.text;
  EXPECT_EQ(EncodeCp932(Utf8("¥‾")).bytes, QByteArray("\\~")) << "written as Windows writes them";
}

TEST(Cp932Codec, Utf8Recognition) {
  const struct {
    QByteArray bytes;
    bool utf8;
  } cases[] = {
      {Bytes("abc"), false},                 // no non-ASCII sequence
      {Bytes("\xC3\xA9"), true},             // é
      {Bytes("\xF0\x9F\x98\x80"), true},     // emoji
      {Bytes("\xC3"), false},                // cut short
      {Bytes("\xC1\xBF"), false},            // overlong
      {Bytes("\xE0\x9F\xBF"), false},        // overlong
      {Bytes("\xED\xA0\x80"), false},        // surrogate
      {Bytes("\xF4\x90\x80\x80"), false},    // above U+10FFFF
      {Bytes("\xE3\x81\x82\x82"), false},    // stray continuation byte
      {Bytes("\x8E\x81  \x96\xBC"), false},  // "氏  名" in CP932
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsNonAsciiUtf8(c.bytes), c.utf8) << c.bytes.toHex().toStdString();
}

}  // namespace
}  // namespace kelt
