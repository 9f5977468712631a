#pragma once
// The program's time source: the system clock, with QTimers as timers.
// Like Windows timers, QTimers also tick inside the event loop of a modal
// dialog; the window layer keeps such a tick from re-entering its handler.
#include <QTimer>
#include <map>
#include <memory>

#include "platform/sys/time_source.h"

namespace plat {

class QtTimeSource : public TimeSource {
 public:
  QtTimeSource();
  ~QtTimeSource() override;
  LocalTime Now() const override { return m_clock.Now(); }
  std::int64_t EpochMs() const override { return m_clock.EpochMs(); }
  std::int64_t MonotonicMs() const override { return m_clock.MonotonicMs(); }
  TimerId StartTimer(std::int64_t periodMs, std::function<void()> tick) override;
  void StopTimer(TimerId id) override;

 private:
  SystemClock m_clock;
  std::map<TimerId, QTimer*> m_timers;
  TimerId m_nextId = 1;
};

}  // namespace plat
