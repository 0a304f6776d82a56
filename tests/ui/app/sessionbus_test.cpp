#include "ui/app/sessionbus.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace kelt {
namespace {

// dbus-launch answers with the address, a NUL, then two numbers in binary; stand-ins say how they
// were asked, or fail.
TEST(SessionBus, DbusLaunchIsAskedForThisMachinesBus) {
  QTemporaryDir dir;
  const struct {
    const char* name;
    const char* script;  // nullptr: no such program
    QByteArray address;
  } cases[] = {
      {"answers",
       "printf 'unix:abstract=/tmp/dbus-%s,guid=%s\\000\\001\\002\\003\\004' \"$2\" \"$1\"",
       "unix:abstract=/tmp/dbus-0123456789abcdef0123456789abcdef,guid=--autolaunch"},
      {"fails", "printf 'unix:path=/x\\000'; exit 1", {}},
      {"says nothing", "exit 0", {}},
      {"no address", "printf '\\000\\001'", {}},
      {"missing", nullptr, {}},
  };
  for (const auto& c : cases) {
    const QString path =
        dir.filePath(QString::fromLatin1(c.name).replace(QLatin1Char(' '), QLatin1Char('-')));
    if (c.script) {
      QFile file(path);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(QByteArray("#!/bin/sh\n") + c.script + "\n");
      file.close();
      file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    EXPECT_EQ(
        AskDbusLaunch(QFile::encodeName(path).constData(), "0123456789abcdef0123456789abcdef"),
        c.address)
        << c.name;
  }
}

}  // namespace
}  // namespace kelt
