#pragma once
// The piezo voltage against its limits.
#include "shell/monitoring_page.h"

class CHealth_Pos_PiezoVolView : public CMonitoringPage {
 public:
  CHealth_Pos_PiezoVolView();
};
