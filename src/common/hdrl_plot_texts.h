#pragma once
// The texts of the HDRL plots, on the HDRL test page and on the HDRL
// comparison page alike: the axis titles and the legend keys of the eight
// data channels.
#include "platform/activex/plot.h"
#include "platform/com/com_error.h"
#include "support/language_table.h"

namespace hdrltexts {

struct Named {
  const char* name;
  const char* key;
};
inline constexpr Named kChannels[] = {
    {"Position", "IDC_STATICPOSNLBL"},  {"Command", "IPLOTCHANCMD"},        {"1stCycle-Incr", "1stCycle-Incr"},
    {"1stCycle-Decr", "1stCycle-Decr"}, {"2ndCycle-Incr", "2ndCycle-Incr"}, {"2ndCycle-Decr", "2ndCycle-Decr"},
    {"AverageError", "HDRLAVGERR"},     {"LeastSquareLine", "HDRLSQLINE"},
};

// The titles of the five axes of SetupHDRLPlots.
inline void SetAxisTitles(IiXYPlotXPtr& plot) {
  const struct {
    bool x;
    Named axis;
  } axes[] = {{true, {"Time", "HDRLTIME"}},
              {true, {"Command", "HDRLCMD"}},
              {true, {"Time2", "HDRLTIME2"}},
              {false, {"PositionError", "HDRLPOSERR"}},
              {false, {"Position", "HDRLPOSNPERC"}}};
  for (const auto& a : axes) {
    IiPlotAxisPtr axis;
    ComCheck(a.x ? plot->GetXAxisByName(a.axis.name, &axis) : plot->GetYAxisByName(a.axis.name, &axis));
    if (!axis) ComCheck(E_POINTER);
    ComCheck(axis->SetTitle(TheLanguageTable().Lookup(a.axis.key)));
  }
}

}  // namespace hdrltexts
