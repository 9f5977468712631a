#include "platform/sys/time_source.h"

#include <chrono>
#include <ctime>

namespace plat {
namespace {

using namespace std::chrono;

// Civil time <-> milliseconds, on the proleptic Gregorian calendar; the
// manual clock keeps "local" time without any zone.
std::int64_t ToEpochMs(const LocalTime& t) {
  const sys_days d = year{t.year} / month{static_cast<unsigned>(t.month)} / day{static_cast<unsigned>(t.day)};
  return duration_cast<milliseconds>(d.time_since_epoch()).count() +
         ((t.hour * 60LL + t.minute) * 60LL + t.second) * 1000LL + t.millisecond;
}

LocalTime FromEpochMs(std::int64_t ms) {
  const sys_days d = floor<days>(sys_time<milliseconds>(milliseconds(ms)));
  const year_month_day ymd(d);
  std::int64_t rest = ms - duration_cast<milliseconds>(d.time_since_epoch()).count();
  LocalTime t;
  t.year = static_cast<int>(ymd.year());
  t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  t.millisecond = static_cast<int>(rest % 1000);
  rest /= 1000;
  t.second = static_cast<int>(rest % 60);
  rest /= 60;
  t.minute = static_cast<int>(rest % 60);
  t.hour = static_cast<int>(rest / 60);
  return t;
}

SystemClock g_systemClock;
TimeSource* g_current = &g_systemClock;

}  // namespace

LocalTime SystemClock::Now() const {
  const auto now = system_clock::now();
  const std::time_t secs = system_clock::to_time_t(now);
  std::tm tm{};
  localtime_r(&secs, &tm);
  LocalTime t;
  t.year = tm.tm_year + 1900;
  t.month = tm.tm_mon + 1;
  t.day = tm.tm_mday;
  t.hour = tm.tm_hour;
  t.minute = tm.tm_min;
  t.second = tm.tm_sec;
  t.millisecond = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  return t;
}

std::int64_t SystemClock::EpochMs() const {
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::int64_t SystemClock::MonotonicMs() const {
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

ManualClock::ManualClock(LocalTime start) : m_epochMs(ToEpochMs(start)) {}

LocalTime ManualClock::Now() const { return FromEpochMs(m_epochMs); }

void ManualClock::Set(LocalTime t) { m_epochMs = ToEpochMs(t); }

TimeSource::TimerId ManualClock::StartTimer(std::int64_t periodMs, std::function<void()> tick) {
  if (periodMs < 1) periodMs = 1;
  const TimerId id = m_nextId++;
  m_timers[id] = Timer{periodMs, m_elapsedMs + periodMs, m_nextOrder++, std::move(tick)};
  return id;
}

void ManualClock::StopTimer(TimerId id) { m_timers.erase(id); }

void ManualClock::Advance(std::int64_t ms) {
  const std::int64_t target = m_elapsedMs + (ms > 0 ? ms : 0);
  for (;;) {
    auto next = m_timers.end();
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
      if (it->second.due > target) continue;
      if (next == m_timers.end() || it->second.due < next->second.due ||
          (it->second.due == next->second.due && it->second.order < next->second.order))
        next = it;
    }
    if (next == m_timers.end()) break;
    if (next->second.due > m_elapsedMs) {
      m_epochMs += next->second.due - m_elapsedMs;
      m_elapsedMs = next->second.due;
    }
    next->second.due += next->second.period;
    // The tick may stop or start timers, so it runs on a copy.
    auto tick = next->second.tick;
    tick();
  }
  // A tick may itself have advanced the clock past the target.
  if (target > m_elapsedMs) {
    m_epochMs += target - m_elapsedMs;
    m_elapsedMs = target;
  }
}

TimeSource& Time() { return *g_current; }

TimeSource* SetTimeSource(TimeSource* source) {
  TimeSource* previous = g_current;
  g_current = source ? source : &g_systemClock;
  return previous;
}

}  // namespace plat
