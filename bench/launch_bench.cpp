// Start-up from exec to the frame's first complete drawing, against Qt's floor (an empty
// QMainWindow built in the same tree, the same with one label of Japanese text, and with a splash
// before it), one start at a time on a quiet machine, in
// interleaved rounds: a full year (1043 lines × 256 fields), a sheet of 21 fields, no file and the
// largest file the reader takes; then a full year, no file and the splash reference again, each
// start sharing its one core with a busy process (a virus scan, an update), as on a busy machine.
// Prints the medians to the drawing and to the exit, their ratios to the floor and the peak
// resident memory. Run: kelt_launch_bench [rounds [kelt]]  (headless: QT_QPA_PLATFORM=offscreen);
// a second kelt (an older build) can be named: it is timed in the same rounds, so before and after
// share the machine's moods. A build that does not report its drawing is timed to its exit only.
#include <sched.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>
#include <vector>

#include "core/storage/kltformat.h"
#include "core/storage/sheetfile.h"
#include "fill.h"

namespace {

struct Run {
  double drawn;  // seconds from exec to the end of the first drawing
  double ended;  // seconds from exec to the exit, teardown included
  long maxRssKib;
};

// The core a busy start and its busy neighbour share.
constexpr int kBusyCore = 0;

void PinToBusyCore() {
  cpu_set_t one;
  CPU_ZERO(&one);
  CPU_SET(kBusyCore, &one);
  ::sched_setaffinity(0, sizeof one, &one);
}

// A process that keeps the busy core busy until it is ended.
pid_t StartBusyLoop() {
  const pid_t busy = ::fork();
  if (busy == 0) {
    PinToBusyCore();
    for (;;) asm volatile("");
  }
  // Running on its core before the start it contends with.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  return busy;
}

void EndBusyLoop(pid_t busy) {
  ::kill(busy, SIGKILL);
  ::waitpid(busy, nullptr, 0);
}

// One start of `program` with `argument` (or none), timed from exec to the moment it reports its
// drawing done ("drawn <steady clock in ns>" on its standard output) and to its exit; `busy`
// starts it on the busy core.
Run Launch(const QByteArray& program, const QByteArray& argument, bool busy = false) {
  int report[2];
  if (::pipe(report) != 0) {
    std::perror("pipe");
    std::exit(1);
  }
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = ::fork();
  if (child == 0) {
    if (busy) PinToBusyCore();
    ::setenv("KELT_QUIT_WHEN_DRAWN", "1", 1);
    ::dup2(report[1], STDOUT_FILENO);
    ::close(report[0]);
    ::close(report[1]);
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
  ::close(report[1]);
  QByteArray said;
  char buffer[256];
  for (ssize_t n; (n = ::read(report[0], buffer, sizeof buffer)) != 0;) {
    if (n > 0)
      said.append(buffer, n);
    else if (errno != EINTR)
      break;
  }
  ::close(report[0]);
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  const auto end = std::chrono::steady_clock::now();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s ended with status %d\n", program.constData(), status);
    std::exit(1);
  }
  const qsizetype at = said.lastIndexOf("drawn ");
  bool ok = false;
  const long long drawnNs =
      at < 0 ? 0 : said.mid(at + 6).trimmed().split('\n').value(0).toLongLong(&ok);
  const auto seconds = [&](std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
  };
  const double drawn =
      ok ? seconds(std::chrono::steady_clock::duration(std::chrono::nanoseconds(drawnNs)) -
                   start.time_since_epoch())
         : -1.0;
  return {drawn, seconds(end - start), usage.ru_maxrss};
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
    bool busy = false;
    std::vector<double> drawn;
    std::vector<double> ended;
    long maxRssKib = 0;
  };
  std::vector<Case> cases = {
      {"empty QMainWindow", KELT_EMPTY_WINDOW, {}, false, {}, {}},
      {"... with a label", KELT_EMPTY_WINDOW, "label", false, {}, {}},
      {"... and a splash", KELT_EMPTY_WINDOW, "splash", false, {}, {}},
      {"kelt, full file", kelt, QFile::encodeName(full), false, {}, {}},
      {"kelt, 21 fields", kelt, QFile::encodeName(narrow), false, {}, {}},
      {"kelt, no file", kelt, {}, false, {}, {}},
      {"kelt, largest file", kelt, QFile::encodeName(largest), false, {}, {}},
      {"splash, busy core", KELT_EMPTY_WINDOW, "splash", true, {}, {}},
      {"kelt, full, busy", kelt, QFile::encodeName(full), true, {}, {}},
      {"kelt, no file, busy", kelt, {}, true, {}, {}},
  };
  if (!other.isEmpty()) {
    cases.push_back({"other, full file", other, QFile::encodeName(full), false, {}, {}});
    cases.push_back({"other, no file", other, {}, false, {}, {}});
    cases.push_back({"other, largest file", other, QFile::encodeName(largest), false, {}, {}});
    cases.push_back({"other, full, busy", other, QFile::encodeName(full), true, {}, {}});
  }
  Launch(kelt, {});  // the libraries into the page cache
  for (int round = 0; round < rounds; ++round) {
    for (Case& c : cases) {
      // Each start meets a quiet machine: right after a program has ended, the X server and the
      // kernel are still tidying up after it, which slows the next start by a varying 10-20 ms.
      std::this_thread::sleep_for(std::chrono::milliseconds(150));
      const pid_t busy = c.busy ? StartBusyLoop() : 0;
      const Run run = Launch(c.program, c.argument, c.busy);
      if (busy) EndBusyLoop(busy);
      c.drawn.push_back(run.drawn);
      c.ended.push_back(run.ended);
      c.maxRssKib = std::max(c.maxRssKib, run.maxRssKib);
    }
  }
  // Start-up ends with the drawing; the exit is shown beside it, teardown included. "× splash"
  // compares with the window that keeps a splash too, a busy start with a busy one.
  const double floor = Median(cases[0].drawn);
  const double splashed = Median(cases[2].drawn);
  const double busySplashed = Median(cases[7].drawn);
  const double floorEnded = Median(cases[0].ended);
  std::printf("%-20s %9s %8s %9s %9s %8s %9s\n", "start-up", "drawn s", "× floor", "× splash",
              "exit s", "× floor", "peak MiB");
  for (const Case& c : cases) {
    const double drawn = Median(c.drawn);
    const double ended = Median(c.ended);
    if (*std::min_element(c.drawn.begin(), c.drawn.end()) < 0) {
      std::printf("%-20s %9s %8s %9s", c.name, "-", "-", "-");
    } else {
      std::printf("%-20s %9.3f %8.2f %9.2f", c.name, drawn, drawn / floor,
                  drawn / (c.busy ? busySplashed : splashed));
    }
    std::printf(" %9.3f %8.2f %9.1f\n", ended, ended / floorEnded,
                static_cast<double>(c.maxRssKib) / 1024.0);
  }
  return 0;
}
