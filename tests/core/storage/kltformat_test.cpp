#include "core/storage/kltformat.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QSignalSpy>

#include "core/sheet/sheet.h"
#include "core/storage/cp932codec.h"
#include "support/kltfields.h"
#include "support/qtprint.h"
#include "support/text.h"

namespace kelt {
namespace {

using namespace Qt::StringLiterals;

using test::Utf8;

// A sheet as a new window has it before any file is read.
struct NewSheet {
  NewSheet() { sheet.BuildSheetLayout(); }
  Sheet sheet;
};

// Opening a file: read apart from any sheet, then adopted by the new window.
KltLoad Load(Sheet& sheet, const QByteArray& bytes) {
  KltSheet read = ReadKltSheet(bytes);
  sheet.AdoptRead(std::move(read.storage), std::move(read.view));
  return read.load;
}

// The reader must give what the plain model of the format gives, and tell the screen of it.
void ExpectSameLoad(const QByteArray& bytes) {
  NewSheet model;
  const test::KltFields fields = test::ReadKltFields(bytes);
  test::LoadKltFields(model.sheet, fields);

  // A new window already holds a stored layout when it adopts what was read aside.
  NewSheet adopting;
  adopting.sheet.StoreView();
  QSignalSpy colsChanged(&adopting.sheet, &Sheet::viewColsChanged);
  QSignalSpy textsChanged(&adopting.sheet, &Sheet::viewTextsChanged);
  const KltLoad load = Load(adopting.sheet, bytes);
  EXPECT_EQ(adopting.sheet.Storage(), model.sheet.Storage())
      << bytes.left(40).toHex().toStdString();
  EXPECT_EQ(adopting.sheet.View(), model.sheet.View());
  EXPECT_EQ(load.linesLeftOut, fields.linesLeftOut);
  EXPECT_EQ(load.fieldsLeftOut, fields.fieldsLeftOut);
  // The screen learns the new shape and every text.
  EXPECT_EQ(colsChanged.size(), model.sheet.View().Cols() > Sheet::kInitialCols ? 1 : 0);
  ASSERT_EQ(textsChanged.size(), 1);
  EXPECT_EQ(textsChanged[0][0].toRect(), QRect(0, 0, model.sheet.View().Cols(), Sheet::kGradeRows));
}

TEST(KltWriter, SmallSheetByteExact) {
  NewSheet s;
  s.sheet.SetViewText(1, 2, QStringLiteral("85"));  // pupil 1 of 1-A, item A
  s.sheet.StoreView();
  const QByteArray expected =
      "\x8E\x81  \x96\xBC\tA\tB\tC\tD\tE\tF\tG\tH\tI\tJ\tK\tL\tM\tN\tO\tP\tQ\tR\tS\r\n"
      "\t85\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n"
      "\r\n";
  EXPECT_EQ(WriteKlt(s.sheet.Storage()), expected);

  NewSheet fresh;
  fresh.sheet.StoreView();
  const QByteArray header = expected.left(expected.indexOf("\r\n") + 2);
  EXPECT_EQ(WriteKlt(fresh.sheet.Storage()), header + "\r\n") << "one header line, one empty line";
}

struct Cell {
  int row;
  int col;
  const char* text;
};

// The extent (R, C) covers the last filled row and column; column 0 never counts.
TEST(KltWriter, WrittenExtent) {
  const struct {
    QList<Cell> cells;
    const char* text;
  } cases[] = {
      {{}, "\r\n\r\n"},
      {{{5, 0, "101"}, {1002, 0, "平均"}}, "\r\n\r\n"},
      {{{0, 1, "x"}}, "x\r\n\r\n"},
      {{{2, 3, "y"}}, "\t\t\r\n\t\t\r\n\t\ty\r\n\r\n"},
      {{{0, 2, "a"}, {1, 1, "b"}, {1, 0, "201"}}, "\ta\r\nb\t\r\n\r\n"},
  };
  for (const auto& c : cases) {
    TextGrid storage(Sheet::kStorageRows, Sheet::kInitialCols);
    for (const Cell& cell : c.cells) storage.SetText(cell.row, cell.col, Utf8(cell.text));
    EXPECT_EQ(KltText(storage), Utf8(c.text)) << c.text;
  }
}

// Every row of storage, class totals and averages and the year rows included, comes back.
TEST(KltFormat, WriteThenReadGivesSameStorage) {
  NewSheet a;
  TextGrid& written = a.sheet.MutableStorage();
  written.SetCols(23);
  for (int r = 0; r < Sheet::kStorageRows; ++r) {
    for (int c = 1; c < written.Cols(); ++c) {
      if ((r + c) % 7 == 0) continue;  // empty fields between filled ones
      written.SetText(r, c, Utf8("髙①ｺﾋﾟｰ～%1.%2").arg(r).arg(c));
    }
  }
  QList<qsizetype> unencodable;
  const QByteArray bytes = WriteKlt(written, &unencodable);
  EXPECT_TRUE(unencodable.isEmpty());

  NewSheet b;
  Load(b.sheet, bytes);
  const TextGrid& read = b.sheet.Storage();
  ASSERT_EQ(read.Cols(), 23);
  ASSERT_EQ(b.sheet.View().Cols(), 23);
  for (int r = 0; r < Sheet::kStorageRows; ++r) {
    for (int c = 1; c < 23; ++c) ASSERT_EQ(read.Text(r, c), written.Text(r, c)) << r << ',' << c;
  }
  const TextGrid& view = b.sheet.View();
  EXPECT_EQ(view.Text(0, 0), QStringLiteral("番号"));
  EXPECT_EQ(view.Text(0, 22), written.Text(0, 22));
  EXPECT_EQ(view.Text(101, 0), QStringLiteral("301")) << "column 0 keeps the pupil numbers";
  EXPECT_EQ(view.Text(101, 5), written.Text(Sheet::StorageRow(2, 1), 5));
  EXPECT_EQ(view.Text(1001, 3), written.Text(1041, 3));
  EXPECT_EQ(view.Text(1002, 22), written.Text(1042, 22));
  ASSERT_TRUE(b.sheet.ShowClass(3));
  EXPECT_EQ(b.sheet.ViewText(51, 4), written.Text(Sheet::StorageRow(3, 51), 4)) << "class total";
  EXPECT_EQ(b.sheet.ViewText(52, 9), written.Text(Sheet::StorageRow(3, 52), 9)) << "class average";
}

TEST(KltReader, SplitsLinesAndFields) {
  const struct {
    QByteArray bytes;
    QList<QStringList> lines;
    int widestField;
  } cases[] = {
      {"", {}, 1},
      {"abc", {{u"abc"_s}}, 1},
      {"a\tb\r\nc\r\n", {{u"a"_s, u"b"_s}, {u"c"_s}}, 2},
      {"a\r\n\r\nb", {{u"a"_s}, {}, {u"b"_s}}, 1},  // an empty line has no field
      {"\r\n\r\n", {{}, {}}, 1},
      {"a,b\tc", {{u"a"_s, u"b"_s, u"c"_s}}, 3},      // both separators in one line
      {"a,,\t", {{u"a"_s, u""_s, u""_s, u""_s}}, 4},  // separators alone give empty fields
      {"a\nb\rc\r\n\nd", {{u"a"_s}, {u"b"_s}, {u"c"_s}, {}, {u"d"_s}}, 1},  // LF, CR, CRLF
      {"\n\r", {{}, {}}, 1},
      {"\xEF\xBB\xBF\xE6\xB0\x8F\t90\n", {{u"氏"_s, u"90"_s}}, 2},  // UTF-8 with mark, LF only
      {"\xE5\xB1\xB1\xE7\x94\xB0,90\n,\n", {{u"山田"_s, u"90"_s}, {u""_s, u""_s}}, 2},
      {"\x8E\x81\x81\t1", {{u"\x6C0F\xFFFD"_s, u"1"_s}}, 2},  // a broken byte keeps the TAB
      // Short texts that differ only by a NUL stay apart.
      {QByteArray("7\t7\0\t7\0\0\t7", 10), {{u"7"_s, u"7\0"_s, u"7\0\0"_s, u"7"_s}}, 4},
  };
  for (const auto& c : cases) {
    const test::KltFields fields = test::ReadKltFields(c.bytes);
    EXPECT_EQ(fields.lines, c.lines) << c.bytes.toHex().toStdString();
    EXPECT_EQ(fields.widestField, c.widestField) << c.bytes.toHex().toStdString();
    ExpectSameLoad(c.bytes);
  }
}

// A large file read from bytes no one shares gives its pages back as it goes; what is read must
// not change for it.
TEST(KltReader, ALargeFileReadsTheSameWhileItsBytesAreGivenBack) {
  QByteArray bytes;
  for (int line = 0; line < kKltMaxLines; ++line) {
    bytes += "\x8d\xb2\x93\xa1" + QByteArray::number(line);
    for (int field = 1; field < 250; ++field)
      bytes += '\t' + QByteArray::number(line * 7 + field).repeated(1 + field % 9);
    bytes += "\r\n";
  }
  ASSERT_GT(bytes.size(), 3 << 20);
  const test::KltFields fields = test::ReadKltFields(bytes);
  NewSheet viaFields;
  test::LoadKltFields(viaFields.sheet, fields);
  TextGrid storage(Sheet::kStorageRows, Sheet::kInitialCols);
  ReadKltIntoStorage(storage, QByteArray(bytes.constData(), bytes.size()));  // unshared
  for (int r = 0; r < Sheet::kStorageRows; ++r) {
    for (int c = 1; c < storage.Cols(); ++c)
      ASSERT_EQ(storage.Text(r, c), viaFields.sheet.Storage().Text(r, c)) << r << ',' << c;
  }
}

// Comma-separated text, or a mix, reads exactly as its TAB twin.
// CP932 files are split as bytes and decoded field by field; each must give what decoding the
// whole text first gives, also where a lead byte meets a separator or a line end.
TEST(KltReader, BytesSplitWhereTheirTextWould) {
  const struct {
    QByteArray bytes;
    bool asBytes;
  } cases[] = {
      {"\x8d\xb2\x93\xa1\t85\r\n\x83\x5c\x83\x74\x83\x67,\x82\x40\r\n", true},
      {"a\x82\tb\x82,c\x82\rd\x82\ne\x82\r\nf\x82", true},         // lead bytes before separators
      {"\x80\t\xa0\t\xfd\xfe\xff\t\x85\x40\t\xf0\x40\r\n", true},  // stray and unmapped
      {"\xb1\xb2\xb3\t\xdf\xde\r\n", true},                        // half-width kana
      {QByteArray("n\0a\tm\0\r\n", 8), true},
      {"only ASCII\t1\t2\r\n\r\n3", true},
      {"\xef\xbb\xbf\xe4\xbd\x90\xe8\x97\xa4\t85\r\n", false},  // UTF-8 with a mark
      {"\xe4\xbd\x90\xe8\x97\xa4\t85\r\n", false},              // UTF-8 without one
      {QByteArray("\xff\xfe"
                  "a\0\t\0"
                  "1\0",
                  8),
       false},  // UTF-16
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadsAsCp932(c.bytes), c.asBytes) << c.bytes.toHex().toStdString();
    if (c.asBytes) {
      EXPECT_EQ(DecodeFileText(c.bytes), DecodeCp932(c.bytes));
    }
    ExpectSameLoad(c.bytes);
  }
}

TEST(KltReader, CommaFilesEqualTabTwins) {
  const QByteArray tabs = "\x8E\x81  \x96\xBC\tA\tB\r\n\xBA\xCB\xDF\xB0\t85\t\t\r\n\t\t7\r\n\r\n";
  QByteArray commas = tabs;
  commas.replace('\t', ',');
  QByteArray mixed = tabs;
  for (qsizetype i = 0, k = 0; i < mixed.size(); ++i) {
    if (mixed[i] == '\t' && k++ % 2) mixed[i] = ',';
  }
  ASSERT_NE(mixed, tabs);
  const test::KltFields twin = test::ReadKltFields(tabs);
  for (const QByteArray& bytes : {commas, mixed}) {
    const test::KltFields fields = test::ReadKltFields(bytes);
    EXPECT_EQ(fields.lines, twin.lines) << bytes.toStdString();
    EXPECT_EQ(fields.widestField, twin.widestField);
  }
}

// A comma inside a cell is written as it is and splits the cell when read.
TEST(KltFormat, CommaInCellReadsAsTwoFields) {
  NewSheet a;
  a.sheet.SetViewText(1, 2, QStringLiteral("1,5"));
  a.sheet.SetViewText(1, 3, QStringLiteral("x"));
  a.sheet.StoreView();
  NewSheet b;
  Load(b.sheet, WriteKlt(a.sheet.Storage()));
  EXPECT_EQ(b.sheet.Storage().Text(1, 2), QStringLiteral("1"));
  EXPECT_EQ(b.sheet.Storage().Text(1, 3), QStringLiteral("5"));
  EXPECT_EQ(b.sheet.Storage().Text(1, 4), QStringLiteral("x"));
  EXPECT_EQ(b.sheet.Storage().Cols(), 22) << "the header line is 20 fields, this line 21";
}

// Both grids take F+1 columns, never fewer than they had; every header comes from the file's
// first line, empty beyond it.
TEST(KltReader, WidensGridsAndCopiesHeader) {
  const struct {
    int headerFields;
    int dataFields;
    int cols;
  } cases[] = {{25, 25, 26}, {5, 5, 21}, {3, 25, 26}, {20, 20, 21}};
  for (const auto& c : cases) {
    QStringList header{QStringLiteral("氏  名")};
    for (int j = 2; j <= c.headerFields; ++j) header << QStringLiteral("項目%1").arg(j);
    QStringList data;
    for (int j = 1; j <= c.dataFields; ++j) data << QString::number(j);
    const QString text = header.join(QLatin1Char('\t')) + QStringLiteral("\r\n") +
                         data.join(QLatin1Char('\t')) + QStringLiteral("\r\n\r\n");

    NewSheet s;
    QSignalSpy colsChanged(&s.sheet, &Sheet::viewColsChanged);
    QSignalSpy reset(&s.sheet, &Sheet::viewTextsChanged);
    Load(s.sheet, EncodeCp932(text).bytes);
    const TextGrid& view = s.sheet.View();
    ASSERT_EQ(s.sheet.Storage().Cols(), c.cols) << c.dataFields;
    ASSERT_EQ(view.Cols(), c.cols);
    EXPECT_EQ(colsChanged.count(), c.cols > Sheet::kInitialCols ? 1 : 0);
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(view.Text(0, 0), QStringLiteral("番号"));
    for (int col = 1; col < c.cols; ++col) {
      EXPECT_EQ(view.Text(0, col), col <= c.headerFields ? header[col - 1] : QString()) << col;
      EXPECT_EQ(view.Text(1, col), col <= c.dataFields ? data[col - 1] : QString()) << col;
    }
  }
}

TEST(KltReader, EmptyLineLeavesStorageRowEmpty) {
  NewSheet s;
  s.sheet.MutableStorage().SetText(2, 1, QStringLiteral("old"));
  s.sheet.MutableStorage().SetText(2, 2, QStringLiteral("old"));
  Load(s.sheet, "h\r\na\r\n\r\nc,1\r\n");
  EXPECT_EQ(s.sheet.Storage().Text(2, 1), QString());
  EXPECT_EQ(s.sheet.Storage().Text(2, 2), QString());
  EXPECT_EQ(s.sheet.Storage().Text(3, 2), QStringLiteral("1"));
  EXPECT_EQ(s.sheet.ViewText(2, 1), QString());
  EXPECT_EQ(s.sheet.ViewText(3, 1), QStringLiteral("c"));
}

// Only 1043 lines and 256 fields are stored, and the sheet never grows past 257 columns; text
// left out is reported, empty lines and fields there are not.
TEST(KltReader, LineAndFieldLimits) {
  QByteArray bytes;
  for (int line = 1; line <= 1044; ++line) {
    const int fields = line == 1 ? 300 : line == 1044 ? 301 : 2;
    for (int j = 1; j <= fields; ++j) bytes += (j > 1 ? "\t" : "") + QByteArray::number(j);
    bytes += "\r\n";
  }
  const test::KltFields fields = test::ReadKltFields(bytes);
  ASSERT_EQ(fields.lines.size(), 1043);
  EXPECT_EQ(fields.lines[0].size(), 256);
  EXPECT_EQ(fields.lines[0].last(), QStringLiteral("256"));
  EXPECT_EQ(fields.widestField, 301);

  NewSheet s;
  const KltLoad load = Load(s.sheet, bytes);
  EXPECT_TRUE(load.linesLeftOut);
  EXPECT_TRUE(load.fieldsLeftOut);
  const TextGrid& storage = s.sheet.Storage();
  ASSERT_EQ(storage.Cols(), 257);
  EXPECT_EQ(storage.Rows(), Sheet::kStorageRows);
  EXPECT_EQ(storage.Text(0, 256), QStringLiteral("256"));
  EXPECT_EQ(storage.Text(1042, 2), QStringLiteral("2"));
  EXPECT_EQ(s.sheet.View().Cols(), 257);

  NewSheet wide;
  Load(wide.sheet, QByteArray(100000, ','));
  EXPECT_EQ(wide.sheet.Storage().Cols(), 257) << "a hostile file cannot widen the sheet";

  auto lines = [](int count, const QByteArray& last) {
    QByteArray text;
    for (int i = 1; i < count; ++i) text += "a\t1\r\n";
    return text + last;
  };
  const QByteArray wideLine = QByteArray("x") + QByteArray(300, '\t');
  const struct {
    QByteArray bytes;
    bool linesLeftOut, fieldsLeftOut;
    const char* why;
  } cases[] = {
      {lines(1043, "a\t1\r\n\r\n"), false, false, "a full file with the writer's empty last line"},
      {lines(1043, "a\t1\r\n\t,\r\n\r\n"), false, false, "only separators beyond the limit"},
      {lines(1043, "a\t1\r\nb\r\n"), true, false, "a 1044th line with text"},
      {lines(5, wideLine + "\r\n"), false, false, "300 fields, empty after the first"},
      {lines(5, wideLine + "z\r\n"), false, true, "text in field 301"},
      {lines(1100, wideLine + "z"), true, false, "a wide line beyond the last stored line"},
  };
  for (const auto& c : cases) {
    const test::KltFields read = test::ReadKltFields(c.bytes);
    EXPECT_EQ(read.linesLeftOut, c.linesLeftOut) << c.why;
    EXPECT_EQ(read.fieldsLeftOut, c.fieldsLeftOut) << c.why;
    ExpectSameLoad(c.bytes);
  }
  ExpectSameLoad(bytes);
}

// Sheets as teachers fill them, written and read back, give the same cells: also those whose only
// non-ASCII text is half-width katakana, which is well-formed UTF-8 more often than not.
TEST(KltFormat, GeneratedSheetsReadBackUnchanged) {
  const QStringList kanji = {Utf8("佐藤"), Utf8("鈴木"), Utf8("髙橋"), Utf8("渡邉"), Utf8("國語"),
                             Utf8("﨑"),   Utf8("期末"), Utf8("①"),    Utf8("～")};
  const QStringList kana = {Utf8("はなこ"), Utf8("タロウ"), Utf8("ー")};
  const QStringList narrow = {Utf8("ﾐｶ"),  Utf8("ｻﾄｳ"), Utf8("ﾀﾛｳ"), Utf8("ｽｽﾞｷ ﾊﾅｺ"),
                              Utf8("ﾃｽﾄ"), Utf8("ﾟﾞ"),  Utf8("ｰ"),   Utf8("ｺﾋﾟｰ")};
  // Pairs whose CP932 bytes are also a UTF-8 character (ﾐｶ is D0 B6, "ж").
  const QStringList pairs = {Utf8("ﾐｶ"), Utf8("ﾃｽ"), Utf8("ﾄｳ"),   Utf8("ﾅｶ"),
                             Utf8("ﾏｷ"), Utf8("ﾊｼ"), Utf8("ﾆｼ ﾐｶ")};
  const QStringList ascii = {QStringLiteral("85"), QStringLiteral("72.5"), QStringLiteral("A"),
                             QStringLiteral("-3"), QStringLiteral("Kato")};
  QRandomGenerator random(20261207);
  auto pick = [&random](const QStringList& pool) { return pool[random.bounded(int(pool.size()))]; };
  int validUtf8 = 0;
  for (int round = 0; round < 300; ++round) {
    // Half the sheets hold only such pairs and ASCII.
    const bool pairsOnly = round % 2 == 0;
    TextGrid storage(Sheet::kStorageRows, 3 + random.bounded(20));
    const int cells = 1 + random.bounded(40);
    for (int i = 0; i < cells; ++i) {
      const int row = random.bounded(Sheet::kStorageRows);
      const int col = 1 + random.bounded(storage.Cols() - 1);
      QString text;
      for (int parts = 1 + random.bounded(3); parts > 0; --parts) {
        const int kind = random.bounded(pairsOnly ? 2 : 5);
        text += pick(kind == 0   ? ascii
                     : kind == 1 ? pairs
                     : kind == 2 ? narrow
                     : kind == 3 ? kanji
                                 : kana);
      }
      storage.SetText(row, col, text);
    }
    const QByteArray bytes = WriteKlt(storage);
    if (IsNonAsciiUtf8(bytes)) ++validUtf8;
    NewSheet read;
    Load(read.sheet, bytes);
    for (int r = 0; r < storage.Rows(); ++r) {
      for (int c = 1; c < storage.Cols(); ++c) {
        ASSERT_EQ(read.sheet.Storage().Text(r, c), storage.Text(r, c))
            << "round " << round << " cell " << r << ',' << c;
      }
    }
  }
  EXPECT_GT(validUtf8, 100) << "the generator no longer makes the ambiguous files";
}

TEST(KltWriter, FindsUnstorableCells) {
  using R = UnstorableCell::Reason;
  const struct {
    const char* text;
    QList<R> reasons;
  } cases[] = {
      {"𠮷田", {R::kUnencodable}}, {"😀", {R::kUnencodable}},  {"1,5", {R::kSeparator}},
      {"a\tb", {R::kSeparator}},   {"a\r", {R::kSeparator}},  {"a\nb", {R::kSeparator}},
      {"😀,", {R::kUnencodable}},   {"〜−‖—¢£¬", {}},          {"髙①ｺﾋﾟｰ～", {}},
      {"¥100", {R::kUnencodable}}, {"a‾", {R::kUnencodable}},  // read back as \\ and ~
  };
  for (const auto& c : cases) {
    TextGrid storage(Sheet::kStorageRows, Sheet::kInitialCols);
    storage.SetText(0, 1, QStringLiteral("氏  名"));
    storage.SetText(205, 1, Utf8(c.text));
    storage.SetText(300, 0, Utf8("😀"));  // column 0 is never written
    QList<UnstorableCell> expected;
    for (R reason : c.reasons) expected.append({205, 1, reason});
    EXPECT_EQ(FindUnstorableCells(storage), expected) << c.text;
  }

  TextGrid storage(3, 4);
  storage.SetText(1, 2, Utf8("a𠮷"));
  QList<qsizetype> unencodable;
  const QByteArray bytes = WriteKlt(storage, &unencodable);
  EXPECT_EQ(bytes, QByteArray("\t\r\n\ta?\r\n\r\n"));
  EXPECT_EQ(unencodable, QList<qsizetype>{5});
}

}  // namespace
}  // namespace kelt
