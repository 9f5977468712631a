#pragma once
// The alert rows of the valve, its cycle count and travel, and the valve
// counter resets.
#include "shell/health_page.h"

class CHealth_Val_MainView : public CHealthPage {
 public:
  enum : int { kResetCyclesId = 1504, kResetTravelId = 1503 };
  enum : int { kResetCyclesRequest = 5, kResetTravelRequest = 6 };
  // Each reads its record; the write is the step after.
  enum : int { kResetCyclesStep = 10, kResetTravelStep = 14 };
  enum : int { kCyclesBox = 1829, kTravelBox = 1492, kTravelUnit = 1316 };

  CHealth_Val_MainView();

 private:
  void ShowValues();
};
