#pragma once
// What every test file kind writes and reads through: storage channels of
// the time plot (those of the XY plot are in test_files.h), the file
// dialogs, a whole-or-nothing write of one or two plot files, and an open
// that reads and checks a file before the shown plot takes it over.
#include <array>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "files/test_files.h"

namespace plotfile {

// A channel of the time plot found by name afresh for every use; a missing
// one fails at its first use with E_POINTER.
double PointY(CFileFunctions& cf, IiPlotXPtr& plot, const _bstr_t& channel, LONG index);
std::vector<double> AllY(CFileFunctions& cf, IiPlotXPtr& plot, const _bstr_t& channel);
void ReplacePoints(CFileFunctions& cf, IiPlotXPtr& plot, const _bstr_t& channel, const std::vector<double>& ys);

// Axes of either plot kind, by place or by name; a missing one fails.
template <class Plot>
IiPlotAxisPtr Axis(Plot& plot, bool x, LONG index) {
  IiPlotAxisPtr axis;
  testfile::Raise(x ? plot->GetXAxis(index, &axis) : plot->GetYAxis(index, &axis));
  return axis;
}
template <class Plot>
IiPlotAxisPtr AxisByName(Plot& plot, bool x, const char* name) {
  LONG index = -1;
  testfile::Raise(x ? plot->XAxisIndexByName(name, &index) : plot->YAxisIndexByName(name, &index));
  return Axis(plot, x, index);
}
// Shows or hides axes by both display flags: the first flag of each axis
// in the order given, then the second flags in the same order; each axis is
// found by name afresh for every flag.
struct NamedAxis {
  bool x;
  const char* name;
};
void ShowAxes(IiXYPlotXPtr& plot, std::initializer_list<NamedAxis> axes, bool show);
// The axes that data view 0's grid follows, X first.
void GridAxes(IiXYPlotXPtr& plot, const char* x, const char* y);
// The axis title in the plain weight.
inline void NotBold(IiPlotAxisPtr& axis) {
  IFontPtr font;
  testfile::Raise(axis->GetTitleFont(&font));
  testfile::Raise(font->put_Bold(FALSE));
  testfile::Raise(axis->SetTitleFont(font.GetInterfacePtr()));
}

// The rows' channels made afresh as "Channel 1", "Channel 2", ... and set
// up by the CFileFunctions channel set-up `setUp`; those from
// `firstHidden` on are storage and stay hidden, in the legend too.
template <class Plot, class SetUp, size_t N>
void LayOutChannels(CFileFunctions& cf, Plot& plot, const std::array<testfile::ChannelRow, N>& rows,
                    size_t firstHidden, SetUp setUp) {
  testfile::Raise(plot->RemoveAllChannels());
  // A failed add shows where its channel is looked up by its default name.
  for (size_t i = 0; i < N; ++i) plot->AddChannel(nullptr);
  std::vector<decltype((cf.*setUp)(plot, "", "", "", 0, "", "", 0))> made;
  for (size_t i = 0; i < N; ++i) {
    const testfile::ChannelRow& r = rows[i];
    made.push_back((cf.*setUp)(plot, ("Channel " + std::to_string(i + 1)).c_str(), r.name, r.title, r.color, r.xAxis,
                               r.yAxis, r.style));
  }
  for (size_t i = firstHidden; i < N; ++i) {
    testfile::Raise(made[i]->SetVisible(VARIANT_FALSE));
    testfile::Raise(made[i]->SetVisibleInLegend(VARIANT_FALSE));
  }
}

// A kind's data file as its saver writes it: the plot kind and the
// channels in file order, under the names of the saving plot. A plot loads
// any file by position, so only this tells one kind's file from another's.
struct FileLayout {
  bool xy;
  std::span<const testfile::ChannelRow> channels;
};
extern const FileLayout kRampFile, kStepFile, kPSTFile, kHDRLFile;
// Fails with E_FAIL unless the data file the plot loaded last is laid out
// so: the same plot kind and the same channel names in the same order.
void RequireLayout(IPlotBase* plot, const FileLayout& layout);

// The file dialogs: save filter "(*.ext)|*.ext|", open filter
// "*.ext|*.ext|", flags hide-read-only and overwrite-prompt. The full path
// chosen, or nothing on cancel.
std::optional<std::string> AskSave(const char* extension, const std::string& defaultName, const _bstr_t& title);
std::optional<std::string> AskOpen(const char* extension, const _bstr_t& title);
// The comparison pages' open dialog: the save dialogs' filter "(*.ext)|*.ext|".
std::optional<std::string> AskCompareOpen(const char* extension, const _bstr_t& title);

// The plot's data file, and its properties file when settingsPath is not
// empty, written beside their targets, flushed, and renamed into place only
// when both were written: an old file stays whole when anything fails. Both
// carry one new file stamp; the settings file is renamed first, so a save
// cut short between the renames leaves the old data file, which the new
// settings do not match. Parts left by dead saves of the targets go.
void WriteWhole(IPlotBase* plot, const std::string& dataPath, const std::string& settingsPath = {});

// For tests: asked after each rename of WriteWhole whether the save goes
// on; false stands for the process dying right there. Empty: always on.
void SetAfterRenameHookForTests(std::function<bool()> hook);

// The chosen file's folder and title (from CFileFunctions::SplitFilePath);
// fails with E_INVALIDARG when the path cannot be split.
std::string FolderOf(CFileFunctions& cf, const std::string& path);
std::string StemOf(CFileFunctions& cf, const std::string& path);

// The plot's present display settings written as `target` (beside the
// test being opened), where that folder can be written; nothing otherwise.
void KeepSettingsAs(IPlotBase* plot, const std::string& target);

// The points of one channel, in their order.
struct ChannelPoints {
  std::vector<double> x, y;
};

// Fails with E_FAIL unless every point of every channel is a finite number.
void RequireFinite(IPlotBase* plot);

// An open: any failure of `open` shows errorText (caption "", MB_OK) and
// gives false.
bool OpenOrRefuse(const std::string& errorText, const std::function<void()>& open);

// A file read aside: into a plot of its own, of the shown plot's kind and
// with as many channels and axes under the same names, where it is checked
// whole. The shown plot changes only in TakeOver, once the file was found
// good; no copy of the shown plot is written anywhere.
template <class PlotPtr>
class FileRead {
 public:
  explicit FileRead(PlotPtr& shown);
  ~FileRead();
  FileRead(const FileRead&) = delete;
  FileRead& operator=(const FileRead&) = delete;
  // The plot the file is read into; a kind reads its fields from it.
  PlotPtr& Plot() { return m_read; }
  // Loads the data file; fails as the plot's load does.
  void LoadData(const std::string& dataPath);
  // Takes the settings file too when it is the test's own: it loads,
  // carries the data file's stamp (files without stamps match), keeps the
  // shown plot's axis names and gives its axes finite ranges. Any other is
  // left aside: the shown plot keeps its own settings and file stamp.
  void LoadSettings(const std::string& settingsPath);
  // Fails with E_FAIL unless the data file is laid out as `layout` (when
  // given) and every point is a finite number. Keeps the points for
  // TakeOver.
  void Check(const FileLayout* layout);
  // Keeps the points again, after a kind changed them in the reading plot.
  void Gather();
  // The shown plot takes the settings file (when the test's own), the data
  // file's stamp and the points kept; it is drawn again once this read is
  // over, after what the kind does to it then.
  void TakeOver();

 private:
  PlotPtr& m_shown;
  PlotPtr m_read;
  std::string m_settingsPath;  // the test's own settings file, or empty
  bool m_settingsAside = false;
  bool m_updating = false;
  std::vector<ChannelPoints> m_points;  // by channel
};

}  // namespace plotfile
