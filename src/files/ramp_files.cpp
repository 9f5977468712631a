// The ramp test plot and the ramp test file.
#include <array>

#include "files/plot_file_kit.h"
#include "platform/sys/numeric.h"
#include "support/language_table.h"

using plotfile::Axis;
using plotfile::AxisByName;
using plotfile::NotBold;
using testfile::Raise;

namespace {

const testfile::Kind kRamp{"rmp", "_Ramp", "FILESAVERAMP", "FILEOPENRAMP", "SaveRampTestData"};

// The order is the order of the channels in a ".rmp" file.
constexpr std::array<testfile::ChannelRow, 13> kRampChannels{{
    {"Position", "Position", "RampX", "RampPerc", 0x0A0AFF, 0},
    {"Command", "Command", "RampX", "RampPerc", 0xC00000, 1},
    {"ILCmd", "Pilot Relay Command", "RampX", "RampPerc", 0x004000, 5},
    {"ILPos", "Pilot Relay Position", "RampX", "RampPerc", 0x000080, 6},
    {"PosnvCmdOpen", "Position (opening)", "CmdX", "RampPerc", 0x0A0AFF, 0},
    {"ILCmdvCmdOpen", "Pilot Relay Command (opening)", "CmdX", "RampPerc", 0xC00000, 6},
    {"ILPosnvCmdOpen", "Pilot Relay Position (opening)", "CmdX", "RampPerc", 0xCC00FF, 5},
    {"PosnvCmdClose", "Position (closing)", "CmdX", "RampPerc", 0x0A0AFF, 6},
    {"ILCmdvCmdClose", "Pilot Relay Command (closing)", "CmdX", "RampPerc", 0xC00000, 2},
    {"ILPosnvCmdClose", "Pilot Relay Position (closing)", "CmdX", "RampPerc", 0xCC00FF, 1},
    {"RampSettings", "RampSettings", "None", "None", 0xCC00CC, 12},
    {"TagName", "TagName", "None", "None", 0x004000, 12},
    {"SpringResults", "SpringResults", "None", "None", 0x000080, 12},
}};
constexpr size_t kRampDataChannels = 10;

constexpr const char* kSettings = "RampSettings";
constexpr const char* kTag = "TagName";

void LayOutAxis(IiXYPlotXPtr& plot, bool x, LONG index, const char* name) {
  IiPlotAxisPtr axis = Axis(plot, x, index);
  Raise(axis->SetMin(0));
  Raise(axis->SetSpan(100));
  Raise(axis->SetName(name));
  NotBold(axis);
}

}  // namespace

const plotfile::FileLayout plotfile::kRampFile{true, kRampChannels};

const char* testfile::RampStrokeUnitText(int code) {
  switch (code) {
    case 49:
      return "mm";
    case 57:
      return "%";
    case 143:
      return "deg";
    default:
      return "in.";
  }
}

const char* testfile::RampAreaUnitText(int code) { return code == 1 ? "cm\u00B2" : "in\u00B2"; }

void CFileFunctions::SetupRampPlot(IiXYPlotXPtr plot) {
  Raise(plot->BeginUpdate());
  IiPlotDataViewPtr view;
  Raise(plot->GetDataView(0, &view));
  Raise(view->SetXAxisName("RampX"));
  Raise(view->SetYAxisName("RampPerc"));
  Raise(plot->SetBackgroundColor(0xFFFFFF));
  Raise(view->SetGridLineColor(0x00C000));
  Raise(view->SetGridLinesVisible(VARIANT_TRUE));
  // The signature view needs a second X axis; a new plot has one.
  LONG xAxes = 0;
  Raise(plot->GetXAxisCount(&xAxes));
  for (; xAxes < 2; ++xAxes) Raise(plot->AddXAxis(nullptr));
  LayOutAxis(plot, true, 0, "RampX");
  LayOutAxis(plot, true, 1, "CmdX");
  LayOutAxis(plot, false, 0, "RampPerc");
  IiPlotAxisPtr y = Axis(plot, false, 0);
  Raise(y->SetLimitLow(0));
  Raise(y->SetLimitHigh(100));
  Raise(y->SetTitle(TheLanguageTable().Lookup("HDRLPOSNPERC")));
  Raise(plot->EndUpdate());
}

void CFileFunctions::SetupRampTestChannels(IiXYPlotXPtr plot) {
  plotfile::LayOutChannels(*this, plot, kRampChannels, kRampDataChannels, &CFileFunctions::SetupXYPlotChannelA);
  HideRampChannels(plot);
}

namespace {

// The axes of both ramp views.
void HideRampAxes(IiXYPlotXPtr& plot) {
  plotfile::ShowAxes(plot, {{true, "RampX"}, {true, "CmdX"}, {false, "RampPerc"}}, false);
}

}  // namespace

