#pragma once
// The alert rows of the valve.
#include "shell/monitoring_page.h"

class CHealth_Val_MainView : public CMonitoringPage {
 public:
  CHealth_Val_MainView();
};
