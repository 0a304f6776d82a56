// Start-up from exec to the frame's first complete drawing, against Qt's floor (an empty
// QMainWindow built in the same tree, and the same with one label of Japanese text), in
// interleaved rounds: a full year (1043 lines × 256 fields), a sheet of 21 fields, no file and the
// largest file the reader takes.
// Prints medians, the ratio to the floor and the peak resident memory. Run: kelt_launch_bench
// [rounds [kelt]]  (headless: QT_QPA_PLATFORM=offscreen); a second kelt (an older build) can be
// named: it is timed in the same rounds, so before and after share the machine's moods.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/storage/kltformat.h"
#include "core/storage/sheetfile.h"
#include "fill.h"

namespace {

struct Run {
  double seconds;
  long maxRssKib;
};

// One start of `program` with `argument` (or none), timed from exec to its exit.
Run Launch(const QByteArray& program, const QByteArray& argument) {
  QElapsedTimer timer;
  timer.start();
  const pid_t child = ::fork();
  if (child == 0) {
    ::setenv("KELT_QUIT_WHEN_DRAWN", "1", 1);
    // The programs' own chatter (the platform's notes) would bury the table.
    if (std::FILE* quiet = std::freopen("/dev/null", "w", stderr)) (void)quiet;
    if (argument.isEmpty()) {
      ::execl(program.constData(), program.constData(), static_cast<char*>(nullptr));
    } else {
      ::execl(program.constData(), program.constData(), argument.constData(),
              static_cast<char*>(nullptr));
    }
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s ended with status %d\n", program.constData(), status);
    std::exit(1);
  }
  return {seconds, usage.ru_maxrss};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    std::exit(1);
  }
}

// The largest file the reader takes: every field of every line a sheet holds, 60 letters each
// (ASCII is the costliest text to hold: one byte in the file, two in memory), just under 16 MiB.
QByteArray LargestFile() {
  QByteArray bytes;
  bytes.reserve(kelt::kMaxSheetFileSize);
  quint32 seed = 20261207;
  for (int line = 0; line < kelt::kKltMaxLines; ++line) {
    for (int field = 0; field < kelt::kKltMaxFields; ++field) {
      if (field > 0) bytes += '\t';
      for (int i = 0; i < 60; ++i) {
        seed = seed * 1664525u + 1013904223u;
        bytes += char('A' + (seed >> 24) % 58);
      }
    }
    bytes += "\r\n";
  }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  const QByteArray kelt(KELT_PROGRAM);
  const QByteArray other = argc > 2 ? QByteArray(argv[2]) : QByteArray();
  QTemporaryDir dir;
  ::setenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))), 1);
  const QString full = dir.filePath(QStringLiteral("full.klt"));
  const QString narrow = dir.filePath(QStringLiteral("narrow.klt"));
  WriteFile(full, kelt::WriteKlt(kelt::bench::FullStorage(kelt::kKltMaxFields + 1)));
  WriteFile(narrow, kelt::WriteKlt(kelt::bench::FullStorage(21)));
  const QString largest = dir.filePath(QStringLiteral("largest.klt"));
  WriteFile(largest, LargestFile());

  struct Case {
    const char* name;
    QByteArray program;
    QByteArray argument;
    std::vector<double> seconds;
    long maxRssKib = 0;
  };
  std::vector<Case> cases = {
      {"empty QMainWindow", KELT_EMPTY_WINDOW, {}, {}},
      {"... with a label", KELT_EMPTY_WINDOW, "label", {}},
      {"kelt, full file", kelt, QFile::encodeName(full), {}},
      {"kelt, 21 fields", kelt, QFile::encodeName(narrow), {}},
      {"kelt, no file", kelt, {}, {}},
      {"kelt, largest file", kelt, QFile::encodeName(largest), {}},
  };
  if (!other.isEmpty()) {
    cases.push_back({"other, full file", other, QFile::encodeName(full), {}});
    cases.push_back({"other, no file", other, {}, {}});
    cases.push_back({"other, largest file", other, QFile::encodeName(largest), {}});
  }
  Launch(kelt, {});  // the libraries into the page cache
  for (int round = 0; round < rounds; ++round) {
    for (Case& c : cases) {
      const Run run = Launch(c.program, c.argument);
      c.seconds.push_back(run.seconds);
      c.maxRssKib = std::max(c.maxRssKib, run.maxRssKib);
    }
  }
  const double floor = Median(cases[0].seconds);
  std::printf("%-20s %10s %8s %10s\n", "start-up", "median s", "× floor", "peak MiB");
  for (const Case& c : cases) {
    const double median = Median(c.seconds);
    std::printf("%-20s %10.3f %8.2f %10.1f\n", c.name, median, median / floor,
                static_cast<double>(c.maxRssKib) / 1024.0);
  }
  return 0;
}
