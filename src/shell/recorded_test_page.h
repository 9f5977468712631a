#pragma once
// The run that the ramp and step pages share step for step: the device
// runs the test and records it; the page writes the settings, starts it,
// polls its state until the record is ready, then downloads the record
// block by block (command 214) and draws it. The same machine retrieves
// the baseline stored in the device. The pages fill in where they differ.
#include <array>
#include <string>
#include <vector>

#include "platform/win/controls.h"
#include "shell/block_download.h"
#include "shell/test_page.h"

// Where the two pages differ in their run.
struct RecordedTestKind {
  int multiTestIndex;        // the page's entry in the multi-test done flags
  const char* completeKey;   // the multi-test status lines
  const char* stoppedKey;
  int ticksPerSecond;        // of the page's timer
  int pollEvery;             // idle ticks between two status polls
  BYTE baselineCommand;      // variable 141 for a baseline run and its retrieval
  const char* tickLog;       // written at every tick; null: nothing
  bool logPoints;            // every drawn point into the log
};

// The controls the machine drives.
struct RecordedTestIds {
  int status, elapsed, progress;
  int retrieve, load, save, start, stop, print;
  int baselineBox;  // "Set Baseline"
  int plotPlace, plot;
};

class CRecordedTestPage : public CDiagnosticTestPage {
 public:
  enum TestRequest : int { kMonitor = 1, kStartRequest = 2, kStopRequest = 3, kBaselineRequest = 4 };
  enum Step : int {
    kIdleStep = 1, kEnterStep = 4, kSetupReadStep = 6, kCommandStep = 8, kSetupStep = 10, kBlockStep = 12,
    kAbortStep = 14, kWaitStep = 16, kPrepareStep = 18, kPointerStep = 19, kPassEndStep = 21,
    kBaselineStep = 22, kRecordStep = 24, kSecondPassStep = 26, kRewindStep = 28,
  };
  static constexpr int kPointsPerPass = 4 * CBlockDownload::kBlocks;

  CRecordedTestPage(UINT templateId, const char* titleKey, UINT timerId, UINT periodMs, const RecordedTestKind& kind,
                    const RecordedTestIds& ids, std::vector<SettingField> settings, StatusHeaderIds header = {});

  void DoDataExchange(CDataExchange* pDX) override;

  // Buttons.
  void OnStart();
  void OnStop();
  void OnRetrieveBaseline();

  bool IsTestRunning() const { return m_bTestRunning; }
  bool IsFileLoaded() const { return m_bFileLoaded; }
  bool IsBaselineLoaded() const { return m_bBaselineLoaded; }
  bool IsStartAllowed() const { return AllSettingsValid(); }
  int GetElapsedSeconds() const { return m_nElapsedSeconds; }
  double GetTimeStep() const { return m_dTimeStep; }
  IiXYPlotX* GetPlot() const { return m_pPlot.GetInterfacePtr(); }
  activex::IReportX* GetReport() const { return m_pReport.GetInterfacePtr(); }

 protected:
  // The plot, the report engine and the printer on their placeholders;
  // then the page lays its plot out.
  void CreateControls() override;
  virtual void SetupPlot() = 0;
  void OnShown() override;
  void BeginRequest(int request) override;
  void RunStep() override;
  void EnableActionButtons(BOOL enable) override;

  // --- Where the pages differ.
  // Step 10: the settings into the device image and the set-up write.
  virtual void WriteSetup() = 0;
  // Step 11, after the set-up write.
  virtual void AfterSetupWritten() = 0;
  // After each state read while waiting.
  virtual void AfterStateRead() {}
  // Step 18: the time step and the time axis of the download.
  virtual void PrepareTimeAxis() = 0;
  // The page's points beyond the four time channels, for one sample.
  virtual void AddSamplePoints(double /*command*/, double /*position*/, double /*pilotCommand*/, double /*pilotPosition*/) {}
  // Step 21: true when a second pass follows.
  virtual bool NextPass() { return false; }
  // Step 25: the retrieved record's settings into the edits.
  virtual void ShowRecord() = 0;
  // Step 7: the device's set-up into the page.
  virtual void ShowReadTestSetup() = 0;
  // A multi-test run: the sequence's settings into the edits.
  virtual void ShowDeviceTestSetup() = 0;
  // The view of opened data when the page is shown again.
  virtual void ShowPlotView() = 0;
  // The start request, after the common reset.
  virtual void OnRunStarting() {}

  // --- Shared pieces.
  // The check of one settings edit (its EN_CHANGE); quiet while a baseline
  // is retrieved.
  void OnSettingChanged(size_t index) override;
  void ResetForRun();
  void SetStatus(const char* key);
  // After a page has opened a test file and shown its settings: the file's
  // data in the page's view, the off-line status, no elapsed time or progress.
  void ShowOpenedFile();
  void SetEditNumber(int id, const char* format, double value);
  // An edit's number as the run reads it (empty: 0).
  double EditValue(int id) const { return CCommonFunctions::ReadEditDouble(*this, id); }
  // The point log: "1st" .. "4th" for a sample of a block, and "x->y".
  static const char* SampleName(size_t sample);
  static std::string PointLine(double x, double y);
  // The plot's tool-bar hints in the user's language.
  void TranslateToolBarHints();
  void WarnIfTagDiffers(const _bstr_t& fileTag) { CDiagnosticTestPage::WarnIfTagDiffers(m_bFileLoaded, fileTag); }
  // An axis of the plot by name; a missing one raises.
  IiPlotAxisPtr PlotAxis(bool x, const char* name) const;
  void SetAxisRange(bool x, const char* name, double min, double span) const;
  // Both display switches of the axis on.
  void ShowPlotAxis(bool x, const char* name) const;

  const RecordedTestKind m_kind;
  const RecordedTestIds m_ids;

  bool m_bTestRunning = false;
  int m_nTickCount = 0;
  int m_nElapsedSeconds = 0;
  int m_nBidirectionalPass = 0;
  int m_nSecondPassCommand = 6;
  BYTE m_nTestDirection = 4;
  double m_dTimeStep = 0.0;
  int m_nPointBase = 0;
  WORD m_nPointIndex = 0;
  bool m_bBaselineLoaded = false;
  bool m_bFileLoaded = false;
  bool m_bRetrievingBaseline = false;

  CProgressCtrl m_prgProgress;
  CStatic m_wndPlotPlace;
  CWnd m_wndPlotHost;
  IiXYPlotXPtr m_pPlot;

 private:
  // The answered block into the plot.
  void AcquireTestData();
  void EndPass();
  void FinishRun(const char* sequenceKey);

  bool m_bRequestTaken = false;
  bool m_bStateAnswered = false;  // the last state read had a reply
  CBlockDownload m_download;
};
