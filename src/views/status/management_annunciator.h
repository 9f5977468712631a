#pragma once
// The alarms that management watches, as lamps with their masks.
#include "shell/annunciator_page.h"

class CAlarm_ManagementAnnunciatorView : public CAnnunciatorPage {
 public:
  CAlarm_ManagementAnnunciatorView();
  void OnInitialUpdate() override;

 protected:
  void CreateControls() override;
};
