#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace kelt {

// Work begun on a thread of its own, at the priority of the thread that begins it, whose result
// one thread later takes. The taker does the work itself when the other thread has not begun it
// (on a busy machine that thread may not have run at all), and otherwise waits for a thread of
// its own priority, never for one that a busy machine starves.
template <typename T>
class AsideWork {
 public:
  // How the work's thread is started; tests start it when they choose.
  using Launcher = std::function<void(std::function<void()>)>;
  static void DetachedThread(std::function<void()> run) { std::thread(std::move(run)).detach(); }

  explicit AsideWork(std::function<T()> work, const Launcher& launch = DetachedThread)
      : m_state(std::make_shared<State>()) {
    m_state->work = std::move(work);
    launch([state = m_state] { state->Run(); });
  }

  // The result, once: made here when no thread has begun the work, else waited for.
  T Take() {
    m_state->Run();
    std::unique_lock lock(m_state->mutex);
    m_state->finished.wait(lock, [this] { return m_state->result.has_value(); });
    return std::move(*m_state->result);
  }

 private:
  struct State {
    std::mutex mutex;
    std::condition_variable finished;
    bool begun = false;
    std::optional<T> result;
    std::function<T()> work;

    void Run() {
      {
        const std::lock_guard lock(mutex);
        if (begun) return;
        begun = true;
      }
      T value = work();
      {
        const std::lock_guard lock(mutex);
        result = std::move(value);
        work = nullptr;
      }
      finished.notify_all();
    }
  };

  // Shared with the thread, which may begin after the taker has done the work and gone.
  std::shared_ptr<State> m_state;
};

}  // namespace kelt
