#pragma once
// The command input (4-20 mA) calibration: a wizard that tells the device
// which point stands (variable 14) while the user applies the low and the
// high input signal, checks the device's flags after each point, records
// who calibrated and prints the report.
#include <string>

#include "shell/calibration_kit.h"
#include "shell/configuration_page.h"

class CCalibration_CommandCalibView : public CConfigurationPage {
 public:
  enum : int {
    kLastDateId = 475,
    kLastById = 1276,
    kInitialsId = 409,
    kInitialsIconId = 1727,
    kCountId = 480,
    kCurrentId = 481,
    kImplicationsId = 1283,
    kSolutionsId = 1284,
    kAcceptId = 582,
    kStartId = 1279,
    kAbortId = 1280,
    kPrintId = 1282,
  };
  enum : UINT { kInstructionsId = 500 };
  // Written to variable 14: the wizard's points.
  static constexpr BYTE kCodeStart = 1, kCodeLowTaken = 5, kCodeHighTaken = 9, kCodeEnd = 0;
  // Which point Accept confirms.
  enum Stage : int { kNoStage = -1, kLowStage = 0, kHighStage = 1, kEndStage = 2 };

  CCalibration_CommandCalibView();
  void DoDataExchange(CDataExchange* pDX) override;

  int GetWizardStage() const { return m_nWizardStage; }
  std::string GetInstructions() const;
  activex::IReportX* GetReport() const { return m_pReport.GetInterfacePtr(); }

 protected:
  void CreateControls() override;
  void OnShown() override;

  void OnStartCalibration();
  void OnAccept();
  void OnAbort();
  void OnPrintReport();

 private:
  void ShowInput();
  void ShowHistory(const std::string& record);
  void ShowInstructions(const std::string& text);
  // Accept, Start and Abort enabled or not.
  void ShowButtons(bool accept, bool start, bool abort);
  void ShowIdleButtons();
  void CheckStatus();
  void ShowResult(const char* key);
  void FillReportValues();
  // The end (finish or abort) and what the device did with it.
  void EndAs(bool abort);
  void ReadAgain(int step);
  void JudgeEnd();
  void ShowUnended(const char* key);
  // The wizard at a stage: its instructions, and Accept and Abort.
  void ShowStage(Stage stage);
  // Shown again: the device's status, just read, says whether its
  // calibration goes on.
  void ShowWhereTheDeviceStands();
  void ReadWhereTheDeviceStands();
  // The status as last read: the device is in its command calibration.
  static bool Calibrating();
  // The page knows the point this calibration stands at.
  bool Resumable() const;
  // 85, 86 and 87 as last read.
  static calib::PointsBefore<3>::Points Points();

  int m_nWizardStage = kNoStage;
  bool m_bCalError = false;  // the last status check found a flag
  bool m_bStepLost = false;  // a point of this calibration did not reach the device
  bool m_bAnswered = false;  // the last transaction was answered
  bool m_bStateRead = false;     // the status read with the input was answered
  bool m_bStateUnknown = false;  // shown again, the device has not yet said whether it calibrates
  bool m_bAbortEnd = false;  // the end under way is an abort
  bool m_bEndSent = false;   // the end or an abort of this calibration was written
  bool m_bEnded = false;     // the device reported its calibration over
  // The last calibration's result stays on show until another starts, also
  // for a page left as its end was written.
  bool m_bResultOnShow = false;
  calib::Tries m_tries;      // of the reading under way, or of the record
  // The points as they stood when the device took the start.
  calib::PointsBefore<3> m_pointsBefore;
  calib::InitialsField m_initials;

  CStatic m_wndInstructionsPlace;
  CWnd m_wndInstructionsHost;
  IiLabelXPtr m_pInstructions;
};
