#include "files/plot_file_kit.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <type_traits>
#include <vector>

#include "platform/sys/safe_file.h"
#include "platform/win/person.h"

namespace fs = std::filesystem;
using testfile::Raise;

namespace plotfile {
namespace {

std::function<bool()>& AfterRenameHook() {
  static std::function<bool()> hook;
  return hook;
}

// The process id in "<pid>-<16 hex digits>", or 0 when the text is not that.
long PartOwner(const std::string& rest) {
  const size_t dash = rest.find('-');
  const bool shaped = dash > 0 && dash != std::string::npos && rest.size() == dash + 17 &&
                      rest.find_first_not_of("0123456789") == dash &&
                      rest.find_first_not_of("0123456789abcdef", dash + 1) == std::string::npos;
  return shaped ? std::strtol(rest.c_str(), nullptr, 10) : 0;
}

// What an earlier save of the target left behind when its process died:
// "<target>.part-<pid>-<16 hex>" of a process that is gone, or of this one
// (saves do not overlap, so none of this process's is still being written).
void RemoveStaleParts(const std::string& target) {
  const fs::path path(target);
  const std::string prefix = path.filename().string() + ".part-";
  std::error_code ec;
  for (fs::directory_iterator it(path.parent_path().empty() ? fs::path(".") : path.parent_path(), ec), end;
       !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    const long pid = PartOwner(name.substr(prefix.size()));
    if (pid <= 0) continue;
    if (pid == ::getpid() || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)) {
      std::error_code ignored;
      fs::remove(it->path(), ignored);
    }
  }
}

// A new, empty file beside the target that only this save uses.
std::string PartBeside(const std::string& target) {
  std::string part;
  const int fd = plat::CreateUniqueFile(target + ".part-" + std::to_string(::getpid()) + "-", "", 0666, &part);
  if (fd < 0) _com_issue_error(STG_E_WRITEFAULT);
  ::close(fd);
  return part;
}

std::string FolderOfPath(const std::string& path) { return fs::path(path).parent_path().string(); }

bool SameStamp(const _bstr_t& a, const _bstr_t& b) {
  return a.is_null() == b.is_null() && a.view() == b.view();
}

void RemoveQuietly(const std::string& path) {
  std::error_code ec;
  fs::remove(path, ec);
}

// The test pages' open filter describes the pattern bare, every other "(*.ext)".
std::optional<std::string> Ask(bool open, const char* extension, const std::string& defaultName, const _bstr_t& title,
                               bool bareFilter) {
  const std::string pattern = std::string("*.") + extension;
  const std::string filter = bareFilter ? pattern + "|" + pattern + "|" : "(" + pattern + ")|" + pattern + "|";
  CFileDialog dialog(open ? TRUE : FALSE, extension, open ? nullptr : defaultName.c_str(),
                     OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter.c_str(), nullptr);
  dialog.m_ofn.lpstrTitle = title;
  if (dialog.DoModal() != IDOK) return std::nullopt;
  return dialog.GetPathName();
}

void Split(CFileFunctions& cf, const std::string& path) {
  if (cf.SplitFilePath(path.c_str()) != 0) _com_issue_error(E_INVALIDARG);
}

// One channel look-up for both plot kinds.
IiPlotChannelPtr ChannelOf(CFileFunctions& cf, IiPlotXPtr& plot, const _bstr_t& name) {
  return cf.GetPlotChannelByName(plot, name);
}
IiXYPlotChannelPtr ChannelOf(CFileFunctions& cf, IiXYPlotXPtr& plot, const _bstr_t& name) {
  return cf.GetXYPlotChannelByName(plot, name);
}

template <class Plot>
double PointOf(CFileFunctions& cf, Plot& plot, const _bstr_t& channel, LONG index) {
  double y = 0;
  Raise(ChannelOf(cf, plot, channel)->GetY(index, &y));
  return y;
}

template <class Plot>
std::vector<double> AllOf(CFileFunctions& cf, Plot& plot, const _bstr_t& channel) {
  std::vector<double> ys;
  for (LONG i = 0;; ++i) {
    LONG count = 0;
    Raise(ChannelOf(cf, plot, channel)->GetCount(&count));
    if (i >= count) break;
    ys.push_back(PointOf(cf, plot, channel, i));
  }
  return ys;
}

template <class Plot>
void ReplaceOf(CFileFunctions& cf, Plot& plot, const _bstr_t& channel, const std::vector<double>& ys) {
  auto c = ChannelOf(cf, plot, channel);
  Raise(c->Clear());
  for (size_t i = 0; i < ys.size(); ++i) Raise(c->AddXY(static_cast<double>(i), ys[i], nullptr));
}

// A channel of either plot kind as what both kinds offer.
class ChannelBase {
 public:
  explicit ChannelBase(const IDispatchPtr& channel) : m_time(channel), m_xy(channel) {
    if (!m_time && !m_xy) _com_issue_error(E_NOINTERFACE);
  }
  IPlotChannelBase* get() const {
    return m_time ? static_cast<IPlotChannelBase*>(m_time.GetInterfacePtr()) : m_xy.GetInterfacePtr();
  }
  IPlotChannelBase* operator->() const { return get(); }

