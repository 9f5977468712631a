#pragma once
// The frame of the four test pages: showing one makes the multi-test page
// the one that a multi-test run reports to; the movement question; the
// hand-back to the multi-test page at the end of a test.
#include <array>

#include "platform/com/bstr.h"
#include "shell/step_page.h"

// What a test page sees of the multi-test page during a sequence.
class CMultiTestSequence {
 public:
  virtual ~CMultiTestSequence() = default;
  // A line of the sequence's status list.
  virtual void AddStatusLine(const _bstr_t& text) = 0;

  bool m_bMultiTestRunning = false;
  // 0 ramp, 1 step, 2 partial stroke, 3 HDRL.
  std::array<bool, 4> m_abTestDone{};
};

// One settings edit and its check.
struct SettingField {
  int edit;
  int icon;
  double low, high;  // both ends included
  const char* errorKey;
};

class CDiagnosticTestPage : public CStepPage {
 public:
  using CStepPage::CStepPage;
  void StartMonitoring() override;

 protected:
  // The multi-test page while it runs a sequence, else null.
  static CMultiTestSequence* RunningSequence();
  // Marks the test done, adds the status line and shows the multi-test
  // page, which stops this page's timer.
  static void HandBackToMultiTest(int testIndex, const char* statusKey);
  // The question before a test moves the valve; the text of `leadKey`
  // and a line feed before it when given.
  bool AskToMoveValve(const char* leadKey = nullptr);
  // The field's number checked against its range, with its icon; an
  // invalid one gets its error tool tip on the icon.
  bool CheckSettingField(const SettingField& field);
};
