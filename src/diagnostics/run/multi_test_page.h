#pragma once
// The multi-test page: runs the ticked tests one after the other with the
// settings entered here. It sends no test command: it hands each test its
// settings through the device image and shows the test's page, which
// starts by itself and shows this page again when its run ends; then the
// next test follows. At the end it offers to save every test that ran. It
// sits on the test pages' frame for its checked settings and the movement
// question; its timer only looks again whether Start may be offered, and
// makes no transaction.
#include <string>
#include <vector>

#include "platform/win/controls.h"
#include "shell/test_page.h"

class CDiagnostics_OfflineView : public CDiagnosticTestPage, public CMultiTestSequence {
 public:
  enum : int {
    kRampBoxId = 1393,
    kStepBoxId = 1394,
    kPstBoxId = 1395,
    kHdrlBoxId = 1396,
    kBidirectionalBoxId = 1400,
    kRampStartId = 1397,
    kRampStopId = 1055,
    kRampHoldId = 1056,
    kRampTimeId = 1057,
    kStepStartId = 1058,
    kStepStopId = 1059,
    kStepHoldId = 1060,
    kPstStartId = 1061,
    kPstStopId = 1062,
    kPstTimeLimitId = 1063,
    kPstRampTimeId = 1064,
    kPstHoldId = 1066,
    kSettlingTimeId = 1065,
    kStatusListId = 1399,
    kStartId = 1398,
    kStopId = 1021,
    kSaveAllId = 1022,
    kPrintId = 1023,
  };

  CDiagnostics_OfflineView();

  void DoDataExchange(CDataExchange* pDX) override;
  void AddStatusLine(const _bstr_t& text) override;
  void TestHandedBack() override;

  // Start, and each step of a running sequence: hands over the next ticked
  // test that is not done, or ends the sequence.
  void OnStart();
  void OnStop();
  // Each ticked test that ran, through its own page's save.
  void OnSaveAll();
  void OnPrintReport();

  std::vector<std::string> StatusLines() const;
  bool IsSequenceActive() const { return m_bSequenceActive; }

 protected:
  void CreateControls() override;
  void OnShown() override;

 private:
  void OnCheckBox(int box);
  void OnSettingChanged(size_t index) override;
  // The settings of the ramp, step and partial stroke tests as the device
  // holds them; a read without reply leaves its fields as they are.
  void RefreshFromDevice();
  void HandOver(size_t test);
  void EndSequence();
  // The test ran in this sequence to a whole record of its own.
  bool SaveDue(size_t test) const;
  // The done and recorded flags cleared, after the final save or its refusal.
  void ForgetTests();
  // Start needs a ticked test, every setting valid and no test page
  // holding it; its tip says which page holds it.
  void UpdateStartButton();
  // The test page (0 ramp .. 3 HDRL) whose own run, download or stop is
  // under way, CTestEngine::kNobody for none: no sequence starts over it.
  static int TestPageHoldingStart();
  void EnableSequenceButtons(bool running);

  bool m_bSequenceActive = false;
  CListBox m_lbStatus;
};
