#pragma once
// The two plot controls, "iPlotLibrary.iPlotX" (values over time) and
// "iPlotLibrary.iXYPlotX" (curves of x/y pairs), without Qt. Both kinds offer
// the same plot, channel, axis, data view and tool bar members; only the
// interface ids differ, so that a channel of one kind is never mistaken for
// the other's.
//
// Reaching a channel: the program asks the plot for IDispatch and calls
// "GetChannelByName" late-bound with one VT_BSTR argument. The result is
// VT_DISPATCH holding the channel (it answers to IiPlotChannel on a time
// plot, IiXYPlotChannel on an XY plot) or VT_EMPTY when no channel has that
// name. Channel and axis names match without regard to letter case; a null
// or empty name matches nothing. GetChannelByName and GetChannel are also
// offered early-bound.
//
// Behaviour the callers rely on:
// - A new plot has one channel "Channel 1", one X axis "X Axis 1" and one Y
//   axis "Y Axis 1". AddChannel names the new channel "Channel <n>", n being
//   its position from 1, so after RemoveAllChannels they are "Channel 1",
//   "Channel 2", ... in order. AddXAxis/AddYAxis name theirs "X Axis <n>" and
//   "Y Axis <n>"; GetXAxis/GetYAxis never create one.
// - Points stay in the order they were added, falling or repeated x
//   included; both kinds read them back by index.
// - A channel is drawn against the axes its X and Y axis names find, at
//   drawing time; an empty axis name means axis 0, a name no axis has
//   ("None") leaves the channel undrawn. It is drawn while its visible flag
//   is non-zero and listed in the legend while both its flags are.
// - Markers: while a channel's marker flag is on, the points whose point
//   marker flag is set carry a marker; when no point has its flag set, every
//   point does. Marker size s is drawn 2s+1 pixels wide; styles 0 to 11 are
//   twelve different shapes, other numbers wrap around.
// - An axis shows Min to Min + Span and is drawn while its first display
//   flag (Visible) is on. The second flag (Enabled), StartValue, Increment,
//   LimitLow/LimitHigh, the channels' line setting, marker extra flag and
//   initial setting, and every numbered setting (PutSetting) are kept, read
//   back and saved with the properties, but do not change the drawing.
// - ZoomToFit sets an axis to the range of the finite values of the shown
//   channels drawn against it; without such values the range stays.
// - Tool bar buttons carry the built-in hints "Scroll (Axes)", "Resume All
//   (Tracking)", "Zoom (Axes)", "Zoom Out All Axes", "Zoom In All Axes",
//   "Select", "Zoom Box", "Cursor" and "Copy to Clipboard";
//   ReplaceHintText(built-in, text) shows another text in place of one.
// - Failures are HRESULTs: DISP_E_BADINDEX for a point, channel, axis, data
//   view or tool bar index out of range; E_POINTER for a null out-argument
//   or font; E_UNEXPECTED on a channel object whose channel was removed.
//   Look-ups by name that find nothing succeed with -1 or a null object.
//
// Data file (SaveDataToFile / LoadDataFromFile), UTF-8 text, "\n" line ends
// ("\r\n" is read too):
//   TarnixPlotData 1
//   kind time|xy
//   stamp "<text>"                    only when the plot has a file stamp
//   channels <n>
//   channel <i> <count> "<name>"      i from 0; the name as the saving plot had it
//   <x> <y>                           <count> lines, shortest exact, "."
//   ...                               (the next channel's block)
//   end
// Numbers round-trip exactly (nan and inf included). A load fills the
// plot's channels by position and keeps their names and looks: stored
// channels beyond the plot's count are ignored, the plot's channels beyond
// the stored count are emptied, the stored kind is not checked. The whole
// file is read before anything changes: a file that cannot be read, lacks
// its head or "end", has fewer or more channel blocks or points than it
// announces, or holds a text that is not a number changes nothing and
// fails (STG_E_FILENOTFOUND, STG_E_READFAULT, E_FAIL for bad content).
// Since a load goes by position, any file fills any plot; what the file
// itself held (its kind and its channels' names, in order) is kept from
// the last good load for a reader that must tell one file from another
// (GetFileLayout, GetFileChannelName).
//
// Properties file (SavePropertiesToFile / LoadPropertiesFromFile), UTF-8
// text, one setting a line "<object> <key> <value>":
//   TarnixPlotProperties 1
//   kind time|xy
//   stamp "<text>"                    as in the data file
//   counts <channels> <x axes> <y axes>
//   plot title "<text>"
//   plot titlefont "<face>" <size CY> <bold> <underline> <charset>
//   plot titlecolor|backcolor <COLORREF>
//   plot setting <number> <value>
//   toolbar visible <flag>                 toolbar setting <number> <value>
//   dataview gridxaxis|gridyaxis "<name>"  dataview gridcolor <COLORREF>
//   dataview gridvisible <flag>            dataview setting <number> <value>
//   xaxis.<i> / yaxis.<i>  name|title "<text>", titlefont as above,
//           min|span|startvalue|increment|limitlow|limithigh <double>,
//           visible|enabled <flag>, setting <number> <value>
//   channel.<i> name|title|xaxis|yaxis "<text>", color <COLORREF>,
//           visible|legend <flag>,
//           line|markers|markersize|markerstyle|markerextra|initial <long>
//   end
// Texts are quoted with \" \\ \n \r escapes; a null text is written as -.
// A setting value is "empty", "i2 <n>", "i4 <n>", "r4 <x>", "r8 <x>",
// "bool <n>", "ui1 <n>" or "bstr <text>". A load needs the same kind and
// counts as the plot has and every line well formed; otherwise nothing
// changes and the call fails (E_FAIL). Points are not part of it.
//
// File stamp: a text written into both files while it is not null, so that
// a data file and a properties file saved together can be told apart from
// a pair of two saves. A good load of either file sets it to the file's
// stamp, null for a file without one.
#include "platform/activex/control.h"
#include "platform/com/dispatch.h"

