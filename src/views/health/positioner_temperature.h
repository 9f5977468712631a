#pragma once
// The positioner's temperature against its low and high warnings, whose
// values and scale follow the device's temperature unit. Read only.
#include "shell/limit_gauge_page.h"

class CHealth_Pos_TempAndHumidityView : public CLimitGaugePage {
 public:
  enum : UINT { kGaugeId = 337, kLowSignId = 334, kHighSignId = 335 };
  enum : int {
    kValueBox = 1436,
    kLowBox = 1437,
    kHighBox = 793,
    kValueUnit = 1486,
    kLowUnit = 1490,
    kHighUnit = 1489,
  };

  CHealth_Pos_TempAndHumidityView();

 protected:
  void CreateControls() override;
  COLORREF PointerColour(double value, const std::vector<double>& markers) const override;

 private:
  void ShowUnits();
};
