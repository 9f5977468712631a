#pragma once
// The frame of the four test pages: showing one makes the multi-test page
// the one that a multi-test run reports to; the movement question; the
// hand-back to the multi-test page at the end of a test; the checks of
// the test's settings.
#include <array>
#include <cstdint>
#include <vector>

#include "platform/activex/controls.h"
#include "platform/com/bstr.h"
#include "platform/sys/time_source.h"
#include "shell/step_page.h"

// One settings edit of a test and its check.
struct SettingField {
  int edit;
  int icon;
  double low, high;  // both ends included
  const char* errorKey;
};

// What a test page sees of the multi-test page during a sequence.
class CMultiTestSequence {
 public:
  virtual ~CMultiTestSequence() = default;
  // A line of the sequence's status list.
  virtual void AddStatusLine(const _bstr_t& text) = 0;
  // A test page has handed its test back: the sequence's page is shown,
  // or, already shown, goes on to the next test.
  virtual void TestHandedBack() = 0;

  bool m_bMultiTestRunning = false;
  // 0 ramp, 1 step, 2 partial stroke, 3 HDRL.
  std::array<bool, 4> m_abTestDone{};
  // The tests that ran to a whole record of their own: only these are saved.
  std::array<bool, 4> m_abTestRecorded{};
  // The test the sequence has just handed over, -1 for none: only its page,
  // when shown next, starts by itself. Any other showing of a test page,
  // also while a sequence stands abandoned, moves the valve only when asked.
  int m_nHandedOverTest = -1;
  // The test whose stop the device has not confirmed, -1 for none: the
  // sequence waits on it and goes on only from its page.
  int m_nUnconfirmedStop = -1;
  // The test whose page took the hand-over and has not handed back, -1 for
  // none: that page, shown again, still reports to the sequence, and the
  // sequence shown again goes back to it without starting it once more.
  int m_nTestUnderWay = -1;
};

class CDiagnosticTestPage : public CStepPage {
 public:
  // Sendings of a write or read that the device leaves unanswered (a
  // start, a stop, a record selection, a stair) before the page gives up.
  static constexpr int kMostTries = 5;

  using CStepPage::CStepPage;
  void StartMonitoring() override;
  int GetElapsedSeconds() const { return m_nElapsedSeconds; }

 protected:
  // On showing: true when the sequence handed this test over; the page
  // takes the hand-over and runs its test as part of the sequence. A test
  // whose stop the sequence waits on stays the sequence's, without a start,
  // and so does a test under way that the page left and comes back to.
  bool TakeHandOver(int testIndex);
  // The multi-test page while this page runs the test it handed over, else
  // null.
  CMultiTestSequence* RunningSequence() const;
  // A test of this page's may start now: the device's engine seen idle, and
  // no sequence holding the device for another page's test.
  bool DeviceFreeForTest() const;
  // Marks the test done (and recorded, when it ran to a whole record of its
  // own), adds the status line and shows the multi-test page, which stops
  // this page's timer.
  void HandBackToMultiTest(int testIndex, const char* statusKey, bool recorded);
  // The device did not confirm the test's stop, or is not yet seen idle:
  // the status line (none for null), and the sequence waits on this page,
  // which stays shown with Stop.
  void HoldSequence(int testIndex, const char* statusKey);
  // The question before a test moves the valve; the text of `leadKey`
  // and a line feed before it when given.
  bool AskToMoveValve(const char* leadKey = nullptr);

  // The settings the page checks, all valid until checked; a change of
  // one's edit comes to OnSettingChanged.
  void SetSettingFields(std::vector<SettingField> settings);
  virtual void OnSettingChanged(size_t index) { CheckSettingField(index); }
  // One setting's check (its EN_CHANGE): the icon, the error tool tip and
  // its flag. True when every setting is valid now.
  bool CheckSettingField(size_t index);
  bool AllSettingsValid() const;
  // The valid icon on every field whose value is valid.
  void ResetInputIcons();

  // The run's elapsed time, from the clock: a page left while its run goes
  // on shows the run's seconds when it is shown again.
  void StartRunClock() {
    m_nRunStartMs = plat::Time().MonotonicMs();
    m_nElapsedSeconds = 0;
  }
  // The run's whole seconds into the edit `id` as they change (none before the first).
  void ShowRunSeconds(int id);

  // "Report Header section ..." when opened data of another device is printed.
  void WarnIfTagDiffers(bool fileShown, const _bstr_t& fileTag);

  // An axis of a plot by name; a missing one raises.
  static IiPlotAxisPtr PlotAxisByName(IPlotBase* plot, bool x, const char* name);
  static void SetPlotAxisRange(IPlotBase* plot, bool x, const char* name, double min, double span);

  std::vector<SettingField> m_settings;
  std::vector<bool> m_bSettingValid;

 private:
  static CMultiTestSequence* Sequence();

  bool m_bInSequence = false;
  std::int64_t m_nRunStartMs = 0;
  int m_nElapsedSeconds = 0;  // as last shown
};