constexpr HRESULT STG_E_FILENOTFOUND = MakeHResult(0x80030002u);
constexpr HRESULT STG_E_WRITEFAULT = MakeHResult(0x8003001Du);
constexpr HRESULT STG_E_READFAULT = MakeHResult(0x8003001Eu);

struct IiPlotAxis;
struct IiPlotDataView;
struct IiPlotToolBar;

// What both channel kinds offer. Never asked for by itself: ask for the
// kind's interface below.
struct IPlotChannelBase : IUnknown {
  static constexpr IID kIID = {0x7a3c0043, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x43}};
  virtual HRESULT SetName(const _bstr_t& name) = 0;
  virtual HRESULT GetName(_bstr_t* name) = 0;
  virtual HRESULT SetVisible(VARIANT_BOOL visible) = 0;  // kept as given (2 stays 2)
  virtual HRESULT GetVisible(VARIANT_BOOL* visible) = 0;
  virtual HRESULT SetTitle(const _bstr_t& title) = 0;  // the text shown in the legend
  virtual HRESULT GetTitle(_bstr_t* title) = 0;
  virtual HRESULT SetColor(COLORREF color) = 0;
  virtual HRESULT GetColor(COLORREF* color) = 0;
  virtual HRESULT SetVisibleInLegend(VARIANT_BOOL visible) = 0;
  virtual HRESULT GetVisibleInLegend(VARIANT_BOOL* visible) = 0;
  virtual HRESULT SetLineSetting(LONG value) = 0;
  virtual HRESULT GetLineSetting(LONG* value) = 0;
  virtual HRESULT SetMarkersVisible(LONG on) = 0;
  virtual HRESULT GetMarkersVisible(LONG* on) = 0;
  virtual HRESULT SetMarkerSize(LONG size) = 0;
  virtual HRESULT GetMarkerSize(LONG* size) = 0;
  virtual HRESULT SetMarkerStyle(LONG style) = 0;
  virtual HRESULT GetMarkerStyle(LONG* style) = 0;
  virtual HRESULT SetXAxisName(const _bstr_t& name) = 0;
  virtual HRESULT GetXAxisName(_bstr_t* name) = 0;
  virtual HRESULT SetYAxisName(const _bstr_t& name) = 0;
  virtual HRESULT GetYAxisName(_bstr_t* name) = 0;
  virtual HRESULT GetCount(LONG* count) = 0;
  virtual HRESULT GetX(LONG index, double* x) = 0;
  virtual HRESULT GetY(LONG index, double* y) = 0;
  virtual HRESULT AddXY(double x, double y, LONG* index) = 0;  // index may be null
  virtual HRESULT Clear() = 0;
  virtual HRESULT SetPointMarkerVisible(LONG index, LONG on) = 0;
  virtual HRESULT GetPointMarkerVisible(LONG index, LONG* on) = 0;
  virtual HRESULT SetMarkerExtraFlag(LONG value) = 0;
  virtual HRESULT GetMarkerExtraFlag(LONG* value) = 0;
  virtual HRESULT SetInitialSetting(LONG value) = 0;
  virtual HRESULT GetInitialSetting(LONG* value) = 0;
  virtual HRESULT SetY(LONG index, double y) = 0;  // replaces y of an existing point
};

