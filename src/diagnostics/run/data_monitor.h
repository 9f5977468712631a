#pragma once
// The data monitor: six live device values recorded at a chosen interval
// over a chosen duration and drawn against the elapsed time. It only reads
// from the device, so a run starts without a question. Elapsed time is a
// count of timer ticks, one second each.
#include "platform/activex/controls.h"
#include "platform/activex/plot.h"
#include "platform/win/controls.h"
#include "shell/step_page.h"

class CDiagnostics_DataMonitorView : public CStepPage {
 public:
  enum : int {
    kPositionBoxId = 449,
    kCommandBoxId = 411,
    kAnalogBoxId = 408,
    kTemperatureBoxId = 410,
    kSpoolCmdBoxId = 413,
    kSpoolPosBoxId = 414,
    kUncheckAllId = 448,
    kIntervalListId = 450,
    kDurationPlaceId = 451,
    kUnitListId = 447,
    kDaysId = 833,
    kHoursId = 834,
    kMinutesId = 835,
    kSecondsId = 836,
    kPlotPlaceId = 444,
    kLoadId = 432,
    kSaveId = 433,
    kStartId = 1252,
    kStopId = 1253,
    kPrintId = 1254,
  };
  enum : UINT { kPlotId = 404, kDurationId = 405 };
  enum Step : int { kIdleStep = 1, kUnitStep = 4, kSampleStep = 6 };
  enum RunState : int { kStartState = 0, kRunningState = 1, kStopState = 2, kIdleState = 3 };
  enum : int { kStopRequest = 1 };

  CDiagnostics_DataMonitorView();

  void DoDataExchange(CDataExchange* pDX) override;

  // Buttons; Start and Stop only ask, the next tick does the work.
  void OnStart();
  void OnStop();
  void OnUncheckAll();
  void OnLoad();
  void OnSave();
  void OnPrintReport();

  // The duration field's whole value times the unit's seconds; 0 for an
  // unknown unit index.
  int GetDurationSeconds(BYTE unitIndex) const;
  // 2, 5, 10, 15, 20, 30, 60 s for index 0..6; any other leaves it.
  void SetIntervalFromIndex(BYTE index);

  int GetRunState() const { return m_nRunState; }
  int GetIntervalSeconds() const { return m_nIntervalSec; }
  double GetRunSeconds() const { return m_dDurationSec; }
  IiPlotX* GetPlot() const { return m_pPlot.GetInterfacePtr(); }
  activex::ISpinEditX* GetDurationField() const { return m_pDuration.GetInterfacePtr(); }
  activex::IReportX* GetReport() const { return m_pReport.GetInterfacePtr(); }

 protected:
  void CreateControls() override;
  void OnShown() override;
  void RunStep() override;

 private:
  void RunningTick();
  void StopRun();
  void BeginRun();
  // Titles the temperature axis, takes interval and duration from the
  // controls, sets the run length and the time axis.
  void PrepareRun();
  void PlotSample();
  // Save and Print only over recorded samples or an opened file.
  bool HasDataToKeep() const { return m_bRecorded || m_bFileLoaded; }
  void EnableKeeping();
  void ShowElapsed();
  void ShowChannel(int box);
  void SetPlotCaptions();
  void EnableSettings(BOOL enable);
  CComboBox* List(int id);
  // The duration field's value (0 without the field), and cut to a whole number.
  double DurationField() const;
  int DurationValue() const;

  int m_nRunState = kIdleState;
  int m_nIntervalSec = 2;  // never 0: a run divides by it
  int m_nLastSampleSec = 0;
  BYTE m_byElapsedDays = 0, m_byElapsedHours = 0, m_byElapsedMinutes = 0, m_byElapsedSeconds = 0;
  double m_dSampleNumber = 1.0;
  double m_dDurationSec = 0.0;
  double m_dSampleLimit = 0.0;
  bool m_bFileLoaded = false;
  bool m_bRecorded = false;  // the last run plotted a sample: something to save and print
  bool m_bDurationReached = false;
  bool m_bSampleAnswered = true;  // the last sample read had a reply

  CStatic m_wndPlotPlace, m_wndDurationPlace, m_wndReportPlace, m_wndPrinterPlace;
  CWnd m_wndPlotHost, m_wndDurationHost, m_wndReportHost, m_wndPrinterHost;
  IiPlotXPtr m_pPlot;
  activex::ISpinEditXPtr m_pDuration;
  activex::IReportXPtr m_pReport;
  activex::IPrinterXPtr m_pPrinter;
};
