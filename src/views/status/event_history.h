#pragma once
// The device's event histories, read with a progress bar, explained and
// cleared.
#include "shell/monitoring_page.h"

class CAlarm_EventHistoryView : public CMonitoringPage {
 public:
  CAlarm_EventHistoryView();
  // Also gives the device back the history selection the page saved.
  void StopMonitoring() override;

 protected:
  // Set while the device holds another selection than the saved one.
  bool m_bHasSavedSelection = false;
  BYTE m_bySavedSelection = 0;
};
