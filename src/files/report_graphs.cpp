// The fixed graph views the reports capture: each sets the title, the shown
// channels and axes, whatever the page showed. Nothing here is caught: a
// channel or axis the plot lacks ends the view where it stands.
#include <array>
#include <vector>

#include "files/plot_file_kit.h"
#include "support/language_table.h"

using plotfile::GridAxes;
using plotfile::ShowAxes;
using testfile::Raise;

namespace {

void Title(IiXYPlotXPtr& plot, const char* key) { Raise(plot->SetTitle(TheLanguageTable().Lookup(key))); }

// Found directly by name, not through its index.
void ZoomToFit(IiXYPlotXPtr& plot, bool x, const char* name) {
  IiPlotAxisPtr axis;
  Raise(x ? plot->GetXAxisByName(name, &axis) : plot->GetYAxisByName(name, &axis));
  if (!axis) _com_issue_error(E_POINTER);
  Raise(axis->ZoomToFit());
}

}  // namespace

void CFileFunctions::ShowStepChannels(IiXYPlotXPtr plot, bool show) {
  for (const char* name : {"Position", "Command", "ILCmd", "ILPos"}) ShowChannel(plot, name, show ? 1 : 0);
}

void CFileFunctions::SetupStepGraph(IiXYPlotXPtr plot) {
  Title(plot, "IDD_DIAGNOSTIC_STEP_TEST");
  ShowStepChannels(plot, false);
  ShowStepChannels(plot, true);
  ShowAxes(plot, {{true, "StepX"}, {false, "StepPerc"}}, true);
}

void CFileFunctions::SetupPressureVsPositionGraph(IiXYPlotXPtr plot) {
  Title(plot, "PRESSVPOS");
  ShowStepChannels(plot, false);
  ShowChannel(plot, "PvPSPort", 1);
  ShowChannel(plot, "PvPPortA", 1);
  ShowChannel(plot, "PvPPortB", 0);
  ShowAxes(plot, {{true, "PosnX"}, {false, "StepPerc"}}, true);
  ShowAxes(plot, {{true, "StepX"}, {false, "StepPress"}}, false);
}

void CFileFunctions::SetupStepCompareGraph(IiXYPlotXPtr plot) {
  HideStepCompareChannels(plot);
  Title(plot, "IDD_DIAGNOSTIC_STEP_TEST");
  for (const char* name : {"Position1", "Position2", "PositionDiff", "Command1", "Command2", "CommandDiff", "ILCmd1",
                           "ILCmd2", "ILCmdDiff", "ILPOS1", "ILPOS2", "ILPOSDiff"})
    ShowChannel(plot, name, 1);
  ShowAxes(plot, {{true, "StepX"}, {false, "RampPerc"}}, true);
  ZoomToFit(plot, true, "StepX");
  ZoomToFit(plot, false, "RampPerc");
}

void CFileFunctions::SetupRampGraph(IiXYPlotXPtr plot) {
  HideRampChannels(plot);
  Title(plot, "IDD_DIAGNOSTIC_RAMP_TEST");
  for (const char* name : {"Position", "Command", "ILCmd", "ILPos"}) ShowChannel(plot, name, 1);
  GridAxes(plot, "RampX", "RampPerc");
  ShowAxes(plot, {{true, "RampX"}, {false, "RampPerc"}}, true);
}

void CFileFunctions::SetupSignatureGraph(IiXYPlotXPtr plot) {
  HideRampChannels(plot);
  Title(plot, "SIGVCMD");
  const double start = testfile::TextNumber(m_strRampSettings.start);
  const double stop = testfile::TextNumber(m_strRampSettings.stop);
  std::vector<const char*> shown;
  if (m_bRampBidirectional)
    shown = {"PosnvCmdOpen", "PosnvCmdClose", "ILCmdvCmdOpen", "ILCmdvCmdClose", "ILPosnvCmdOpen", "ILPosnvCmdClose"};
  else if (stop > start)
    shown = {"PosnvCmdOpen", "ILCmdvCmdOpen", "ILPosnvCmdOpen"};
  else
    shown = {"PosnvCmdClose", "ILCmdvCmdClose", "ILPosnvCmdClose"};
  for (const char* name : shown) ShowChannel(plot, name, 1);
  GridAxes(plot, "CmdX", "RampPerc");
  ShowAxes(plot, {{true, "CmdX"}, {false, "RampPerc"}}, true);
}

