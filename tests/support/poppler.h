#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>

namespace kelt::test {

// What a poppler tool (pdfinfo, pdftotext) prints about a PDF.
inline QString Poppler(const char* tool, const QStringList& arguments) {
  QProcess process;
  process.start(QString::fromLatin1(tool), arguments);
  EXPECT_TRUE(process.waitForFinished(60000)) << tool;
  EXPECT_EQ(process.exitCode(), 0) << tool << ' ' << process.readAllStandardError().constData();
  return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace kelt::test
