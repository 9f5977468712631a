#pragma once
// The technician's lamps of the positioner's states.
#include "shell/monitoring_page.h"

class CAlarm_TechAnnunciatorView : public CMonitoringPage {
 public:
  CAlarm_TechAnnunciatorView();
};
