#include "ui/app/sessionbus.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QFile>
#include <cerrno>

extern char** environ;

namespace kelt {

QByteArray AskDbusLaunch(const char* program, const QByteArray& machineId) {
  int answer[2];
  if (::pipe2(answer, O_CLOEXEC) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, answer[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  QByteArray id = machineId;
  char* argv[] = {
      const_cast<char*>("dbus-launch"),     const_cast<char*>("--autolaunch"),   id.data(),
      const_cast<char*>("--binary-syntax"), const_cast<char*>("--close-stderr"), nullptr};
  pid_t child = 0;
  const bool spawned = ::posix_spawn(&child, program, &actions, nullptr, argv, environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  ::close(answer[1]);
  QByteArray said;
  if (spawned) {
    char buffer[512];
    for (ssize_t n; (n = ::read(answer[0], buffer, sizeof buffer)) != 0;) {
      if (n > 0) {
        said.append(buffer, n);
      } else if (errno != EINTR) {
        break;
      }
    }
  }
  ::close(answer[0]);
  int status = 0;
  if (!spawned || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0)
    return {};
  // The binary answer: the address, a NUL, then the bus's process and the X window that owns it.
  const qsizetype end = said.indexOf('\0');
  return end > 0 ? said.left(end) : QByteArray();
}

namespace {
// The machine's id as libdbus reads it.
QByteArray MachineId() {
  for (const char* path : {"/var/lib/dbus/machine-id", "/etc/machine-id"}) {
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly)) continue;
    QByteArray id = file.readLine(64).trimmed();
    if (id.size() == 32) return id;
  }
  return {};
}

// True where libdbus would autolaunch the session bus.
bool WouldAutolaunch() {
  if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return false;
  if (qEnvironmentVariableIsEmpty("DISPLAY")) return false;
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  return runtime.isEmpty() || !QFile::exists(QFile::decodeName(runtime + "/bus"));
}
}  // namespace

std::future<void> ConnectSessionBusAside() {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (platform.startsWith("offscreen") || platform.startsWith("minimal")) return {};
  const bool autolaunch = WouldAutolaunch();
  // "autolaunch:" is what libdbus uses for an unset address. Set here, while this is the only
  // thread, so that the other thread only replaces the value of a variable that exists: other
  // threads read the environment meanwhile, and adding a variable may move it.
  if (autolaunch) qputenv("DBUS_SESSION_BUS_ADDRESS", "autolaunch:");
  return std::async(std::launch::async, [autolaunch] {
    if (autolaunch) {
      const QByteArray id = MachineId();
      const QByteArray address =
          id.isEmpty() ? QByteArray() : AskDbusLaunch("/usr/bin/dbus-launch", id);
      if (!address.isEmpty()) qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    }
    QDBusConnection::sessionBus();
  });
}

}  // namespace kelt
