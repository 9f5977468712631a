#pragma once
// The frame of the three annunciator pages: a lamp and a mask check box per
// row of the page's table, Apply and Retrieve through the mask kit, and the
// machine they share. After the first tick (rows enabled) and the mask read,
// the idle cycle runs in three ticks: the status read that colours the
// lamps, the header poll, and one tick without a transaction.
#include <span>
#include <vector>

#include "common/alarm_rows.h"
#include "reports/common_functions.h"
#include "shell/alarm_row_controls.h"
#include "shell/monitoring_page.h"

namespace pages {

// The rows in their group boxes, the groups stacked in columns from y = 26.
std::vector<DialogItem> AnnunciatorItems(std::span<const alarms::AlarmGroup> groups,
                                         std::span<const alarms::AlarmRow> rows, int columnWidth);
// Where the items of a column end (the bottom of its last group box).
int AnnunciatorColumnBottom(std::span<const alarms::AlarmGroup> groups, std::span<const alarms::AlarmRow> rows,
                            int column);
// Apply, Retrieve and Print Report in a row of 188 from (x, y); the print
// button is the widest, its caption being the longest.
std::vector<DialogItem> AnnunciatorButtons(int x, int y);

}  // namespace pages

class CAnnunciatorPage : public CMonitoringPage {
 public:
  enum : int { kApplyId = 432, kRetrieveId = 433, kPrintId = 771 };
  enum : int { kApplyRequest = 2, kRetrieveRequest = 3, kReportRequest = 4 };
  // The health pages keep these numbers, all but the actuator page.
  enum Step : int {
    kRefreshStep = 1,     // the idle cycle's status read that colours the lamps
    kHeaderPollStep = 3,  // the idle cycle's header poll
    kStartStep = 5,       // the first tick when shown
    kMaskReadStep = 7,
    kMaskApplyStep = 9,
  };

  CAnnunciatorPage(UINT templateId, const char* titleKey, UINT timerId, std::span<const alarms::AlarmRow> rows,
                   StatusHeaderIds header = {});

  int GetStatusCountdown() const { return m_statusCountdown.Left(); }
  // The row's lamp colour; 0xFFFFFFFF without a lamp.
  COLORREF GetLampColour(size_t row) const { return m_rowControls.GetLampColour(row); }
  activex::IReportX* GetReport() const { return m_pReport.GetInterfacePtr(); }
  activex::IPrinterX* GetPrinter() const { return m_pPrinter.GetInterfacePtr(); }

 protected:
  void CreateControls() override;
  void OnShown() override;

  void OnApply();
  void OnRetrieve();

  using ReportBuilder = void (CCommonFunctions::*)(IReportXPtr, IPrinterXPtr, _bstr_t, CWnd*);
  // Print Report: the report request builds the report from the flags the
  // page showed last, from the definition of that name in the program's
  // Dependencies folder; the idle cycle goes on in the same tick.
  void AddReport(ReportBuilder build, const char* definitionFile);
  // The click: the identification texts for the report's header, then the
  // report at the next tick of the running timer.
  virtual void OnPrintReport();

  std::span<const alarms::AlarmRow> Rows() const { return m_rowControls.Rows(); }
  // Every lamp grey; the mask check boxes and selectors enabled or not.
  void ResetAlarmRows(bool enable);
  // The mask check boxes and selectors enabled, the lamps as they are.
  void EnableAlarmRows();
  // The status bytes (174); the lamps follow them only once the device has
  // answered that read.
  void ReadStatusBytes();
  void UpdateAlarmLeds();
  void ShowMasks();
  void CollectMasks(alarms::Block& mask) const;

  // The masks read (176) and shown; Apply: the rows' check boxes into the
  // masks, written (177) and shown as the device answered.
  PageStep MaskReadStep(int step, int next);
  PageStep MaskApplyStep(int step, int next);

  // A lamp of the page's legend, in the active colour for the whole run.
  void CreateLegendLamp(alarms::Lamp lamp, int placeholder, UINT id);

  // Set by the page.
  BYTE* m_pActiveFlags = nullptr;  // report flags; null: the page has no report
  BYTE* m_pMaskedFlags = nullptr;
  bool m_bReadLocalPanel = false;      // before every status read
  bool m_bReadSensorsAtStart = true;   // variable 265 once when shown
  bool m_bEnableAfterMasks = false;    // the buttons come back with the masks, not the status
  bool m_bKeepMixedPairs = false;      // a pair shown indeterminate keeps both bits on Apply
  // To the next status read; Apply and Retrieve restart it, so the first
  // idle tick after them reads the status. Survives hiding the page.
  CTickCountdown m_statusCountdown;

 private:
  CAlarmRowControls m_rowControls;
  // The device has answered the status read once: before that the lamps
  // stay grey, as the image's zeros would light every row healthy.
  bool m_bStatusBytesRead = false;
};
