#include "diagnostics/files/plot_file_kit.h"

#include <unistd.h>

#include <atomic>
#include <filesystem>

#include "platform/sys/paths.h"
#include "platform/win/person.h"

namespace fs = std::filesystem;
using testfile::Raise;

namespace plotfile {
namespace {

std::string TempBeside(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  return target + ".part" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
}

void RemoveQuietly(const std::string& path) {
  std::error_code ec;
  fs::remove(path, ec);
}

std::optional<std::string> Ask(bool open, const char* extension, const std::string& defaultName, const _bstr_t& title) {
  const std::string pattern = std::string("*.") + extension;
  const std::string filter = open ? pattern + "|" + pattern + "|" : "(" + pattern + ")|" + pattern + "|";
  CFileDialog dialog(open ? TRUE : FALSE, extension, open ? nullptr : defaultName.c_str(),
                     OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter.c_str(), nullptr);
  dialog.m_ofn.lpstrTitle = title;
  if (dialog.DoModal() != IDOK) return std::nullopt;
  return dialog.GetPathName();
}

void Split(CCommonFunctions& cf, const std::string& path) {
  if (cf.SplitFilePath(path.c_str()) != 0) _com_issue_error(E_INVALIDARG);
}

// One channel look-up for both plot kinds.
IiPlotChannelPtr ChannelOf(CCommonFunctions& cf, IiPlotXPtr& plot, const _bstr_t& name) {
  return cf.GetPlotChannelByName(plot, name);
}
IiXYPlotChannelPtr ChannelOf(CCommonFunctions& cf, IiXYPlotXPtr& plot, const _bstr_t& name) {
  return cf.GetXYPlotChannelByName(plot, name);
}

template <class Plot>
double PointOf(CCommonFunctions& cf, Plot& plot, const _bstr_t& channel, LONG index) {
  double y = 0;
  Raise(ChannelOf(cf, plot, channel)->GetY(index, &y));
  return y;
}

template <class Plot>
std::vector<double> AllOf(CCommonFunctions& cf, Plot& plot, const _bstr_t& channel) {
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
void ReplaceOf(CCommonFunctions& cf, Plot& plot, const _bstr_t& channel, const std::vector<double>& ys) {
  auto c = ChannelOf(cf, plot, channel);
  Raise(c->Clear());
  for (size_t i = 0; i < ys.size(); ++i) Raise(c->AddXY(static_cast<double>(i), ys[i], nullptr));
}

}  // namespace

double PointY(CCommonFunctions& cf, IiPlotXPtr& plot, const _bstr_t& channel, LONG index) {
  return PointOf(cf, plot, channel, index);
}
std::vector<double> AllY(CCommonFunctions& cf, IiPlotXPtr& plot, const _bstr_t& channel) {
  return AllOf(cf, plot, channel);
}
void ReplacePoints(CCommonFunctions& cf, IiPlotXPtr& plot, const _bstr_t& channel, const std::vector<double>& ys) {
  ReplaceOf(cf, plot, channel, ys);
}

std::optional<std::string> AskSave(const char* extension, const std::string& defaultName, const _bstr_t& title) {
  return Ask(false, extension, defaultName, title);
}

std::optional<std::string> AskOpen(const char* extension, const _bstr_t& title) {
  return Ask(true, extension, {}, title);
}

void WriteWhole(IPlotBase* plot, const std::string& dataPath, const std::string& settingsPath) {
  std::vector<std::pair<std::string, std::string>> files;  // temporary, target
  try {
    if (!settingsPath.empty()) {
      files.emplace_back(TempBeside(settingsPath), settingsPath);
      Raise(plot->SavePropertiesToFile(files.back().first.c_str()));
    }
    files.emplace_back(TempBeside(dataPath), dataPath);
    Raise(plot->SaveDataToFile(files.back().first.c_str()));
    for (auto& [temp, target] : files) {
      std::error_code ec;
      fs::rename(temp, target, ec);
      if (ec) _com_issue_error(STG_E_WRITEFAULT);
      temp.clear();
    }
  } catch (...) {
    for (const auto& [temp, target] : files)
      if (!temp.empty()) RemoveQuietly(temp);
    throw;
  }
}

std::string FolderOf(CCommonFunctions& cf, const std::string& path) {
  Split(cf, path);
  return cf.m_strPathParts[0].str() + cf.m_strPathParts[1].str();
}

std::string StemOf(CCommonFunctions& cf, const std::string& path) {
  const std::string folder = FolderOf(cf, path);
  return folder + cf.m_strPathParts[2].str();
}

SettingsSnapshot::SettingsSnapshot(IPlotBase* plot)
    : m_path(TempBeside(plat::TempDirectory() + "settings.prp")) {
  Raise(plot->SavePropertiesToFile(m_path.c_str()));
}

SettingsSnapshot::~SettingsSnapshot() { RemoveQuietly(m_path); }

void SettingsSnapshot::CopyTo(const std::string& target) const {
  const std::string temp = TempBeside(target);
  std::error_code ec;
  if (fs::copy_file(m_path, temp, fs::copy_options::overwrite_existing, ec)) fs::rename(temp, target, ec);
  if (ec) RemoveQuietly(temp);
}

}  // namespace plotfile

namespace testfile {

double PointY(CCommonFunctions& cf, IiXYPlotXPtr& plot, const _bstr_t& channel, LONG index) {
  return plotfile::PointOf(cf, plot, channel, index);
}
std::vector<double> AllY(CCommonFunctions& cf, IiXYPlotXPtr& plot, const _bstr_t& channel) {
  return plotfile::AllOf(cf, plot, channel);
}
void ReplacePoints(CCommonFunctions& cf, IiXYPlotXPtr& plot, const _bstr_t& channel, const std::vector<double>& ys) {
  plotfile::ReplaceOf(cf, plot, channel, ys);
}

}  // namespace testfile
