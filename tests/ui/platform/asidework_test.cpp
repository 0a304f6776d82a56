#include "ui/platform/asidework.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

namespace kelt {
namespace {

// The work is done once, by whichever thread comes first: the taker when the work's own thread
// has not begun (a busy machine has not run it), or that thread, which the taker then waits for.
TEST(AsideWork, DoneOnceByWhicheverThreadComesFirst) {
  std::atomic<int> runs = 0;
  std::atomic<bool> release = true;
  auto work = [&] {
    ++runs;
    while (!release) std::this_thread::yield();
    return std::this_thread::get_id();
  };

  // The thread has not begun when the result is asked for: the taker does it, and the thread
  // that begins after does nothing.
  std::function<void()> late;
  {
    AsideWork<std::thread::id> aside(work, [&late](std::function<void()> run) { late = run; });
    EXPECT_EQ(aside.Take(), std::this_thread::get_id());
  }
  late();
  EXPECT_EQ(runs, 1);

  // The thread began first: the taker waits for it and gets its result.
  runs = 0;
  release = false;
  std::thread worker;
  std::thread::id workerId;
  AsideWork<std::thread::id> aside(work, [&](std::function<void()> run) {
    worker = std::thread(run);
    workerId = worker.get_id();
  });
  while (runs == 0) std::this_thread::yield();
  release = true;
  EXPECT_EQ(aside.Take(), workerId);
  worker.join();
  EXPECT_EQ(runs, 1);

  // On a thread of its own by default.
  EXPECT_EQ(AsideWork<int>([] { return 7; }).Take(), 7);
}

}  // namespace
}  // namespace kelt
