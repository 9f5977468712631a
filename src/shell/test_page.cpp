#include "shell/test_page.h"

#include "shell/app.h"

void CDiagnosticTestPage::StartMonitoring() {
  CStatusPage::StartMonitoring();
  theApp().m_pMultiTestView = theApp().m_pViews[17];
}
