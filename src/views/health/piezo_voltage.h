#pragma once
// The piezo voltage against its four fixed limits. Read only.
#include "shell/limit_gauge_page.h"

class CHealth_Pos_PiezoVolView : public CLimitGaugePage {
 public:
  enum : UINT { kGaugeId = 352 };
  enum : int { kValueBox = 1835, kLowAlarmBox = 1838, kLowWarningBox = 1836, kHighWarningBox = 1837, kHighAlarmBox = 1842 };

  CHealth_Pos_PiezoVolView();

 protected:
  void CreateControls() override;
  COLORREF PointerColour(double value, const std::vector<double>& markers) const override;
};