void CFileFunctions::HideRampChannels(IiXYPlotXPtr plot) {
  for (const char* name : {"Position", "Command", "ILCmd", "ILPos", "PosnvCmdOpen", "PosnvCmdClose", "ILCmdvCmdOpen",
                           "ILCmdvCmdClose", "ILPosnvCmdOpen", "ILPosnvCmdClose"})
    ShowChannel(plot, name, 0);
  HideRampAxes(plot);
}

void CFileFunctions::HideRampCompareChannels(IiXYPlotXPtr plot) {
  const char* const suffixes[] = {"1", "2", "Diff"};
  // The ramp view by file, then each signature quantity with its three.
  for (const char* suffix : suffixes)
    for (const char* name : {"Position", "Command", "ILCmd", "ILPos"}) ShowChannel(plot, _bstr_t(name) + suffix, 0);
  for (const char* name :
       {"PosnvCmdOpen", "PosnvCmdClose", "ILCmdvCmdOpen", "ILCmdvCmdClose", "ILPosnvCmdOpen", "ILPosnvCmdClose"})
    for (const char* suffix : suffixes) ShowChannel(plot, _bstr_t(name) + suffix, 0);
}

void CFileFunctions::SetupRampAxes(IiXYPlotXPtr plot) {
  HideRampCompareChannels(plot);
  HideRampAxes(plot);
}

void CFileFunctions::SaveRampFile(IiXYPlotXPtr plot) {
  testfile::Save(*this, plot, kRamp, m_strRampTag, [&](const plat::LocalTime& now) {
    using testfile::TextNumber;
    const std::vector<double> settings{TextNumber(m_strRampSettings.start),
                                       TextNumber(m_strRampSettings.stop),
                                       TextNumber(m_strRampSettings.hold),
                                       TextNumber(m_strRampSettings.rampTime),
                                       m_bRampBidirectional == 1 ? 1.0 : 0.0,
                                       static_cast<double>(now.month),
                                       static_cast<double>(now.day),
                                       static_cast<double>(now.year),
                                       TextNumber(m_strRampStrokeLength),
                                       static_cast<double>(m_nRampStrokeUnitCode),
                                       TextNumber(m_strRampActuatorSize),
                                       static_cast<double>(m_nRampAreaUnitCode)};
    testfile::ReplacePoints(*this, plot, kSettings, settings);
    testfile::ReplacePoints(*this, plot, kTag, testfile::TagCodes(m_strRampTag));
  });
}

bool CFileFunctions::OpenRampFile(IiXYPlotXPtr plot) {
  return testfile::Open(*this, plot, kRamp, plotfile::kRampFile, [&](IiXYPlotXPtr& file) {
    auto point = [&](LONG i) { return testfile::PointY(*this, file, kSettings, i); };
    RampSettingTexts settings;
    for (LONG i = 0; i < 4; ++i) InOrder(settings, i) = testfile::NumberText(point(i));
    const BYTE bidirectional = point(4) == 1.0 ? 1 : 0;
    for (LONG i = 5; i <= 7; ++i) point(i);  // the date: stored, not shown
    const int strokeCode = testfile::LowByte(point(9));
    const int areaCode = testfile::LowByte(point(11));
    const _bstr_t actuatorSize = plat::FormatNumber("%3.1f", point(10));
    const _bstr_t strokeLength = plat::FormatNumber("%3.1f", point(8));
    const _bstr_t tag = testfile::TagText(testfile::AllY(*this, file, kTag));
    IiPlotAxisPtr x = AxisByName(plot, true, "RampX");

    return [=, this] {
      Raise(x->ZoomToFit());
      m_strRampSettings = settings;
      m_bRampBidirectional = bidirectional;
      m_nRampStrokeUnitCode = static_cast<BYTE>(strokeCode);
      m_strRampStrokeUnit = testfile::RampStrokeUnitText(strokeCode);
      m_nRampAreaUnitCode = static_cast<BYTE>(areaCode);
      m_strRampAreaUnit = testfile::RampAreaUnitText(areaCode);
      m_strRampActuatorSize = actuatorSize;
      m_strRampStrokeLength = strokeLength;
      m_strRampTag = tag;
    };
  });
}

bool CFileFunctions::CompareRampSettings() {
  // Pairs of m_strRampCompare: start, stop, hold, ramp time, then stroke
  // length and actuator size (file 1 at 14/15, file 2 at 18/19).
  constexpr std::array<std::pair<int, int>, 6> kPairs{{{6, 7}, {8, 9}, {10, 11}, {12, 13}, {14, 18}, {15, 19}}};
  bool same = m_bCompareBidirectional[0] == m_bCompareBidirectional[1];
  for (const auto& [first, second] : kPairs) same = same && m_strRampCompare[first] == m_strRampCompare[second];
  return same;
}
