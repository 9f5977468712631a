#pragma once
// One ".hdrl" file as the HDRL test page's opener and the HDRL comparison's
// loaders read it, once the plot control has loaded it into a plot laid
// out with the file's channels.
#include <array>

#include "files/file_functions.h"

namespace hdrlfile {

struct Run {
  double month = 0, day = 0, year = 0;
  double settlingTime = 0;
  _bstr_t tag;
  // Repeatability average and maximum, hysteresis plus dead band average
  // and maximum, linearity error; NaN where the run gives no figure.
  std::array<double, 5> results{};
};

// Reads the stored values, brings a run of one point a step into the run
// form and works the results out on the plot's own channels. A file that
// is not an HDRL test (no settings, a date that is none) fails with
// E_FAIL; any other failure raises as it comes.
Run ReadRun(CFileFunctions& cf, IiXYPlotXPtr& plot);

// The ranges after a load: the time axis named (when the settling time can
// scale it) over 24 settling times, "Command" and "Position" 0 to 100,
// "PositionError" -1.5 to 1.5.
void SetRanges(IiXYPlotXPtr& plot, const char* timeAxis, double settlingTime);

// A result as the fields keep it: the shortest text with "."; empty for NaN.
_bstr_t ResultText(double value);

}  // namespace hdrlfile
