#pragma once
// The stroke (sensor) calibration, with the valve moving as the device
// steps through it: initials, a question, the device's state and progress,
// Abort, the result, a new history record and the report.
#include <string>

#include "shell/calibration_kit.h"
#include "shell/configuration_page.h"

class CCalibration_SensorCalibView : public CConfigurationPage {
 public:
  enum : int {
    kLastDateId = 1726,
    kLastById = 1727,
    kInitialsId = 1287,
    kInitialsIconId = 1734,
    kStateTextId = 413,
    kProgressId = 468,
    kStartId = 1290,
    kAbortId = 1291,
    kPrintId = 771,
  };
  enum : UINT { kPositionId = 515, kCountId = 516, kHistoryLinkId = 505, kErrorsLinkId = 507 };
  // Variable 170 written: start and abort; read: the device's step.
  static constexpr BYTE kStart = 1, kIdle = 0, kSaving = 80, kCalError = 81, kAborted = 82;
  static constexpr int kFirstState = 21, kLastState = 53;

  CCalibration_SensorCalibView();
  void DoDataExchange(CDataExchange* pDX) override;
  // Also stops a sensor calibration left running in the device; shown
  // again, the page follows it to its end.
  void StopMonitoring() override;
  void OnTimer(UINT id) override;

  bool IsCalibrationRunning() const { return m_bCalRunning; }
  activex::IReportX* GetReport() const { return m_pReport.GetInterfacePtr(); }
  activex::IiLabelX* GetLink(UINT id) const { return (id == kHistoryLinkId ? m_pHistoryLink : m_pErrorsLink).GetInterfacePtr(); }
  activex::IiAnalogDisplayX* GetDisplay(UINT id) const {
    return (id == kPositionId ? m_pPosition : m_pCount).GetInterfacePtr();
  }
  const CProgressCtrl& GetProgress() const { return m_prgCalibration; }

 protected:
  void CreateControls() override;
  void OnShown() override;

  void OnStartCalibration();
  void OnAbortCalibration();
  void OnPrintReport();
  void OnErrorsLinkClick();

 private:
  void ReadValues();
  void ShowValues();
  void ShowRunningState();
  void JudgeStop();
  // The calibration has ended: its result is judged on a fresh status.
  void Finish();
  void ShowHistory(const std::string& record);
  void ShowStateText(BYTE state);
  void ShowLinks(COLORREF history, COLORREF errors);
  void ShowReadyButtons(BYTE state);
  void ShowStopped(BYTE state);
  void JudgeResult();
  void FillReportFields();

  bool m_bCalRunning = false;
  bool m_bCalFinished = false;
  bool m_bReportReady = false;  // a calibration has ended since the last start
  bool m_bValuesRead = false;
  bool m_bPointsRead = false;   // the end points were read with the values
  bool m_bAnswered = false;     // the last write or record read was answered
  // The start went unanswered: the next state read tells whether the
  // device took it.
  bool m_bStartUnconfirmed = false;
  // This run was aborted, or an abort may have reached the device: its end
  // at idle is judged on the end points read back.
  bool m_bAborted = false;
  // The last abort went unanswered: it is tried again while the device
  // goes on calibrating, a few times.
  bool m_bAbortUnconfirmed = false;
  calib::Tries m_abortTries;
  // Variables 80 and 81 when the start was written.
  calib::PointsBefore<2> m_pointsBefore;
  static calib::PointsBefore<2>::Points EndPoints();
  calib::InitialsField m_initials;

  CProgressCtrl m_prgCalibration;
  CStatic m_wndPositionPlace, m_wndCountPlace, m_wndHistoryPlace, m_wndErrorsPlace;
  CWnd m_wndPositionHost, m_wndCountHost, m_wndHistoryHost, m_wndErrorsHost;
  IiAnalogDisplayXPtr m_pPosition, m_pCount;
  IiLabelXPtr m_pHistoryLink, m_pErrorsLink;
};
