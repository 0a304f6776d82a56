#include "core/storage/recoverycells.h"

#include <gtest/gtest.h>

#include "core/sheet/sheet.h"
#include "support/qtprint.h"
#include "support/text.h"

namespace kelt {
namespace {

using test::Utf8;

// Whatever a cell holds comes back: characters CP932 lacks, separators and escapes, the last
// storage row, and the sheet's width with its empty columns at the right.
TEST(RecoveryCells, EveryCharacterAndTheSheetsShapeComeBack) {
  const char* const texts[] = {
      "𠮷田", "€5",  "😀",   "a\tb",   "x\r\ny", "\n", "c:\\new\\",
      "\\",   "\\t", "1,2", "氏  名", "ｶﾞｯｺｳ",  "\r", " ",
  };
  TextGrid storage = Sheet::EmptyStorage();
  storage.SetCols(30);
  int row = 0;
  for (const char* text : texts) {
    storage.SetText(row, 1 + row % 20, Utf8(text));
    ++row;
  }
  storage.SetText(Sheet::kYearAverageStorageRow, 2, Utf8("72.5"));
  const std::optional<TextGrid> read = ReadRecoveryCells(WriteRecoveryCells(storage));
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(*read, storage);

  // An empty sheet keeps its width too.
  TextGrid empty = Sheet::EmptyStorage();
  empty.SetCols(40);
  EXPECT_EQ(ReadRecoveryCells(WriteRecoveryCells(empty)), empty);
  EXPECT_EQ(ReadRecoveryCells(WriteRecoveryCells(Sheet::EmptyStorage())), Sheet::EmptyStorage());
}

// Bytes kelt never wrote as a copy are refused, not shown as a sheet of garbage.
TEST(RecoveryCells, WhatNoCopyHoldsIsRefused) {
  const struct {
    const char* what;
    QByteArray bytes;
    bool read;
  } cases[] = {
      {"nothing", "", true},
      {"one cell", "a\n", true},
      {"no last line end", "a\tb", true},
      {"not UTF-8 (CP932)", "\x8E\x81\n", false},
      {"an escape never written", "a\\qb\n", false},
      {"a backslash at the end", "ab\\\n", false},
      {"1043 rows", QByteArray("x\n").repeated(Sheet::kStorageRows), true},
      {"1044 rows", QByteArray("x\n").repeated(Sheet::kStorageRows + 1), false},
      {"256 columns", QByteArray("\t").repeated(255) + "x\n", true},
      {"257 columns", QByteArray("\t").repeated(256) + "x\n", false},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadRecoveryCells(c.bytes).has_value(), c.read) << c.what;
}

}  // namespace
}  // namespace kelt
