#pragma once
// The device's calibration flags as lamps, their masks with Apply and
// Retrieve, and what each stroke or analog input flag implies and how to
// mend it.
#include "shell/alarm_row_controls.h"
#include "shell/configuration_page.h"

class CCalibration_ErrorsView : public CConfigurationPage {
 public:
  enum : int { kApplyId = 432, kRetrieveId = 433, kImplicationsId = 1345, kSolutionsId = 1346 };

  CCalibration_ErrorsView();
  void OnInitialUpdate() override;

  // The flag's lamp colour (rows in the order of the page's table).
  COLORREF GetLampColour(size_t row) const { return m_rows.GetLampColour(row); }
  int GetPollCounter() const { return m_pollCountdown.Left(); }

 protected:
  void CreateControls() override;
  void OnShown() override;
  void OnFlagLabelClicked();
  void ShowMasks();

 private:
  CAlarmRowControls m_rows;
};
