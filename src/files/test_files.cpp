// The shared mechanism of the ramp and step test files.
#include "files/test_files.h"

#include "common/file_names.h"
#include "files/plot_file_kit.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>

#include "platform/com/cp1252.h"
#include "platform/sys/numeric.h"
#include "platform/win/person.h"
#include "support/language_table.h"

namespace testfile {
namespace {

_bstr_t Title(const char* key) { return TheLanguageTable().Lookup(key); }

}  // namespace

void Raise(HRESULT hr) {
  if (FAILED(hr)) _com_issue_error(hr);
}

std::string DefaultFileName(const _bstr_t& tag, const Kind& kind, const plat::LocalTime& t) {
  return StampedFileName(tag, std::string(kind.suffix) + "_", t) + "." + kind.extension;
}

std::vector<double> TagCodes(const _bstr_t& tag) {
  std::vector<double> codes;
  for (const char code : plat::Utf16To1252(tag.view())) codes.push_back(static_cast<signed char>(code));
  return codes;
}

_bstr_t TagText(const std::vector<double>& points) {
  if (points.empty()) return _bstr_t("NO TAG");
  std::string codes;
  for (const double y : points) {
    const int code = LowByte(y);
    if (code == 0) break;
    codes += static_cast<char>(code);
  }
  return _bstr_t(plat::Cp1252ToUtf16(codes));
}

std::string NumberText(double value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

double TextNumber(const _bstr_t& text) {
  const char* s = text;
  return s ? plat::StrToD(s, nullptr) : 0.0;
}

std::string DateText(double month, double day, double year) {
  const auto part = [](double value) {
    if (!std::isfinite(value) || std::fabs(value) >= 9.0e18) return std::string("0");
    return std::to_string(static_cast<std::uint16_t>(static_cast<long long>(value)));
  };
  return part(month) + "/" + part(day) + "/" + part(year);
}

int LowByte(double value) {
  if (!std::isfinite(value) || std::fabs(value) >= 9.0e18) return 0;
  return static_cast<int>(static_cast<long long>(value) & 0xFF);
}

void Save(CFileFunctions& cf, IiXYPlotXPtr& plot, const Kind& kind, const _bstr_t& tag,
          const std::function<void(const plat::LocalTime&)>& fill) {
  const std::optional<std::string> path =
      plotfile::AskSave(kind.extension, DefaultFileName(tag, kind, plat::Time().Now()), Title(kind.saveTitleKey));
  if (!path) return;
  try {
    const std::string settingsFile = plotfile::StemOf(cf, *path) + ".prp";
    fill(plat::Time().Now());
    plotfile::WriteWhole(plot.GetInterfacePtr(), *path, settingsFile);
  } catch (const std::exception&) {
    MessageBox(nullptr, "File save error.", kind.saveErrorCaption, MB_OK);
  }
}

bool Open(CFileFunctions& cf, IiXYPlotXPtr& plot, const Kind& kind, const plotfile::FileLayout& layout,
          const std::function<std::function<void()>(IiXYPlotXPtr& file)>& read) {
  const std::optional<std::string> path = plotfile::AskOpen(kind.extension, Title(kind.openTitleKey));
  if (!path) return false;
  return plotfile::OpenOrRefuse("File open error.", [&] {
    const std::string folder = plotfile::FolderOf(cf, *path);
    const std::string settingsFile = plotfile::StemOf(cf, *path) + ".prp";
    plotfile::KeepSettingsAs(plot.GetInterfacePtr(), folder + "default.prp");
    plotfile::FileRead file(plot);
    file.LoadData(*path);
    file.LoadSettings(settingsFile);
    file.Check(&layout);
    const std::function<void()> store = read(file.Plot());
    file.TakeOver();
    store();
  });
}

}  // namespace testfile

int CFileFunctions::SplitFilePath(_bstr_t path) {
  const std::string text = path.str();
  if (text.empty() || text.back() == '/' || text.find('\0') != std::string::npos) return EINVAL;
  const size_t slash = text.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : text.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? text : text.substr(slash + 1);
  const size_t dot = name.rfind('.');
  m_szSplitDrive.clear();
  m_szSplitDir = folder;
  m_szSplitName = dot == std::string::npos ? name : name.substr(0, dot);
  m_szSplitExt = dot == std::string::npos ? std::string() : name.substr(dot);
  m_strPathParts = {_bstr_t(m_szSplitDrive), _bstr_t(m_szSplitDir), _bstr_t(m_szSplitName), _bstr_t(m_szSplitExt)};
  return 0;
}
