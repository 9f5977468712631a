#pragma once
// The device's sample histograms as the alert pages read, plot and reset
// them: a selector write (461) chooses what the next read (208) returns,
// and a selector with a reset (462) clears it in the device.
#include <span>
#include <utility>
#include <vector>

#include "comm/communication.h"
#include "common/common_controls.h"

namespace histogram {

// Where a histogram is drawn: the leading zero point, then one x per bin.
struct Layout {
  double firstX;
  std::span<const double> binX;
};

extern const Layout kDeviation;  // 31 bins in three parts
extern const Layout kPosition;   // 12 bins

// The points of channel "Current": (firstX, 0), then each bin's share of
// all samples in percent. An empty histogram plots every point at 0.
std::vector<std::pair<double, double>> Points(std::span<const double> bins, const Layout& layout);

// One histogram read in parts. A part whose selector write or read got no
// reply makes the histogram missing: the words the image still holds are
// another read's, possibly the other page's histogram.
class Read {
 public:
  explicit Read(size_t bins) : m_bins(bins, 0.0) {}
  // Zeros, and nothing missing.
  void Begin();
  bool Select(CWexletCoreCommunication& comm, BYTE selector);
  // Stores `count` words of the reply from bin `firstBin` on (unsigned).
  bool Fetch(CWexletCoreCommunication& comm, size_t firstBin, size_t count);
  bool Complete() const { return !m_bMissing; }
  const std::vector<double>& Bins() const { return m_bins; }
  double Total() const;

 private:
  std::vector<double> m_bins;
  bool m_bMissing = false;
};

// Channel "Current" shows the read when it is complete and stays empty
// when it is not; false then.
bool Plot(CCommonControls& common, IiPlotXPtr& plot, const Read& read, const Layout& layout);

// The plot's texts: its title, the title of the x axis, and the shared
// texts of the percentage axis, channel "Current" and the tool buttons.
void SetCaptions(CCommonControls& common, IiPlotXPtr& plot, const char* titleKey, const char* xTitleKey);

// Clears the selected histogram (or part) in the device; true when the
// device confirmed it.
bool Reset(CWexletCoreCommunication& comm, BYTE selector);

}  // namespace histogram
