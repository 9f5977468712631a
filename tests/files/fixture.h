#pragma once
// A fresh XY plot, reading channels and axes back, and a scratch folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "files/file_functions.h"
#include "platform/com/com_ptr.h"

namespace filetest {

using Points = std::vector<std::pair<double, double>>;

template <class PlotPtr>
struct ChannelOf;
template <>
struct ChannelOf<IiPlotXPtr> {
  using Ptr = IiPlotChannelPtr;
};
template <>
struct ChannelOf<IiXYPlotXPtr> {
  using Ptr = IiXYPlotChannelPtr;
};

template <class PlotPtr>
PlotPtr NewPlot() {
  IUnknownPtr control;
  control.CreateInstance(std::is_same_v<PlotPtr, IiPlotXPtr> ? kPlotProgId : kXYPlotProgId);
  return PlotPtr(control);
}
inline IiXYPlotXPtr NewXYPlot() { return NewPlot<IiXYPlotXPtr>(); }

template <class PlotPtr>
typename ChannelOf<PlotPtr>::Ptr ChannelAt(PlotPtr& plot, LONG index) {
  IDispatchPtr dispatch;
  if (FAILED(plot->GetChannel(index, &dispatch))) return {};
  return typename ChannelOf<PlotPtr>::Ptr(dispatch);
}

template <class PlotPtr>
LONG ChannelCount(PlotPtr& plot) {
  LONG n = 0;
  plot->GetChannelCount(&n);
  return n;
}

template <class ChannelPtr>
Points PointsOf(const ChannelPtr& c) {
  Points out;
  LONG n = 0;
  c->GetCount(&n);
  for (LONG i = 0; i < n; ++i) {
    double x = 0, y = 0;
    c->GetX(i, &x);
    c->GetY(i, &y);
    out.emplace_back(x, y);
  }
  return out;
}

template <class PlotPtr>
std::vector<Points> AllPoints(PlotPtr& plot) {
  std::vector<Points> all;
  for (LONG i = 0; i < ChannelCount(plot); ++i) all.push_back(PointsOf(ChannelAt(plot, i)));
  return all;
}

inline std::string Text(const _bstr_t& t) { return t.str(); }

// What a laid-out channel shows, read back from the plot: style -1 stands
// for no markers.
struct ChannelLook {
  std::string name, title, xAxis, yAxis;
  COLORREF color = 0;
  LONG style = -1;
  bool visible = false, inLegend = false;
  LONG points = 0;
  bool operator==(const ChannelLook&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const ChannelLook& l) {
  return out << "{" << l.name << ", " << l.title << ", " << l.xAxis << ", " << l.yAxis << ", 0x" << std::hex
             << l.color << std::dec << ", style " << l.style << ", visible " << l.visible << ", legend " << l.inLegend
             << ", points " << l.points << "}";
}
// A shown channel of a fresh layout; storage channels are hidden.
inline ChannelLook FreshLook(const char* name, const char* title, const char* x, const char* y, COLORREF color,
                             LONG style) {
  const bool shown = style >= 0;
  return {name, title, x, y, color, style, shown, shown, 0};
}
template <class Channel>
ChannelLook LookOf(const Channel& c) {
  _bstr_t name, title, x, y;
  ChannelLook l;
  LONG markers = -1;
  VARIANT_BOOL visible = -2, legend = -2;
  c->GetName(&name);
  c->GetTitle(&title);
  c->GetXAxisName(&x);
  c->GetYAxisName(&y);
  c->GetColor(&l.color);
  c->GetMarkersVisible(&markers);
  c->GetMarkerStyle(&l.style);
  if (markers != 1) l.style = markers == 0 ? -1 : -2;  // -2: an unknown marker state
  c->GetVisible(&visible);
  c->GetVisibleInLegend(&legend);
  c->GetCount(&l.points);
  l.name = name.str();
  l.title = title.str();
  l.xAxis = x.str();
  l.yAxis = y.str();
  l.visible = visible != 0;
  l.inLegend = legend != 0;
  return l;
}

// The compare plot's thirty channels in their hiding order.
inline constexpr const char* kRampCompareChannels[] = {
    "Position1",        "Command1",         "ILCmd1",
    "ILPos1",           "Position2",        "Command2",
    "ILCmd2",           "ILPos2",           "PositionDiff",
    "CommandDiff",      "ILCmdDiff",        "ILPosDiff",
    "PosnvCmdOpen1",    "PosnvCmdOpen2",    "PosnvCmdOpenDiff",
    "PosnvCmdClose1",   "PosnvCmdClose2",   "PosnvCmdCloseDiff",
    "ILCmdvCmdOpen1",   "ILCmdvCmdOpen2",   "ILCmdvCmdOpenDiff",
    "ILCmdvCmdClose1",  "ILCmdvCmdClose2",  "ILCmdvCmdCloseDiff",
    "ILPosnvCmdOpen1",  "ILPosnvCmdOpen2",  "ILPosnvCmdOpenDiff",
    "ILPosnvCmdClose1", "ILPosnvCmdClose2", "ILPosnvCmdCloseDiff",
};

inline std::string ChannelName(IiXYPlotXPtr& plot, LONG index) {
  _bstr_t name;
  ChannelAt(plot, index)->GetName(&name);
  return name.str();
}

inline IiPlotAxisPtr AxisAt(IiXYPlotXPtr& plot, bool x, LONG index) {
  IiPlotAxisPtr axis;
  x ? plot->GetXAxis(index, &axis) : plot->GetYAxis(index, &axis);
  return axis;
}

// Channels named as given, added at the end.
inline void AddChannels(IiXYPlotXPtr& plot, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    LONG index = -1;
    plot->AddChannel(&index);
    ChannelAt(plot, index)->SetName(name.c_str());
  }
}

// Both flags of every channel and axis, and the grid's axes.
inline void SetEverything(IiXYPlotXPtr& plot, bool shown) {
  for (LONG i = 0; i < ChannelCount(plot); ++i) {
    ChannelAt(plot, i)->SetVisible(shown);
    ChannelAt(plot, i)->SetVisibleInLegend(shown);
  }
  for (const bool x : {true, false}) {
    LONG n = 0;
    x ? plot->GetXAxisCount(&n) : plot->GetYAxisCount(&n);
    for (LONG i = 0; i < n; ++i) {
      AxisAt(plot, x, i)->SetVisible(shown);
      AxisAt(plot, x, i)->SetEnabled(shown);
    }
  }
  IiPlotDataViewPtr view;
  plot->GetDataView(0, &view);
  view->SetXAxisName("<All>");
  view->SetYAxisName("<All>");
}

// Shown ("1"), hidden ("0") or flags that disagree ("?"), by name.
inline std::map<std::string, char> Flags(IiXYPlotXPtr& plot) {
  auto mark = [](VARIANT_BOOL a, VARIANT_BOOL b) { return a && b ? '1' : !a && !b ? '0' : '?'; };
  std::map<std::string, char> flags;
  for (LONG i = 0; i < ChannelCount(plot); ++i) {
    VARIANT_BOOL visible = 0, legend = 0;
    ChannelAt(plot, i)->GetVisible(&visible);
    ChannelAt(plot, i)->GetVisibleInLegend(&legend);
    flags[ChannelName(plot, i)] = mark(visible, legend);
  }
  for (const bool x : {true, false}) {
    LONG n = 0;
    x ? plot->GetXAxisCount(&n) : plot->GetYAxisCount(&n);
    for (LONG i = 0; i < n; ++i) {
      _bstr_t name;
      VARIANT_BOOL visible = 0, enabled = 0;
      AxisAt(plot, x, i)->GetName(&name);
      AxisAt(plot, x, i)->GetVisible(&visible);
      AxisAt(plot, x, i)->GetEnabled(&enabled);
      flags[std::string(x ? "x:" : "y:") + Text(name)] = mark(visible, enabled);
    }
  }
  return flags;
}

inline std::string Title(IiXYPlotXPtr& plot) {
  _bstr_t title;
  plot->GetTitle(&title);
  return Text(title);
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A folder of its own for each test, removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder() {
    static int counter = 0;
    m_path = std::filesystem::temp_directory_path() /
             ("tarnix-files-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(m_path, ec);
  }
  const std::filesystem::path& Path() const { return m_path; }
  std::string operator/(const std::string& name) const { return (m_path / name).string(); }
  // The names of the files in the folder, sorted.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(m_path)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path m_path;
};

// Everything a plot holds, as its own data and properties files write it:
// the points, the display settings and the file stamp.
template <class PlotPtr>
std::string WholePlot(PlotPtr& plot) {
  ScratchFolder here;
  const std::string data = here / "whole.dat", settings = here / "whole.prp";
  EXPECT_EQ(plot->SaveDataToFile(data.c_str()), S_OK);
  EXPECT_EQ(plot->SavePropertiesToFile(settings.c_str()), S_OK);
  return ReadFile(data) + ReadFile(settings);
}

}  // namespace filetest