struct IiPlotChannel : IPlotChannelBase {
  static constexpr IID kIID = {0x7a3c0044, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x44}};
};
struct IiXYPlotChannel : IPlotChannelBase {
  static constexpr IID kIID = {0x7a3c0045, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x45}};
};

struct IiPlotAxis : IUnknown {
  static constexpr IID kIID = {0x7a3c0046, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
  virtual HRESULT SetName(const _bstr_t& name) = 0;  // the look-up key
  virtual HRESULT GetName(_bstr_t* name) = 0;
  virtual HRESULT SetTitle(const _bstr_t& title) = 0;  // the text shown
  virtual HRESULT GetTitle(_bstr_t* title) = 0;
  // A new font object holding the axis title's font; changing it changes
  // nothing until it is given back.
  virtual HRESULT GetTitleFont(IFont** font) = 0;
  virtual HRESULT SetTitleFont(IFont* font) = 0;  // copies the font's values
  virtual HRESULT SetMin(double min) = 0;
  virtual HRESULT GetMin(double* min) = 0;
  virtual HRESULT SetSpan(double span) = 0;
  virtual HRESULT GetSpan(double* span) = 0;
  virtual HRESULT SetStartValue(double value) = 0;
  virtual HRESULT GetStartValue(double* value) = 0;
  virtual HRESULT SetIncrement(double value) = 0;
  virtual HRESULT GetIncrement(double* value) = 0;
  virtual HRESULT SetLimitLow(double value) = 0;
  virtual HRESULT GetLimitLow(double* value) = 0;
  virtual HRESULT SetLimitHigh(double value) = 0;
  virtual HRESULT GetLimitHigh(double* value) = 0;
  virtual HRESULT SetVisible(VARIANT_BOOL visible) = 0;  // first display flag
  virtual HRESULT GetVisible(VARIANT_BOOL* visible) = 0;
  virtual HRESULT SetEnabled(VARIANT_BOOL enabled) = 0;  // second display flag
  virtual HRESULT GetEnabled(VARIANT_BOOL* enabled) = 0;
  virtual HRESULT ZoomToFit() = 0;
  virtual HRESULT PutSetting(int setting, const VARIANT& value) = 0;
  virtual HRESULT GetSetting(int setting, VARIANT* value) = 0;  // VT_EMPTY when never put
};
using IiPlotAxisPtr = _com_ptr_t<IiPlotAxis>;

// The plotting area: which axes its grid follows ("<All>" for every shown
// axis, an empty name for axis 0) and the grid's colour.
struct IiPlotDataView : IUnknown {
  static constexpr IID kIID = {0x7a3c0047, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x47}};
  virtual HRESULT SetXAxisName(const _bstr_t& name) = 0;
  virtual HRESULT GetXAxisName(_bstr_t* name) = 0;
  virtual HRESULT SetYAxisName(const _bstr_t& name) = 0;
  virtual HRESULT GetYAxisName(_bstr_t* name) = 0;
  virtual HRESULT SetGridLineColor(COLORREF color) = 0;
  virtual HRESULT GetGridLineColor(COLORREF* color) = 0;
  virtual HRESULT SetGridLinesVisible(VARIANT_BOOL visible) = 0;
  virtual HRESULT GetGridLinesVisible(VARIANT_BOOL* visible) = 0;
  virtual HRESULT PutSetting(int setting, const VARIANT& value) = 0;
  virtual HRESULT GetSetting(int setting, VARIANT* value) = 0;
};
using IiPlotDataViewPtr = _com_ptr_t<IiPlotDataView>;

