#pragma once
// The alert rows of the positioner, its five health values and the pilot
// relay counter resets.
#include "shell/health_page.h"

class CHealth_Pos_MainView : public CHealthPage {
 public:
  enum : int { kResetCyclesId = 1441, kResetTravelId = 1444 };
  enum : int { kResetCyclesRequest = 4, kResetTravelRequest = 5 };

  CHealth_Pos_MainView();

 private:
  void ShowValues();
};