 private:
  IiPlotChannelPtr m_time;
  IiXYPlotChannelPtr m_xy;
};

ChannelBase ChannelOf(IPlotBase* plot, LONG index) {
  IDispatchPtr channel;
  Raise(plot->GetChannel(index, &channel));
  return ChannelBase(channel);
}

// Every point of every channel, by channel; fails when one cannot be read.
std::vector<ChannelPoints> ReadPoints(IPlotBase* plot) {
  LONG channels = 0;
  Raise(plot->GetChannelCount(&channels));
  std::vector<ChannelPoints> all(static_cast<size_t>(channels));
  for (LONG i = 0; i < channels; ++i) {
    const ChannelBase channel = ChannelOf(plot, i);
    LONG count = 0;
    Raise(channel->GetCount(&count));
    ChannelPoints& points = all[static_cast<size_t>(i)];
    points.x.reserve(static_cast<size_t>(count));
    points.y.reserve(static_cast<size_t>(count));
    for (LONG k = 0; k < count; ++k) {
      double x = 0, y = 0;
      if (FAILED(channel->GetX(k, &x)) || FAILED(channel->GetY(k, &y))) _com_issue_error(E_FAIL);
      points.x.push_back(x);
      points.y.push_back(y);
    }
  }
  return all;
}

void RequireFinite(const std::vector<ChannelPoints>& all) {
  for (const ChannelPoints& channel : all)
    for (size_t k = 0; k < channel.x.size(); ++k)
      if (!std::isfinite(channel.x[k]) || !std::isfinite(channel.y[k])) _com_issue_error(E_FAIL);
}

std::vector<_bstr_t> AxisNames(IPlotBase* plot, bool x) {
  LONG count = 0;
  Raise(x ? plot->GetXAxisCount(&count) : plot->GetYAxisCount(&count));
  std::vector<_bstr_t> names(static_cast<size_t>(count));
  for (LONG i = 0; i < count; ++i) Raise(Axis(plot, x, i)->GetName(&names[static_cast<size_t>(i)]));
  return names;
}

// Whether every range setting of every axis is a finite number.
bool FiniteAxes(IPlotBase* plot) {
  using Getter = HRESULT (IiPlotAxis::*)(double*);
  constexpr Getter kNumbers[] = {&IiPlotAxis::GetMin,       &IiPlotAxis::GetSpan,     &IiPlotAxis::GetStartValue,
                                 &IiPlotAxis::GetIncrement, &IiPlotAxis::GetLimitLow, &IiPlotAxis::GetLimitHigh};
  for (const bool x : {true, false}) {
    LONG count = 0;
    Raise(x ? plot->GetXAxisCount(&count) : plot->GetYAxisCount(&count));
    for (LONG i = 0; i < count; ++i) {
      const IiPlotAxisPtr axis = Axis(plot, x, i);
      for (const Getter number : kNumbers) {
        double value = 0;
        if (FAILED(((*axis).*number)(&value)) || !std::isfinite(value)) return false;
      }
    }
  }
  return true;
}

// The shown plot's channel and axis names given to `plot`, by position.
void NameAs(IPlotBase* plot, IPlotBase* shown) {
  LONG channels = 0;
  Raise(shown->GetChannelCount(&channels));
  for (LONG i = 0; i < channels; ++i) {
    _bstr_t name;
    Raise(ChannelOf(shown, i)->GetName(&name));
    Raise(ChannelOf(plot, i)->SetName(name));
  }
  for (const bool x : {true, false}) {
    const std::vector<_bstr_t> names = AxisNames(shown, x);
    for (size_t i = 0; i < names.size(); ++i) Raise(Axis(plot, x, static_cast<LONG>(i))->SetName(names[i]));
  }
}

// A new plot of the shown plot's kind, with as many channels and axes under
// the same names; nothing else of the shown plot.
template <class PlotPtr>
PlotPtr ShapedAs(PlotPtr& shown) {
  IUnknownPtr control;
  Raise(control.CreateInstance(std::is_same_v<PlotPtr, IiPlotXPtr> ? kPlotProgId : kXYPlotProgId));
  PlotPtr plot(control);
  if (!plot) _com_issue_error(E_NOINTERFACE);
  LONG channels = 0, xAxes = 0, yAxes = 0, have = 0;
  Raise(shown->GetChannelCount(&channels));
  Raise(plot->RemoveAllChannels());
  for (LONG i = 0; i < channels; ++i) Raise(plot->AddChannel(nullptr));
  Raise(shown->GetXAxisCount(&xAxes));
  for (Raise(plot->GetXAxisCount(&have)); have < xAxes; ++have) Raise(plot->AddXAxis(nullptr));
  Raise(shown->GetYAxisCount(&yAxes));
  for (Raise(plot->GetYAxisCount(&have)); have < yAxes; ++have) Raise(plot->AddYAxis(nullptr));
  NameAs(plot.GetInterfacePtr(), shown.GetInterfacePtr());
  return plot;
}

}  // namespace