struct IiPlotToolBar : IUnknown {
  static constexpr IID kIID = {0x7a3c0048, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x48}};
  virtual HRESULT SetVisible(VARIANT_BOOL visible) = 0;
  virtual HRESULT GetVisible(VARIANT_BOOL* visible) = 0;
  virtual HRESULT PutSetting(int setting, const VARIANT& value) = 0;
  virtual HRESULT GetSetting(int setting, VARIANT* value) = 0;
};
using IiPlotToolBarPtr = _com_ptr_t<IiPlotToolBar>;

// What both plot kinds offer. Never asked for by itself: ask for IiPlotX or
// IiXYPlotX.
struct IPlotBase : IUnknown {
  static constexpr IID kIID = {0x7a3c0040, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40}};
  virtual HRESULT SetTitle(const _bstr_t& title) = 0;
  virtual HRESULT GetTitle(_bstr_t* title) = 0;
  virtual HRESULT GetTitleFont(IFont** font) = 0;  // a copy, as for axes
  virtual HRESULT SetTitleFont(IFont* font) = 0;
  virtual HRESULT SetTitleFontColor(COLORREF color) = 0;
  virtual HRESULT GetTitleFontColor(COLORREF* color) = 0;
  virtual HRESULT SetBackgroundColor(COLORREF color) = 0;
  virtual HRESULT GetBackgroundColor(COLORREF* color) = 0;
  // Between the two, changes are not drawn; EndUpdate draws at once.
  virtual HRESULT BeginUpdate() = 0;
  virtual HRESULT EndUpdate() = 0;

  virtual HRESULT RemoveAllChannels() = 0;
  virtual HRESULT AddChannel(LONG* index) = 0;  // index may be null
  virtual HRESULT GetChannelCount(LONG* count) = 0;
  // The channel object (IDispatch, answering to the kind's channel
  // interface); by name, null with S_FALSE when none matches.
  virtual HRESULT GetChannel(LONG index, IDispatch** channel) = 0;
  virtual HRESULT GetChannelByName(const _bstr_t& name, IDispatch** channel) = 0;
  virtual HRESULT ChannelIndexByName(const _bstr_t& name, LONG* index) = 0;  // -1: none
  virtual HRESULT ClearAllData() = 0;  // every channel loses its points, nothing else

  virtual HRESULT SaveDataToFile(const _bstr_t& fileName) = 0;
  virtual HRESULT LoadDataFromFile(const _bstr_t& fileName) = 0;
  virtual HRESULT SavePropertiesToFile(const _bstr_t& fileName) = 0;
  virtual HRESULT LoadPropertiesFromFile(const _bstr_t& fileName) = 0;
  virtual HRESULT SetFileStamp(const _bstr_t& stamp) = 0;
  virtual HRESULT GetFileStamp(_bstr_t* stamp) = 0;
  // The data file of the last good load: its kind ("time" or "xy") and
  // channel count; an empty kind and no channels before one.
  virtual HRESULT GetFileLayout(_bstr_t* kind, LONG* channels) = 0;
  virtual HRESULT GetFileChannelName(LONG index, _bstr_t* name) = 0;  // as stored

  virtual HRESULT AddXAxis(LONG* index) = 0;  // index may be null
  virtual HRESULT AddYAxis(LONG* index) = 0;
  virtual HRESULT GetXAxisCount(LONG* count) = 0;
  virtual HRESULT GetYAxisCount(LONG* count) = 0;
  virtual HRESULT XAxisIndexByName(const _bstr_t& name, LONG* index) = 0;  // -1: none
  virtual HRESULT YAxisIndexByName(const _bstr_t& name, LONG* index) = 0;
  virtual HRESULT GetXAxis(LONG index, IiPlotAxis** axis) = 0;
  virtual HRESULT GetYAxis(LONG index, IiPlotAxis** axis) = 0;
  virtual HRESULT GetXAxisByName(const _bstr_t& name, IiPlotAxis** axis) = 0;  // null, S_FALSE: none
  virtual HRESULT GetYAxisByName(const _bstr_t& name, IiPlotAxis** axis) = 0;

  virtual HRESULT GetDataView(LONG index, IiPlotDataView** view) = 0;  // index 0 only
  virtual HRESULT GetToolBar(LONG index, IiPlotToolBar** toolBar) = 0;  // index 0 only
  virtual HRESULT ReplaceHintText(const _bstr_t& builtInText, const _bstr_t& text) = 0;
  virtual HRESULT GetHintText(const _bstr_t& builtInText, _bstr_t* text) = 0;  // as shown now

  // The plot as a PNG picture of width x height pixels, drawn whether or
  // not its widget exists or is shown (tool bar not included).
  virtual HRESULT SaveImage(const _bstr_t& fileName, LONG width, LONG height) = 0;
  virtual HRESULT CopyToPicture(LONG width, LONG height, VARIANT* png) = 0;  // VT_ARRAY | VT_UI1
};

