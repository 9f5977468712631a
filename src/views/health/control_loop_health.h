#pragma once
// The alert rows of the control loop, with the deviation, the position and
// the last partial stroke test result.
#include "shell/health_page.h"

class CHealth_Ctl_MainView : public CHealthPage {
 public:
  enum : int { kDeviationBox = 1515, kPositionBox = 1445, kPstResultBox = 1540 };

  CHealth_Ctl_MainView();

 private:
  void ShowValues();
};
