// The step test plots and the step test file.
#include <array>

#include "files/plot_file_kit.h"

using testfile::Raise;
using plotfile::NotBold;
using plotfile::Axis;
using plotfile::AxisByName;

namespace {

const testfile::Kind kStep{"stp", "_Step", "FILESAVESTEPAS", "FILEOPENSTEP", ""};

struct AxisLayout {
  const char* yName;
  double xSpan;
  double ySpan;
};
constexpr AxisLayout kStepTest{"StepPerc", 10, 130};
constexpr AxisLayout kStepCompare{"RampPerc", 100, 100};

// The order is the order of the channels in a ".stp" file.
constexpr std::array<testfile::ChannelRow, 6> kStepChannels{{
    {"Position", "Position", "StepX", "StepPerc", 0x0A0AFF, 0},
    {"Command", "Command", "StepX", "StepPerc", 0xC00000, 1},
    {"ILCmd", "Pilot Relay Command", "StepX", "StepPerc", 0x004000, 5},
    {"ILPos", "Pilot Relay Position", "StepX", "StepPerc", 0x000080, 6},
    {"TestSettings", "TestSettings", "None", "None", 0xCC00CC, 12},
    {"TagName", "TagName", "None", "None", 0x000080, 12},
}};
constexpr size_t kStepDataChannels = 4;

// The compare plot's channels: each trace of file 1, file 2 and their difference.
constexpr const char* kStepCompareChannels[] = {"Position1", "Position2", "PositionDiff", "Command1",
                                                "Command2",  "CommandDiff", "ILCmd1",     "ILCmd2",
                                                "ILCmdDiff", "ILPOS1",      "ILPOS2",     "ILPOSDiff"};

constexpr const char* kSettings = "TestSettings";
constexpr const char* kTag = "TagName";

void LayOutAxis(IiXYPlotXPtr& plot, bool x, double span, const char* name) {
  IiPlotAxisPtr axis = Axis(plot, x, 0);
  Raise(axis->SetMin(0));
  Raise(axis->SetSpan(span));
  Raise(axis->SetName(name));
  NotBold(axis);
}

void LayOut(IiXYPlotXPtr& plot, const AxisLayout& layout) {
  Raise(plot->BeginUpdate());
  IiPlotDataViewPtr view;
  Raise(plot->GetDataView(0, &view));
  Raise(view->SetXAxisName("StepX"));
  Raise(view->SetYAxisName(layout.yName));
  Raise(plot->SetBackgroundColor(0xFFFFFF));
  Raise(view->SetGridLineColor(0x00C000));
  Raise(view->SetGridLinesVisible(VARIANT_TRUE));
  LayOutAxis(plot, true, layout.xSpan, "StepX");
  LayOutAxis(plot, false, layout.ySpan, layout.yName);
  Raise(plot->EndUpdate());
}

}  // namespace

const plotfile::FileLayout plotfile::kStepFile{true, kStepChannels};

void CFileFunctions::SetupStepPlot(IiXYPlotXPtr plot) { LayOut(plot, kStepTest); }

void CFileFunctions::SetupStepComparePlot(IiXYPlotXPtr plot) { LayOut(plot, kStepCompare); }

void CFileFunctions::SetupStepChannels(IiXYPlotXPtr plot) {
  plotfile::LayOutChannels(*this, plot, kStepChannels, kStepDataChannels, &CFileFunctions::SetupXYPlotChannel);
}

void CFileFunctions::UpdateStepPlot(IiXYPlotXPtr plot) {
  for (size_t i = 0; i < kStepDataChannels; ++i) ShowChannel(plot, kStepChannels[i].name, 0);
  plotfile::ShowAxes(plot, {{true, "StepX"}, {false, "StepPerc"}}, false);
}

void CFileFunctions::HideStepCompareChannels(IiXYPlotXPtr plot) {
  for (const char* name : kStepCompareChannels) ShowChannel(plot, name, 0);
  plotfile::ShowAxes(plot, {{true, "StepX"}, {false, "RampPerc"}}, false);
}

void CFileFunctions::SaveStepFile(IiXYPlotXPtr plot) {
  testfile::Save(*this, plot, kStep, m_strStepTag, [&](const plat::LocalTime& now) {
    using testfile::TextNumber;
    // Emptied first, so that a second save stores the settings of now.
    const std::vector<double> settings{TextNumber(m_strStepSettings.start),  TextNumber(m_strStepSettings.stop),
                                       TextNumber(m_strStepSettings.hold),  static_cast<double>(now.month),
                                       static_cast<double>(now.day),      static_cast<double>(now.year)};
    testfile::ReplacePoints(*this, plot, kSettings, settings);
    testfile::ReplacePoints(*this, plot, kTag, testfile::TagCodes(m_strStepTag));
  });
}

bool CFileFunctions::OpenStepFile(IiXYPlotXPtr plot) {
  return testfile::Open(*this, plot, kStep, plotfile::kStepFile, [&](IiXYPlotXPtr& file) {
    StepSettingTexts settings;
    for (LONG i = 0; i < 6; ++i) {
      const double y = testfile::PointY(*this, file, kSettings, i);
      if (i < 3) InOrder(settings, i) = testfile::NumberText(y);
    }
    const _bstr_t tag = testfile::TagText(testfile::AllY(*this, file, kTag));
    IiPlotAxisPtr x = AxisByName(plot, true, "StepX");
    IiPlotAxisPtr y = AxisByName(plot, false, "StepPerc");

    return [=, this] {
      Raise(x->ZoomToFit());
      Raise(y->ZoomToFit());
      m_strStepSettings = settings;
      m_strStepTag = tag;
    };
  });
}