void ShowAxes(IiXYPlotXPtr& plot, std::initializer_list<NamedAxis> axes, bool show) {
  const VARIANT_BOOL flag = show ? VARIANT_TRUE : VARIANT_FALSE;
  for (const NamedAxis& a : axes) Raise(AxisByName(plot, a.x, a.name)->SetVisible(flag));
  for (const NamedAxis& a : axes) Raise(AxisByName(plot, a.x, a.name)->SetEnabled(flag));
}

void GridAxes(IiXYPlotXPtr& plot, const char* x, const char* y) {
  IiPlotDataViewPtr view;
  Raise(plot->GetDataView(0, &view));
  Raise(view->SetXAxisName(x));
  Raise(view->SetYAxisName(y));
}

double PointY(CFileFunctions& cf, IiPlotXPtr& plot, const _bstr_t& channel, LONG index) {
  return PointOf(cf, plot, channel, index);
}
std::vector<double> AllY(CFileFunctions& cf, IiPlotXPtr& plot, const _bstr_t& channel) {
  return AllOf(cf, plot, channel);
}
void ReplacePoints(CFileFunctions& cf, IiPlotXPtr& plot, const _bstr_t& channel, const std::vector<double>& ys) {
  ReplaceOf(cf, plot, channel, ys);
}

void RequireLayout(IPlotBase* plot, const FileLayout& layout) {
  _bstr_t kind;
  LONG count = 0;
  Raise(plot->GetFileLayout(&kind, &count));
  if (kind.str() != (layout.xy ? "xy" : "time") || count < 0 || static_cast<size_t>(count) != layout.channels.size())
    _com_issue_error(E_FAIL);
  for (LONG i = 0; i < count; ++i) {
    _bstr_t name;
    Raise(plot->GetFileChannelName(i, &name));
    if (name.str() != layout.channels[static_cast<size_t>(i)].name) _com_issue_error(E_FAIL);
  }
}

std::optional<std::string> AskSave(const char* extension, const std::string& defaultName, const _bstr_t& title) {
  return Ask(false, extension, defaultName, title, false);
}

std::optional<std::string> AskOpen(const char* extension, const _bstr_t& title) {
  return Ask(true, extension, {}, title, true);
}

std::optional<std::string> AskCompareOpen(const char* extension, const _bstr_t& title) {
  return Ask(true, extension, {}, title, false);
}

void WriteWhole(IPlotBase* plot, const std::string& dataPath, const std::string& settingsPath) {
  std::vector<std::pair<std::string, std::string>> files;  // part, target
  try {
    // One stamp in both files tells a pair from two halves of two saves.
    Raise(plot->SetFileStamp(plat::UniqueToken().c_str()));
    if (!settingsPath.empty()) {
      RemoveStaleParts(settingsPath);
      files.emplace_back(PartBeside(settingsPath), settingsPath);
      Raise(plot->SavePropertiesToFile(files.back().first.c_str()));
    }
    RemoveStaleParts(dataPath);
    files.emplace_back(PartBeside(dataPath), dataPath);
    Raise(plot->SaveDataToFile(files.back().first.c_str()));
    for (const auto& [part, target] : files)
      if (!plat::SyncFolder(FolderOfPath(target))) _com_issue_error(STG_E_WRITEFAULT);
    // The data file holds the test and goes last: until it is in place the
    // old data stays, and the new settings do not match its stamp.
    for (auto& [part, target] : files) {
      std::error_code ec;
      fs::rename(part, target, ec);
      if (ec) _com_issue_error(STG_E_WRITEFAULT);
      part.clear();
      if (AfterRenameHook() && !AfterRenameHook()()) return;
    }
    for (const auto& [part, target] : files) plat::SyncFolder(FolderOfPath(target));
  } catch (...) {
    for (const auto& [part, target] : files)
      if (!part.empty()) RemoveQuietly(part);
    throw;
  }
}

void SetAfterRenameHookForTests(std::function<bool()> hook) { AfterRenameHook() = std::move(hook); }

