#pragma once
// The custom characterisation curve: 21 points read from the device,
// shown as a plot and as fields, edited point by point with the spin
// edits and written back with Apply; the previous curve is kept. It can
// also be generated, restored, loaded from a file or calculated for the
// feedback linkage, and saved; only Apply writes it.
#include <array>
#include <optional>

#include "common/curve_sources.h"
#include "shell/configuration_page.h"

class CConfiguration_CustomCharView : public CConfigurationPage {
 public:
  enum : int {
    kSettingEdit = 1294,
    kProgressId = 1295,
    kOutputFirst = 879,
    kOutputLast = 883,
    kArmLengthEdit = 1168,
    kStrokeLengthEdit = 880,
    kPositionEdit = 882,
    kErrorEdit = 881,
    kStrokeUnit = 641,
    kGenerateId = 752,
    kRestoreId = 754,
    kCalculateId = 455,
    kLoadId = 454,
    kSaveId = 453,
    kApplyId = 424,
    kRetrieveId = 425,
  };
  enum : UINT { kWarningId = 604, kPlotId = 605, kFirstSpinId = 606, kInherentId = 625, kRangeId = 626, kFormulaId = 627 };
  static constexpr int kSpins = 19;  // points 2 to 20
  // The input fields of points 1 to 21.
  static constexpr std::array<int, 21> kInputEdits = {926, 884, 885, 886, 887, 888, 889, 890, 891, 892, 893,
                                                      894, 895, 896, 897, 898, 899, 923, 924, 925, 927};

  CConfiguration_CustomCharView();

  IiPlotX* GetPlot() const { return m_pPlot.GetInterfacePtr(); }
  ISpinEditXPtr GetSpin(int point) const { return m_spnOutput[static_cast<size_t>(point - 2)]; }
  // The curve restored by the previous-curve button; none before a read.
  const std::optional<curves::Outputs>& PreviousOutputs() const { return m_previous.Restore(); }

  // The points of the plot's curve into the fields; a point whose input is
  // not one of the 21 changes none.
  void ShowCurveValues();

 protected:
  void CreateControls() override;
  void OnShown() override;

 private:
  void ShowSetup();
  // The curve of the last read or write: plotted, shown, buttons back.
  void ShowDeviceCurve();
  // The curve into the plot and its fields, the device untouched.
  void ShowCurve(const curves::Outputs& outputs);
  void PlotCurve(const curves::Outputs& outputs);
  // The fields as the write's hundredths; false (with a message) when a
  // point is not a number.
  bool PrepareApply();
  void ShowWriteResult();
  void OnOutputChanged(int k, bool gated);
  double OutputOf(int point) const;
  void OnGenerate();
  void OnRestore();
  void OnLoad();
  void OnSave();
  void OnCalculate();
  curves::LinkageSteps LinkageShown() const;
  void ShowLinkage(const curves::LinkageSteps& steps);

  IiPlotXPtr m_pPlot;
  IiLabelXPtr m_pWarning, m_pInherent;
  ISpinEditXPtr m_spnRangeability;
  IiImageDisplayXPtr m_pFormula;
  std::array<ISpinEditXPtr, kSpins> m_spnOutput;
  std::array<CWnd, 25> m_wndHosts;
  CBitmap m_bmpGenerate, m_bmpRestore;

  curves::Outputs m_pdOutput{};  // as last read from the device
  curves::PreviousCurve m_previous;
  std::array<double, 21> m_adWrite{};  // hundredths for the next write
  bool m_bWritten = false;
  // Until the page is first shown the plain change events are the
  // set-up's own.
  std::array<bool, kSpins> m_abIgnoreSpinEvent;
};