struct IiPlotX : IPlotBase {
  static constexpr IID kIID = {0x7a3c0041, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x41}};
};
struct IiXYPlotX : IPlotBase {
  static constexpr IID kIID = {0x7a3c0042, 0x5e21, 0x4b7d, {0x9a, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x42}};
};

using IiPlotXPtr = _com_ptr_t<IiPlotX>;
using IiXYPlotXPtr = _com_ptr_t<IiXYPlotX>;
using IiPlotChannelPtr = _com_ptr_t<IiPlotChannel>;
using IiXYPlotChannelPtr = _com_ptr_t<IiXYPlotChannel>;

constexpr const char* kPlotProgId = "iPlotLibrary.iPlotX";
constexpr const char* kXYPlotProgId = "iPlotLibrary.iXYPlotX";

// The plot's numbered settings (IControl::PutSetting) are all kept and read
// back, and none changes the drawing; the font object (get_Font) is the
// title font. The journal (IControlTest) holds one entry per put and per
// operation, "<object>.<member>=<value>", e.g. "title=Step Test",
// "channel[0].name=Position", "xaxis[1].span=100", "dataview[0].gridcolor=
// 0x00C000", "setting[5]=0.1", "addchannel", "channel[2].clear". Point
// operations (AddXY, SetY, point markers) are left out of it but can be
// failed like the rest, with the labels "channel[0].addxy", "...sety" and
// "...pointmarker"; the late-bound look-up fails as "getchannelbyname".
// FailPut(label, S_OK, 0) takes a planned failure back.

namespace plat {
// Registers both ProgIDs with the class registry.
void RegisterPlotClasses();
}  // namespace plat
