#pragma once
// The dashboard and the alarm pages.
#include "shell/status_page.h"

class CDashboardView : public CStatusPage {
 public:
  CDashboardView();
  // Also loads the device error-code table that every status header uses.
  void OnInitialUpdate() override;
  // Polls at once instead of showing the last poll of another page.
  void StartMonitoring() override;
};

class CAlarm_AnnunciatorView : public CStatusPage {
 public:
  CAlarm_AnnunciatorView();
};

class CAlarm_ManagementAnnunciatorView : public CStatusPage {
 public:
  CAlarm_ManagementAnnunciatorView();
};

class CAlarm_EventHistoryView : public CStatusPage {
 public:
  CAlarm_EventHistoryView();
  // Also gives the device back the history selection the page saved.
  void StopMonitoring() override;

 protected:
  // Set while the device holds another selection than the saved one.
  bool m_bHasSavedSelection = false;
  BYTE m_bySavedSelection = 0;
};

class CAlarm_TechAnnunciatorView : public CStatusPage {
 public:
  CAlarm_TechAnnunciatorView();
};