std::string FolderOf(CFileFunctions& cf, const std::string& path) {
  Split(cf, path);
  return cf.m_strPathParts[0].str() + cf.m_strPathParts[1].str();
}

std::string StemOf(CFileFunctions& cf, const std::string& path) {
  const std::string folder = FolderOf(cf, path);
  return folder + cf.m_strPathParts[2].str();
}

void KeepSettingsAs(IPlotBase* plot, const std::string& target) {
  try {
    const std::string part = PartBeside(target);
    std::error_code ec;
    if (SUCCEEDED(plot->SavePropertiesToFile(part.c_str()))) fs::rename(part, target, ec);
    if (ec || fs::exists(part, ec)) RemoveQuietly(part);
  } catch (const std::exception&) {
    // A folder that cannot be written keeps no copy.
  }
}

void RequireFinite(IPlotBase* plot) { RequireFinite(ReadPoints(plot)); }

bool OpenOrRefuse(const std::string& errorText, const std::function<void()>& open) {
  try {
    open();
    return true;
  } catch (const std::exception&) {
    MessageBox(nullptr, errorText.c_str(), "", MB_OK);
    return false;
  }
}

template <class PlotPtr>
FileRead<PlotPtr>::FileRead(PlotPtr& shown) : m_shown(shown), m_read(ShapedAs(shown)) {}

template <class PlotPtr>
FileRead<PlotPtr>::~FileRead() {
  if (m_updating) m_shown->EndUpdate();
}

template <class PlotPtr>
void FileRead<PlotPtr>::LoadData(const std::string& dataPath) {
  Raise(m_read->LoadDataFromFile(dataPath.c_str()));
}

template <class PlotPtr>
void FileRead<PlotPtr>::LoadSettings(const std::string& settingsPath) {
  _bstr_t dataStamp, settingsStamp;
  Raise(m_read->GetFileStamp(&dataStamp));
  const bool own = SUCCEEDED(m_read->LoadPropertiesFromFile(settingsPath.c_str())) &&
                   SUCCEEDED(m_read->GetFileStamp(&settingsStamp)) && SameStamp(dataStamp, settingsStamp) &&
                   AxisNames(m_read, true) == AxisNames(m_shown, true) &&
                   AxisNames(m_read, false) == AxisNames(m_shown, false) && FiniteAxes(m_read);
  if (own) {
    m_settingsPath = settingsPath;
    return;
  }
  // The file's channels are read under the names the shown plot gives them.
  m_settingsAside = true;
  NameAs(m_read, m_shown);
  Raise(m_read->SetFileStamp(dataStamp));
}

template <class PlotPtr>
void FileRead<PlotPtr>::Check(const FileLayout* layout) {
  if (layout) RequireLayout(m_read, *layout);
  Gather();
  RequireFinite(m_points);
}

template <class PlotPtr>
void FileRead<PlotPtr>::Gather() {
  m_points = ReadPoints(m_read);
}

template <class PlotPtr>
void FileRead<PlotPtr>::TakeOver() {
  // The settings first: a settings file gone since it was read fails here,
  // while the shown plot is still as it was.
  if (!m_settingsPath.empty()) Raise(m_shown->LoadPropertiesFromFile(m_settingsPath.c_str()));
  // Drawn once, when the open is over.
  Raise(m_shown->BeginUpdate());
  m_updating = true;
  Raise(m_shown->ClearAllData());
  for (size_t i = 0; i < m_points.size(); ++i) {
    const ChannelBase channel = ChannelOf(m_shown, static_cast<LONG>(i));
    IPlotChannelBase* const to = channel.get();
    const ChannelPoints& points = m_points[i];
    for (size_t k = 0; k < points.x.size(); ++k)
      if (const HRESULT hr = to->AddXY(points.x[k], points.y[k], nullptr); FAILED(hr)) _com_issue_error(hr);
  }
  if (!m_settingsAside) {
    _bstr_t stamp;
    Raise(m_read->GetFileStamp(&stamp));
    Raise(m_shown->SetFileStamp(stamp));
  }
}

template class FileRead<IiPlotXPtr>;
template class FileRead<IiXYPlotXPtr>;

}  // namespace plotfile

namespace testfile {

double PointY(CFileFunctions& cf, IiXYPlotXPtr& plot, const _bstr_t& channel, LONG index) {
  return plotfile::PointOf(cf, plot, channel, index);
}
std::vector<double> AllY(CFileFunctions& cf, IiXYPlotXPtr& plot, const _bstr_t& channel) {
  return plotfile::AllOf(cf, plot, channel);
}
void ReplacePoints(CFileFunctions& cf, IiXYPlotXPtr& plot, const _bstr_t& channel, const std::vector<double>& ys) {
  plotfile::ReplaceOf(cf, plot, channel, ys);
}

}  // namespace testfile
