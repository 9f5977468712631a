#pragma once
// The alarms that management watches, as lamps with their masks.
#include "shell/monitoring_page.h"

class CAlarm_ManagementAnnunciatorView : public CMonitoringPage {
 public:
  CAlarm_ManagementAnnunciatorView();
};
