#pragma once
// What the ramp and step test files share: the storage channel codecs, the
// default file name, the dialogs, the whole-or-nothing writes and the
// save/open sequences around a kind's own settings.
#include <functional>
#include <string>
#include <vector>

#include "files/file_functions.h"
#include "platform/sys/time_source.h"

namespace plotfile {
struct FileLayout;
}

namespace testfile {

// A kind's texts.
struct Kind {
  const char* extension;  // without the dot: "rmp"
  const char* suffix;     // of the default name: "_Ramp"
  const char* saveTitleKey;
  const char* openTitleKey;
  const char* saveErrorCaption;
};

void Raise(HRESULT hr);

// One channel of a kind's plot, in the order of the channels in its file.
struct ChannelRow {
  const char* name;
  const char* title;
  const char* xAxis;
  const char* yAxis;
  COLORREF color;
  int style;
};

// Tag, suffix, "_", year, "_", month, "_", day, "_", hour, "h_", minute,
// "m", "." and the extension; "/" and NUL of the tag become "_".
std::string DefaultFileName(const _bstr_t& tag, const Kind& kind, const plat::LocalTime& t);

// The tag as stored: one signed 8-bit Windows-1252 code a point.
std::vector<double> TagCodes(const _bstr_t& tag);
// Back from stored points: a code 0 (or a value that is no number) ends
// the text; no points at all read as "NO TAG".
_bstr_t TagText(const std::vector<double>& points);

// A stored number as text: shortest form that reads back to the same
// double, "." as decimal point (25 -> "25", 12.5 -> "12.5").
std::string NumberText(double value);
// A page's text as a number: leading number with ".", 0 when none.
double TextNumber(const _bstr_t& text);
// The low 8 bits of a stored value truncated toward zero; 0 for a value
// that is not a finite number in range.
int LowByte(double value);

// A stored date, month "/" day "/" year, each part truncated toward zero
// as an unsigned 16-bit number: "3/7/2009".
std::string DateText(double month, double day, double year);

// The ramp files' unit codes as texts: stroke 49 "mm", 57 "%", 143 "deg",
// any other "in."; area 1 square centimetres, any other square inches.
const char* RampStrokeUnitText(int code);
const char* RampAreaUnitText(int code);

// A channel found by name afresh for every use; a missing one fails at
// its first use with E_POINTER.
double PointY(CFileFunctions& cf, IiXYPlotXPtr& plot, const _bstr_t& channel, LONG index);
std::vector<double> AllY(CFileFunctions& cf, IiXYPlotXPtr& plot, const _bstr_t& channel);
void ReplacePoints(CFileFunctions& cf, IiXYPlotXPtr& plot, const _bstr_t& channel, const std::vector<double>& ys);

// Shows the save dialog and, on OK, runs fill (settings and tag points,
// given the clock read after the dialog) and writes the settings file and
// the data file whole; any failure after the dialog shows the save error.
void Save(CFileFunctions& cf, IiXYPlotXPtr& plot, const Kind& kind, const _bstr_t& tag,
          const std::function<void(const plat::LocalTime&)>& fill);

// Shows the open dialog and, on OK, reads the file aside with its settings
// file (the plot's present settings stay when that is not the test's own),
// refuses a data file not laid out as `layout` (another kind's) or holding
// a number that is not finite, and runs read on the plot the file was read
// into: it reads what it needs and gives what stores it. Only then does the
// plot take the file over, and the store runs. Any failure after the dialog
// shows the open error and gives false; the plot and the fields stay as
// they were.
bool Open(CFileFunctions& cf, IiXYPlotXPtr& plot, const Kind& kind, const plotfile::FileLayout& layout,
          const std::function<std::function<void()>(IiXYPlotXPtr& file)>& read);

}  // namespace testfile
