#pragma once
// The command input (4-20 mA) calibration: a wizard that tells the device
// which point stands (variable 14) while the user applies the low and the
// high input signal, checks the device's flags after each point, records
// who calibrated and prints the report.
#include <array>
#include <optional>
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
  void ShowIdleButtons();
  void CheckStatus();
  void ShowResult(const char* key);
  void FillReportValues();
  // The end (finish or abort) and what the device did with it.
  void EndAs(bool abort);
  void ReadAgain(int step);
  void JudgeEnd();
  void ShowUnended(const char* key);
  // 85, 86 and 87 as last read.
  static std::array<WORD, 3> Points();

  int m_nWizardStage = kNoStage;
  bool m_bCalError = false;  // the last status check found a flag
  bool m_bStepLost = false;  // a point of this calibration did not reach the device
  bool m_bAnswered = false;  // the last transaction was answered
  bool m_bAbortEnd = false;  // the end under way is an abort
  bool m_bEnded = false;     // the device reported its calibration over
  int m_nTries = 0;          // of the reading under way after the end, or of the record
  // The points as they stood when the device took the start: read back
  // different after the end, they prove the device kept new ones. None
  // when they could not be read.
  std::optional<std::array<WORD, 3>> m_pointsBefore;
  calib::InitialsField m_initials;

  CStatic m_wndInstructionsPlace;
  CWnd m_wndInstructionsHost;
  IiLabelXPtr m_pInstructions;
};
