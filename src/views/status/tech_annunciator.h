#pragma once
// The technician's lamps of the positioner's own faults, with their masks,
// and what each fault implies and how to mend it.
#include "shell/annunciator_page.h"

class CAlarm_TechAnnunciatorView : public CAnnunciatorPage {
 public:
  enum : int { kImplicationsId = 1424, kSolutionsId = 1585 };

  CAlarm_TechAnnunciatorView();
  void OnInitialUpdate() override;

 protected:
  void CreateControls() override;
  void OnSelectFault();
};
