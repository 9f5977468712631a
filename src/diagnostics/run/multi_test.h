#pragma once
// The multi-test page: it runs no timer of its own and leads to the test
// pages.
#include <string>
#include <vector>

#include "shell/status_page.h"
#include "shell/test_page.h"

class CDiagnostics_OfflineView : public CStatusPage, public CMultiTestSequence {
 public:
  CDiagnostics_OfflineView();
  void StartMonitoring() override;
  void StopMonitoring() override {}
  void AddStatusLine(const _bstr_t& text) override { m_statusLines.push_back(text.str()); }

  std::vector<std::string> m_statusLines;
};
