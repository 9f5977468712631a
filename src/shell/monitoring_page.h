#pragma once
// The frame of the dashboard, alarm and health pages: the step machine
// with the monitoring header, whose LED, indicator and source carry
// captions and tool tips of their own.
#include <functional>
#include <vector>

#include "comm/communication.h"
#include "shell/step_page.h"

namespace monitoring {

// A travel or cycle counter of a record that the device resets when the
// record comes back with its select byte set.
struct CounterReset {
  int button;
  int request;
  int step;  // the read; the write is the step after
  int readCommand;
  TravelCycleRecord CWexletCoreCommunication::*record;
  BYTE select;
  const char* toolTipKey = nullptr;
  // The click restarts the timer's period; otherwise the request waits for
  // the next tick of the running timer.
  bool restartsPeriod = false;
};

}  // namespace monitoring

class CMonitoringPage : public CStepPage {
 public:
  // Where a counter reset goes back to: the idle step of every page that
  // has one.
  enum : int { kCounterResetReturnStep = 1 };
  CMonitoringPage(UINT templateId, const char* titleKey, UINT timerId, UINT periodMs, StatusHeaderIds ids = {});
  // Also puts the waste bin on the counter reset buttons.
  void OnInitialUpdate() override;

 protected:
  // The read of the record, and on the tick after it the write with the
  // select byte, only when the read was answered: a write from an old or
  // empty record would replace the device's limits. shown runs after the
  // write.
  void AddCounterReset(const monitoring::CounterReset& reset, std::function<void()> shown);
  // A reset button of the page's own that shows the waste bin too.
  void AddResetPicture(int button) { m_resetButtons.push_back(button); }
  // Apply writes limits the page has read: before a good read it reads
  // them instead (readStep) and tells the user; false then.
  bool ApplyAllowed(bool limitsRead, int readStep);

 private:
  std::vector<int> m_resetButtons;
  CBitmap m_bmpReset;
};
