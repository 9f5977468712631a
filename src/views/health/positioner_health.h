#pragma once
// The alert rows of the positioner, its five health values and the pilot
// relay counter resets.
#include "shell/health_page.h"

class CHealth_Pos_MainView : public CHealthPage {
 public:
  enum : int { kResetCyclesId = 1441, kResetTravelId = 1444 };
  enum : int { kResetCyclesRequest = 4, kResetTravelRequest = 5 };
  // Each reads its record; the write is the step after.
  enum : int { kResetCyclesStep = 10, kResetTravelStep = 14 };

  CHealth_Pos_MainView();

 private:
  void ShowValues();
};
