#include "files/plot_file_kit.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

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

void LoadPair(IPlotBase* plot, const std::string& dataPath, const std::string& settingsPath,
              const std::string& fallBackSettings) {
  Raise(plot->ClearAllData());
  Raise(plot->LoadDataFromFile(dataPath.c_str()));
  _bstr_t dataStamp, settingsStamp;
  Raise(plot->GetFileStamp(&dataStamp));
  const bool own = SUCCEEDED(plot->LoadPropertiesFromFile(settingsPath.c_str())) &&
                   SUCCEEDED(plot->GetFileStamp(&settingsStamp)) && SameStamp(dataStamp, settingsStamp);
  if (!own) Raise(plot->LoadPropertiesFromFile(fallBackSettings.c_str()));
}

std::string FolderOf(CFileFunctions& cf, const std::string& path) {
  Split(cf, path);
  return cf.m_strPathParts[0].str() + cf.m_strPathParts[1].str();
}

std::string StemOf(CFileFunctions& cf, const std::string& path) {
  const std::string folder = FolderOf(cf, path);
  return folder + cf.m_strPathParts[2].str();
}

SettingsSnapshot::SettingsSnapshot(IPlotBase* plot) {
  const int fd = plat::CreateTempFile("settings-", ".prp", &m_path);
  if (fd < 0) _com_issue_error(STG_E_WRITEFAULT);
  ::close(fd);
  Raise(plot->SavePropertiesToFile(m_path.c_str()));
}

SettingsSnapshot::~SettingsSnapshot() { RemoveQuietly(m_path); }

void SettingsSnapshot::CopyTo(const std::string& target) const {
  std::string text;
  if (plat::ReadRegularFile(m_path, plat::kPlotFileCap, &text) != plat::ReadStatus::Ok) return;
  try {
    const std::string part = PartBeside(target);
    bool placed = plat::WriteRegularFile(part, text);
    if (placed) {
      std::error_code ec;
      fs::rename(part, target, ec);
      placed = !ec;
    }
    if (!placed) RemoveQuietly(part);
  } catch (const std::exception&) {
    // A folder that cannot be written keeps no copy.
  }
}

PlotSnapshot::PlotSnapshot(IPlotBase* plot) : m_plot(plot), m_settings(plot) {
  const int fd = plat::CreateTempFile("data-", ".dat", &m_dataPath);
  if (fd < 0) _com_issue_error(STG_E_WRITEFAULT);
  ::close(fd);
  const HRESULT hr = plot->SaveDataToFile(m_dataPath.c_str());
  if (FAILED(hr)) {
    RemoveQuietly(m_dataPath);
    Raise(hr);
  }
}

PlotSnapshot::~PlotSnapshot() { RemoveQuietly(m_dataPath); }

void PlotSnapshot::Restore() const noexcept {
  try {
    // Each load also takes its file's stamp back: both hold the one from before.
    m_plot->LoadPropertiesFromFile(m_settings.Path().c_str());
    m_plot->LoadDataFromFile(m_dataPath.c_str());
  } catch (const std::exception&) {
  }
}

bool OpenKeepingPlot(IPlotBase* plot, const std::string& errorText,
                     const std::function<void(const PlotSnapshot& before)>& load) {
  std::optional<PlotSnapshot> before;
  try {
    before.emplace(plot);
    load(*before);
    return true;
  } catch (const std::exception&) {
    MessageBox(nullptr, errorText.c_str(), "", MB_OK);
    // The page keeps showing what it showed before.
    if (before) before->Restore();
    return false;
  }
}

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
