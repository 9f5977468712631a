#pragma once
// The plots' state and everything done to it without a widget: look-ups by
// name, channels and points, axis fitting, and the data and properties
// files described in plot.h. The COM objects and the drawing sit on top.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/activex/plot.h"

namespace plat::plot {

enum class Kind { Time, XY };

struct FontSpec {
  _bstr_t name;
  CY size = 0;  // points x 10000
  BOOL bold = FALSE;
  BOOL underline = FALSE;
  short charset = 0;
  bool operator==(const FontSpec&) const = default;
};

// Numbered settings that are only kept: the number and the value as given.
using Settings = std::map<int, _variant_t>;

// What the properties file carries of a channel.
struct ChannelLook {
  _bstr_t name;
  _bstr_t title;
  _bstr_t xAxisName;  // empty: axis 0
  _bstr_t yAxisName;
  COLORREF color = 0;
  VARIANT_BOOL visible = VARIANT_TRUE;
  VARIANT_BOOL legend = VARIANT_TRUE;
  LONG lineSetting = 0;
  LONG markers = 0;
  LONG markerSize = 3;
  LONG markerStyle = 0;
  LONG markerExtra = 0;
  LONG initial = 0;
};

struct ChannelState {
  ChannelLook look;
  std::vector<double> x;
  std::vector<double> y;
  std::vector<std::uint8_t> marks;  // empty until a point's flag is first set
  size_t markCount = 0;
  // Bumped by every change of the points other than appending, so that a
  // drawing can tell "more points" from "other points".
  std::uint64_t generation = 0;
  std::uint64_t markGeneration = 0;
  bool attached = true;  // false once the plot has dropped the channel

  void ClearPoints();
  void SetPointMark(size_t index, bool on);
  bool PointMarked(size_t index) const { return !marks.empty() && marks[index] != 0; }
};

struct AxisState {
  _bstr_t name;
  _bstr_t title;
  FontSpec titleFont;
  double min = 0.0;
  double span = 100.0;
  double startValue = 0.0;
  double increment = 0.0;
  double limitLow = 0.0;
  double limitHigh = 100.0;
  VARIANT_BOOL visible = VARIANT_TRUE;
  VARIANT_BOOL enabled = VARIANT_TRUE;
  Settings settings;
};

struct DataViewState {
  _bstr_t xAxisName;  // empty: axis 0; "<All>": every axis
  _bstr_t yAxisName;
  COLORREF gridColor = 0x00DCDCDC;
  VARIANT_BOOL gridVisible = VARIANT_TRUE;
  Settings settings;
};

struct ToolBarState {
  VARIANT_BOOL visible = VARIANT_TRUE;
  Settings settings;
};

// What the properties file carries of the plot, channel points aside.
struct PlotLook {
  _bstr_t title;
  FontSpec titleFont;
  COLORREF titleColor = 0x00303030;
  COLORREF backColor = 0x00FFFFFF;
  Settings settings;
  DataViewState dataView;
  ToolBarState toolBar;
  std::vector<AxisState> xAxes;
  std::vector<AxisState> yAxes;
};

// Case-blind match of two names; a null or empty name matches nothing.
bool NamesMatch(const _bstr_t& a, const _bstr_t& b);
// True for the data view's "every axis" name.
bool IsAllAxes(const _bstr_t& name);

// Settings values the files can carry.
bool IsStorableSetting(const VARIANT& value);

FontSpec DefaultTitleFont();
FontSpec DefaultAxisFont();

class PlotModel {
 public:
  explicit PlotModel(Kind kind);

  Kind kind() const { return m_kind; }

  PlotLook look;
  std::vector<std::shared_ptr<ChannelState>> channels;
  std::map<std::u16string, std::u16string> hints;  // built-in text -> text shown
  // Written into both files when not null; a good load takes the file's.
  _bstr_t stamp;
  // What the data file of the last good load held: its kind word and the
  // names of its channels in order.
  struct FileLayout {
    std::string kind;
    std::vector<_bstr_t> channels;
  } fileLayout;

  int ChannelIndex(const _bstr_t& name) const;                   // -1: none
  int ChannelIndex(const ChannelState* channel) const;           // -1: dropped
  int AxisIndex(bool xAxis, const _bstr_t& name) const;          // -1: none
  // The axis a channel's axis name draws it against: empty is axis 0.
  int BoundAxis(bool xAxis, const _bstr_t& channelAxisName) const;
  std::vector<AxisState>& Axes(bool xAxis) { return xAxis ? look.xAxes : look.yAxes; }
  const std::vector<AxisState>& Axes(bool xAxis) const { return xAxis ? look.xAxes : look.yAxes; }

  int AddChannel();
  void RemoveAllChannels();
  void ClearAllData();
  int AddAxis(bool xAxis);
  // Range of the finite values of the shown channels drawn against the
  // axis; false (and no change) when there are none.
  bool FitAxis(bool xAxis, int index);

  std::string DataText() const;
  // Parses a data file's text and, only when all of it is good, fills the
  // channels by position.
  HRESULT LoadDataText(const std::string& text);
  std::string PropertiesText() const;
  HRESULT LoadPropertiesText(const std::string& text);

 private:
  Kind m_kind;
};

// Whole-file helpers: the error codes of plot.h.
HRESULT WriteTextFile(const std::string& path, const std::string& text);
HRESULT ReadTextFile(const std::string& path, std::string* text);

// The colour of channel n (from 0) of a new plot.
COLORREF DefaultChannelColor(size_t n);

}  // namespace plat::plot
