#include "platform/win/qt_time_source.h"

namespace plat {

QtTimeSource::QtTimeSource() = default;

QtTimeSource::~QtTimeSource() {
  for (auto& [id, timer] : m_timers) delete timer;
}

TimeSource::TimerId QtTimeSource::StartTimer(std::int64_t periodMs, std::function<void()> tick) {
  auto* timer = new QTimer;
  timer->setInterval(static_cast<int>(std::max<std::int64_t>(1, periodMs)));
  QObject::connect(timer, &QTimer::timeout, timer, [tick = std::move(tick)] { tick(); });
  const TimerId id = m_nextId++;
  m_timers[id] = timer;
  timer->start();
  return id;
}

void QtTimeSource::StopTimer(TimerId id) {
  const auto it = m_timers.find(id);
  if (it == m_timers.end()) return;
  QTimer* timer = it->second;
  m_timers.erase(it);
  timer->stop();
  // It may be this timer's own tick that stops it.
  timer->deleteLater();
}

}  // namespace plat
