#pragma once
// One source for every clock reading and every timer of the program.
// The program runs on the system clock (its timers come from the window
// layer); tests install a ManualClock and move time with Advance().
#include <cstdint>
#include <functional>
#include <map>

namespace plat {

struct LocalTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

class TimeSource {
 public:
  using TimerId = int;
  virtual ~TimeSource() = default;
  // Local wall-clock time, with milliseconds.
  virtual LocalTime Now() const = 0;
  // Milliseconds since the Unix epoch (local wall clock, for seeds and stamps).
  virtual std::int64_t EpochMs() const = 0;
  // Milliseconds from an arbitrary start, never going back.
  virtual std::int64_t MonotonicMs() const = 0;
  // Starts a periodic timer; 0 when timers are not available.
  virtual TimerId StartTimer(std::int64_t periodMs, std::function<void()> tick) = 0;
  virtual void StopTimer(TimerId id) = 0;
};

// The system clock. It has no event loop of its own, so it offers no timers:
// the window layer supplies a source that has them.
class SystemClock : public TimeSource {
 public:
  LocalTime Now() const override;
  std::int64_t EpochMs() const override;
  std::int64_t MonotonicMs() const override;
  TimerId StartTimer(std::int64_t, std::function<void()>) override { return 0; }
  void StopTimer(TimerId) override {}
};

// A clock that moves only when told; due timers fire in order of due time
// (then of start) as Advance() passes them.
class ManualClock : public TimeSource {
 public:
  explicit ManualClock(LocalTime start = {2026, 1, 1, 0, 0, 0, 0});
  LocalTime Now() const override;
  std::int64_t EpochMs() const override { return m_epochMs; }
  std::int64_t MonotonicMs() const override { return m_elapsedMs; }
  TimerId StartTimer(std::int64_t periodMs, std::function<void()> tick) override;
  void StopTimer(TimerId id) override;

  void Advance(std::int64_t ms);
  void Set(LocalTime t);
  int ActiveTimers() const { return static_cast<int>(m_timers.size()); }

 private:
  struct Timer {
    std::int64_t period;
    std::int64_t due;
    std::uint64_t order;
    std::function<void()> tick;
  };
  std::int64_t m_epochMs = 0;
  std::int64_t m_elapsedMs = 0;
  std::map<TimerId, Timer> m_timers;
  TimerId m_nextId = 1;
  std::uint64_t m_nextOrder = 0;
};

// The current source; the system clock unless another is installed.
TimeSource& Time();
// Installs a source (null restores the system clock); returns the previous one.
TimeSource* SetTimeSource(TimeSource* source);

// Installs a source for the lifetime of a scope (tests).
class ScopedTimeSource {
 public:
  explicit ScopedTimeSource(TimeSource& s) : m_previous(SetTimeSource(&s)) {}
  ~ScopedTimeSource() { SetTimeSource(m_previous); }
  ScopedTimeSource(const ScopedTimeSource&) = delete;
  ScopedTimeSource& operator=(const ScopedTimeSource&) = delete;

 private:
  TimeSource* m_previous;
};

}  // namespace plat
