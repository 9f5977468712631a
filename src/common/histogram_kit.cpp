#include "common/histogram_kit.h"

#include <numeric>

#include "common/limit_gauge.h"
#include "common/plot_hints.h"
#include "platform/com/com_error.h"
#include "support/language_table.h"

namespace histogram {

namespace {

constexpr double kDeviationX[] = {-97.5, -90, -80, -70, -60, -50, -40, -30, -20, -10.25, -5, -4, -3, -2, -1, 0,
                                  1,     2,   3,   4,   5,   10.25, 20, 30, 40, 50,  60, 70, 80, 90, 97.5};
constexpr double kPositionX[] = {1, 6, 15, 25, 35, 45, 55, 65, 75, 85, 91, 96};

_bstr_t Text(const char* key) { return TheLanguageTable().Lookup(key); }

}  // namespace

const Layout kDeviation{-100, kDeviationX};
const Layout kPosition{0, kPositionX};

std::vector<std::pair<double, double>> Points(std::span<const double> bins, const Layout& layout) {
  double total = std::accumulate(bins.begin(), bins.end(), 0.0);
  if (total < 1) total = 1;
  std::vector<std::pair<double, double>> points{{layout.firstX, 0.0}};
  for (size_t i = 0; i < bins.size() && i < layout.binX.size(); ++i)
    points.emplace_back(layout.binX[i], bins[i] / total * 100);
  return points;
}

void Read::Begin() {
  std::fill(m_bins.begin(), m_bins.end(), 0.0);
  m_bMissing = false;
}

bool Read::Select(CWexletCoreCommunication& comm, BYTE selector) {
  comm.m_byHistogramSelect = selector;
  const bool ok = comm.WriteAlertVar461();
  if (!ok) m_bMissing = true;
  return ok;
}

bool Read::Fetch(CWexletCoreCommunication& comm, size_t firstBin, size_t count) {
  if (!comm.ReadCommand(208)) {
    m_bMissing = true;
    return false;
  }
  for (size_t k = 0; k < count && firstBin + k < m_bins.size(); ++k)
    m_bins[firstBin + k] = limits::FromWord(comm.m_adwHistogram[k]);
  return true;
}

double Read::Total() const { return std::accumulate(m_bins.begin(), m_bins.end(), 0.0); }

bool Plot(CCommonControls& common, IiPlotXPtr& plot, const Read& read, const Layout& layout) {
  IiPlotChannelPtr channel = common.GetPlotChannelByName(plot, "Current");
  ComCheck(channel->Clear());
  if (!read.Complete()) return false;
  for (auto [x, y] : Points(read.Bins(), layout)) ComCheck(channel->AddXY(x, y, nullptr));
  return true;
}

void SetCaptions(CCommonControls& common, IiPlotXPtr& plot, const char* titleKey, const char* xTitleKey) {
  ComCheck(plot->SetTitle(Text(titleKey)));
  IiPlotAxisPtr x, y;
  ComCheck(plot->GetXAxisByName("Samples", &x));
  ComCheck(x->SetTitle(Text(xTitleKey)));
  ComCheck(plot->GetYAxisByName("SamplePerc", &y));
  ComCheck(y->SetTitle(Text("PERCSAMPLES")));
  ComCheck(common.GetPlotChannelByName(plot, "Current")->SetTitle(Text("CURRENTLBL")));
  plothints::Translate(plot);
}

bool Reset(CWexletCoreCommunication& comm, BYTE selector) {
  comm.m_byHistogramSelect = selector;
  comm.m_byHistogramReset = 1;
  return comm.WriteAlertVars461And462();
}

}  // namespace histogram
