#pragma once
// The partial stroke, HDRL, data logger and curve files as a table: how
// each kind's plot is made, saved and opened, and the fields it writes.
#include <functional>

#include "files/kinds_fixture.h"
#include "platform/activex/control.h"

namespace kindtest {

struct Plots {
  IiPlotXPtr time;
  IiXYPlotXPtr xy;
  IControlTestPtr Test() { return time ? IControlTestPtr(time) : IControlTestPtr(xy); }
  std::vector<Points> All() { return time ? AllPoints(time) : AllPoints(xy); }
  std::string Whole() { return time ? WholePlot(time) : WholePlot(xy); }
};

struct KindCase {
  const char* name;
  const char* extension;
  std::function<Plots(CFileFunctions&)> make;
  std::function<void(CFileFunctions&, Plots&)> save;
  std::function<bool(CFileFunctions&, Plots&)> open;
  // Every field the kind writes on open, set to a text or read back.
  std::function<void(CFileFunctions&, const char*)> setFields;
  std::function<std::vector<std::string>(CFileFunctions&)> fields;
  const char* saveError;
  const char* openError;
  const char* settingsExtension;  // empty: none
};

template <size_t N>
inline void SetAll(TextArray<N>& texts, const char* text) {
  for (auto& t : texts) t = text;
}
template <class Texts>
inline void SetAll(Texts& texts, const char* text) {
  for (auto t : Texts::kInOrder) texts.*t = text;
}

inline const KindCase kKinds[] = {
    {"partial stroke", "pst",
     [](CFileFunctions& cf) {
       Plots p{NewPlot<IiPlotXPtr>(), {}};
       cf.SetupPSTPlot(p.time);
       cf.SetupPSTChannels(p.time);
       return p;
     },
     [](CFileFunctions& cf, Plots& p) { cf.SavePSTFile(p.time); },
     [](CFileFunctions& cf, Plots& p) { return cf.OpenPSTFile(p.time); },
     [](CFileFunctions& cf, const char* t) {
       SetAll(cf.m_strPSTSettings, t);
       cf.m_strPSTBreakawayTime = cf.m_strPSTTimeToTarget = cf.m_strPSTResult = cf.m_strPSTTag = t;
     },
     [](CFileFunctions& cf) {
       std::vector<std::string> f = Texts(cf.m_strPSTSettings);
       for (const _bstr_t* t :
            {&cf.m_strPSTBreakawayTime, &cf.m_strPSTTimeToTarget, &cf.m_strPSTResult, &cf.m_strPSTTag})
         f.push_back(t->str());
       return f;
     },
     "File save error.", "File open error.", ""},
    {"HDRL", "hdrl",
     [](CFileFunctions& cf) {
       Plots p{{}, NewPlot<IiXYPlotXPtr>()};
       cf.SetupHDRLPlots(p.xy);
       cf.SetupHDRLChannels(p.xy);
       return p;
     },
     [](CFileFunctions& cf, Plots& p) { cf.SaveHDRLFile(p.xy); },
     [](CFileFunctions& cf, Plots& p) { return cf.OpenHDRLFile(p.xy); },
     [](CFileFunctions& cf, const char* t) {
       SetAll(cf.m_strHDRLResults, t);
       cf.m_strHDRLSettlingTime = cf.m_strHDRLTag = t;
     },
     [](CFileFunctions& cf) {
       std::vector<std::string> f = Texts(cf.m_strHDRLResults);
       f.push_back(cf.m_strHDRLSettlingTime.str());
       f.push_back(cf.m_strHDRLTag.str());
       return f;
     },
     "##FILESAVEERR", "##FILEOPENERR", ""},
    {"data logger", "lgr",
     [](CFileFunctions& cf) {
       Plots p{NewPlot<IiPlotXPtr>(), {}};
       cf.SetupDataLoggerPlot(p.time);
       cf.SetupDataLoggerChannels(p.time);
       return p;
     },
     [](CFileFunctions& cf, Plots& p) { cf.SaveDataLoggerFile(p.time); },
     [](CFileFunctions& cf, Plots& p) { return cf.OpenDataLoggerFile(p.time); },
     [](CFileFunctions& cf, const char* t) {
       SetAll(cf.m_strLoggerSettings, t);
       cf.m_strFileTag = t;
     },
     [](CFileFunctions& cf) {
       std::vector<std::string> f = Texts(cf.m_strLoggerSettings);
       f.push_back(cf.m_strFileTag.str());
       return f;
     },
     "File save error.", "File open error.", ".datalogprp"},
    {"curve", "curve",
     [](CFileFunctions& cf) {
       Plots p{NewPlot<IiPlotXPtr>(), {}};
       cf.SetupCharacterizationPlot(p.time);
       return p;
     },
     [](CFileFunctions& cf, Plots& p) { cf.SaveCharCurveFile(p.time); },
     // The curve opener gives no result; the page reads the channel back all the same.
     [](CFileFunctions& cf, Plots& p) {
       cf.OpenCharCurveFile(p.time);
       return false;
     },
     [](CFileFunctions& cf, const char* t) { cf.m_strFileTag = t; },
     [](CFileFunctions& cf) { return std::vector<std::string>{cf.m_strFileTag.str()}; }, "File save error.",
     "File open error.", ""},
};

class KindCaseFiles : public KindFiles {
 protected:
  // The kind's plot with points in every channel that no other channel has.
  Plots Filled(const KindCase& k, double seed = 2) {
    Plots p = k.make(cf);
    p.time ? FillAll(p.time, ChannelCount(p.time), 3, seed) : FillAll(p.xy, ChannelCount(p.xy), 3, seed);
    return p;
  }
  std::string PathOf(const KindCase& k, const ScratchFolder& where, const char* title = "t") {
    return where / (std::string(title) + "." + k.extension);
  }
};

}  // namespace kindtest