void CFileFunctions::SetupRampCompareGraph(IiXYPlotXPtr plot) {
  SetupRampAxes(plot);
  Title(plot, "IDD_DIAGNOSTIC_RAMP_TEST");
  for (const char* name : {"Position1", "Command1", "ILCmd1", "ILPos1", "Position2", "Command2", "ILCmd2", "ILPos2",
                           "PositionDiff", "CommandDiff", "ILCmdDiff", "ILPosDiff"})
    ShowChannel(plot, name, 1);
  ShowAxes(plot, {{true, "RampX"}, {false, "RampPerc"}}, true);
}

void CFileFunctions::SetupSignatureCompareGraph(IiXYPlotXPtr plot) {
  SetupRampAxes(plot);
  Title(plot, "SIGVCMD");
  for (const char* suffix : {"1", "2", "Diff"})
    for (const char* name :
         {"PosnvCmdOpen", "PosnvCmdClose", "ILCmdvCmdOpen", "ILCmdvCmdClose", "ILPosnvCmdOpen", "ILPosnvCmdClose"})
      ShowChannel(plot, _bstr_t(name) + suffix, 1);
  ShowAxes(plot, {{true, "CmdX"}, {false, "RampPerc"}}, true);
  GridAxes(plot, "CmdX", "RampPerc");
}

namespace {

// One HDRL report graph: its fixed title, the eight data channels shown or
// hidden, and the first display flag of the axes by their place, Y 0 and 1,
// then X 0, 1 and 2.
struct HDRLGraph {
  const char* title;
  std::array<bool, 8> channels;
  std::array<bool, 2> y;
  std::array<bool, 3> x;
};

constexpr const char* kHDRLDataChannels[] = {"Position",      "Command",       "1stCycle-Incr", "1stCycle-Decr",
                                             "2ndCycle-Incr", "2ndCycle-Decr", "AverageError",  "LeastSquareLine"};

void ShowHDRLGraph(CFileFunctions& cf, IiXYPlotXPtr& plot, const HDRLGraph& g) {
  // Not a language key: the report shows the same title in every language.
  Raise(plot->SetTitle(g.title));
  for (size_t i = 0; i < g.channels.size(); ++i) cf.ShowChannel(plot, kHDRLDataChannels[i], g.channels[i] ? 1 : 0);
  for (LONG i = 0; i < 2; ++i) Raise(plotfile::Axis(plot, false, i)->SetVisible(g.y[i] ? VARIANT_TRUE : VARIANT_FALSE));
  for (LONG i = 0; i < 3; ++i) Raise(plotfile::Axis(plot, true, i)->SetVisible(g.x[i] ? VARIANT_TRUE : VARIANT_FALSE));
}

}  // namespace

void CFileFunctions::ShowHDRLPositionVsTime(IiXYPlotXPtr plot) {
  ShowHDRLGraph(*this, plot,
                {"Position vs. Time",
                 {true, true, false, false, false, false, false, false},
                 {true, false},
                 {true, false, false}});
}

void CFileFunctions::ShowHDRLErrorVsPosition(IiXYPlotXPtr plot) {
  ShowHDRLGraph(*this, plot,
                {"Position Error vs. Position",
                 {false, false, true, true, true, true, false, false},
                 {false, true},
                 {false, true, false}});
}

void CFileFunctions::ShowHDRLErrorVsCommand(IiXYPlotXPtr plot) {
  ShowHDRLGraph(*this, plot,
                {"Position Error vs. Command",
                 {false, false, false, false, false, false, true, true},
                 {false, true},
                 {false, true, false}});
}
