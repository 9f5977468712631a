#pragma once
// The alert rows of the positioner.
#include "shell/monitoring_page.h"

class CHealth_Pos_MainView : public CMonitoringPage {
 public:
  CHealth_Pos_MainView();
};
