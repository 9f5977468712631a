#pragma once
// Every alarm, alert and state of the positioner as a lamp, with its mask.
#include "shell/monitoring_page.h"

class CAlarm_AnnunciatorView : public CMonitoringPage {
 public:
  CAlarm_AnnunciatorView();
};
