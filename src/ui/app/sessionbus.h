#pragma once

#include <QByteArray>
#include <future>

namespace kelt {

// Connects to the session bus on another thread, before the application is built: the first label
// shown asks the bus whether a screen reader listens, and where no bus runs yet one is started for
// this session, which takes about as long as building the application. Qt keeps the connection
// for the whole program. Nothing on the offscreen and minimal platforms. The main thread must
// have been made known to Qt first (QThread::currentThread()).
std::future<void> ConnectSessionBusAside();

// Where no session bus is known (no DBUS_SESSION_BUS_ADDRESS, no $XDG_RUNTIME_DIR/bus) but an X
// display is, libdbus asks dbus-launch for this machine's and display's bus, forking the whole
// program to run it: every page the building of the application writes afterwards faults again.
// This asks the same question by spawning dbus-launch without copying the program. The address it
// answers, or empty where `program` cannot be run or gives no address.
QByteArray AskDbusLaunch(const char* program, const QByteArray& machineId);

}  // namespace kelt
