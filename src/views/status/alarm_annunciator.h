#pragma once
// Every alarm, alert and state of the positioner as a lamp, with its mask.
#include "shell/annunciator_page.h"

class CAlarm_AnnunciatorView : public CAnnunciatorPage {
 public:
  CAlarm_AnnunciatorView();
  void OnInitialUpdate() override;

 protected:
  void CreateControls() override;
  // Reads the set points and present values for the report first; the
  // next tick turns them into the report's texts.
  void OnPrintReport() override;

 private:
  void FillReportValues();
};
