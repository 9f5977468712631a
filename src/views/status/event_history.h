#pragma once
// The device's event histories, read with a progress bar, explained and
// cleared.
#include <string>

#include "shell/monitoring_page.h"

class CAlarm_EventHistoryView : public CMonitoringPage {
 public:
  enum : int {
    kCalibrationsId = 699,
    kAlarmsId = 618,
    kAllEventsId = 619,
    kRetrieveId = 425,
    kPrintId = 771,
    kClearId = 310,
    kProgressId = 1745,
    kDescriptionId = 390,
  };
  enum : UINT { kGridId = 299 };
  // The timer period when idle and while a history is read.
  static constexpr UINT kIdlePeriod = 5000;
  static constexpr UINT kRetrievePeriod = 3000;

  CAlarm_EventHistoryView();
  void DoDataExchange(CDataExchange* pDX) override;
  // Also gives the device back the history selection the page saved.
  void StopMonitoring() override;

  // The text an indication shows: what follows the first "-" and a blank;
  // a text without "-" shows whole.
  static std::string SplitDescription(const std::string& text);

  activex::IGridX* GetGrid() const { return m_pGrid.GetInterfacePtr(); }
  activex::IReportX* GetReport() const { return m_pReport.GetInterfacePtr(); }
  activex::IPrinterX* GetPrinter() const { return m_pPrinter.GetInterfacePtr(); }
  int GetRow() const { return m_nRow; }
  bool IsSelectionSaved() const { return m_bSelectionSaved; }
  BYTE GetSavedSelection() const { return m_bySavedSelection; }

  struct History;  // one of the three histories the device keeps

 protected:
  void CreateControls() override;
  void OnShown() override;
  void BeginRequest(int request) override;

  void OnSelectHistoryKind();
  void OnRetrieve();
  void OnClearHistory();
  void OnPrintReport();
  void OnClickGrid(const EventArgs& args);

 private:
  void SelectHistory(const History& history);
  // The block just read, record by record; ends the retrieval when the
  // history is complete, or when the block cannot be this history's.
  void ShowBlock(const History& history);
  void ShowRecord(const History& history, const BYTE* record);
  void EndRetrieval(const History& history, const char* why);
  void ClearGrid();

  int m_nRow = 0;
  int m_nLogCount = 0;
  int m_nBlocksRead = 0;
  bool m_bBlockRead = false;  // the last history read was decoded
  BYTE m_bySavedSelection = 0;
  // Set only from a good read of the device's control byte since shown.
  bool m_bSelectionSaved = false;
  CTickCountdown m_statusCountdown;

  CButton m_btnCalibrations, m_btnAlarms, m_btnAllEvents, m_btnClear;
  CProgressCtrl m_prgRetrieve;
  CStatic m_wndGridPlace;
  CWnd m_wndGridHost;
  CBitmap m_bmpClear;
  IGridXPtr m_pGrid;
};
