#pragma once
// The characterisation curve of the stroke: linear, one of six fixed
// valve curves or the device's custom curve, drawn as it is chosen and
// written with Apply after a question.
#include <array>

#include "shell/configuration_page.h"

class CConfiguration_StrokeCharView : public CConfigurationPage {
 public:
  enum : int {
    kSelectionId = 423,
    kProgressId = 506,
    kDifferId = 407,
    kApplyId = 424,
    kRetrieveId = 425,
  };
  enum : UINT { kWarningId = 600, kNoteId = 601, kPlotId = 602, kCustomizeId = 603 };

  CConfiguration_StrokeCharView();

  IiPlotX* GetPlot() const { return m_pPlot.GetInterfacePtr(); }

 protected:
  void CreateControls() override;

 private:
  void OnApply();
  void Write();
  void ShowSetting();
  // Request 4: the chosen curve; the custom one is read first.
  void Draw();
  // Outputs at the inputs 0, 5, ..., 100; the bar counts from `first`.
  void Plot(const std::array<double, 21>& outputs, int first);

  IiPlotXPtr m_pPlot;
  IiLabelXPtr m_pWarning, m_pNote, m_pCustomize;
  std::array<CWnd, 4> m_wndHosts;
  bool m_bSettingRead = false;  // Apply writes the other bits of 56 back
};
