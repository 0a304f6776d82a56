#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <chrono>
#include <cstdio>

namespace kelt {

// Ends the event loop once `window` has finished its first drawing: the launch benchmark times
// kelt and Qt's floor (an empty window that links nothing else) to that moment. The moment is
// written to standard output as "drawn <steady clock in ns>", so that the benchmark can leave the
// program's teardown out of its start-up.
inline void QuitWhenDrawn(QWidget* window) {
  class Watcher : public QObject {
   public:
    explicit Watcher(QWidget* watched) : QObject(watched), m_window(watched) {
      qApp->installEventFilter(this);
    }

   protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
      if (event->type() == QEvent::Paint && !m_quitting) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == m_window) {
          m_quitting = true;
          // The rest of this drawing pass is done before the queued quit runs.
          QMetaObject::invokeMethod(
              qApp,
              [] {
                const auto now = std::chrono::steady_clock::now().time_since_epoch();
                std::printf("drawn %lld\n",
                            static_cast<long long>(std::chrono::nanoseconds(now).count()));
                std::fflush(stdout);
                QCoreApplication::quit();
              },
              Qt::QueuedConnection);
        }
      }
      return false;
    }

   private:
    QWidget* m_window;
    bool m_quitting = false;
  };
  new Watcher(window);
}

}  // namespace kelt
