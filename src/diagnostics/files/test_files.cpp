// The shared mechanism of the ramp and step test files.
#include "diagnostics/files/test_files.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <optional>

#include "platform/sys/numeric.h"
#include "platform/sys/paths.h"
#include "platform/win/person.h"
#include "shell/language_table.h"

namespace fs = std::filesystem;

namespace testfile {
namespace {

constexpr DWORD kDialogFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;

// Windows-1252 codes 0x80..0x9F; the five unassigned codes keep their own
// value so that every byte round-trips.
constexpr char16_t kHigh1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

unsigned char To1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
  for (int i = 0; i < 32; ++i)
    if (kHigh1252[i] == c) return static_cast<unsigned char>(0x80 + i);
  return '?';
}

char16_t From1252(unsigned char b) { return b >= 0x80 && b < 0xA0 ? kHigh1252[b - 0x80] : b; }

// A file beside the target that no other writer uses.
std::string TempBeside(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  return target + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
}

void RemoveQuietly(const std::string& path) {
  std::error_code ec;
  fs::remove(path, ec);
}

// Temporary files that are removed unless they were renamed into place.
class PendingFiles {
 public:
  ~PendingFiles() {
    for (const auto& [temp, target] : m_files) RemoveQuietly(temp);
  }
  std::string Add(const std::string& target) {
    m_files.emplace_back(TempBeside(target), target);
    return m_files.back().first;
  }
  // Every file into place, or an exception.
  void Commit() {
    for (auto& [temp, target] : m_files) {
      std::error_code ec;
      fs::rename(temp, target, ec);
      if (ec) _com_issue_error(STG_E_WRITEFAULT);
      temp.clear();
    }
  }

 private:
  std::vector<std::pair<std::string, std::string>> m_files;
};

// The plot's display settings as they were before an open, kept in the
// program's own temporary folder so that a read-only test folder does not
// stop the open.
class Snapshot {
 public:
  explicit Snapshot(IPlotBase* plot) : m_path(TempBeside(plat::TempDirectory() + "settings.prp")) {
    Raise(plot->SavePropertiesToFile(m_path.c_str()));
  }
  ~Snapshot() { RemoveQuietly(m_path); }
  Snapshot(const Snapshot&) = delete;
  Snapshot& operator=(const Snapshot&) = delete;
  const std::string& Path() const { return m_path; }
  // The fall-back settings file in the test's folder; where it cannot be
  // written the snapshot serves alone.
  void CopyTo(const std::string& target) const {
    const std::string temp = TempBeside(target);
    std::error_code ec;
    if (fs::copy_file(m_path, temp, fs::copy_options::overwrite_existing, ec)) fs::rename(temp, target, ec);
    if (ec) RemoveQuietly(temp);
  }

 private:
  std::string m_path;
};

_bstr_t Title(const char* key) { return TheLanguageTable().Lookup(key); }

std::optional<std::string> Ask(bool open, const Kind& kind, const std::string& defaultName) {
  const std::string pattern = std::string("*.") + kind.extension;
  const std::string filter = open ? pattern + "|" + pattern + "|" : "(" + pattern + ")|" + pattern + "|";
  const _bstr_t title = Title(open ? kind.openTitleKey : kind.saveTitleKey);
  CFileDialog dialog(open ? TRUE : FALSE, kind.extension, open ? nullptr : defaultName.c_str(), kDialogFlags,
                     filter.c_str(), nullptr);
  dialog.m_ofn.lpstrTitle = title;
  if (dialog.DoModal() != IDOK) return std::nullopt;
  return dialog.GetPathName();
}

// Folder and title of the chosen file, from the split.
std::string Stem(const CCommonFunctions& cf) {
  return cf.m_strPathParts[0].str() + cf.m_strPathParts[1].str() + cf.m_strPathParts[2].str();
}

void Split(CCommonFunctions& cf, const std::string& path) {
  if (cf.SplitFilePath(path.c_str()) != 0) _com_issue_error(E_INVALIDARG);
}

}  // namespace

void Raise(HRESULT hr) {
  if (FAILED(hr)) _com_issue_error(hr);
}

std::string DefaultFileName(const _bstr_t& tag, const Kind& kind, const plat::LocalTime& t) {
  std::u16string safe(tag.view());
  for (char16_t& c : safe)
    if (c == u'/' || c == 0) c = u'_';
  return plat::Utf16ToUtf8(safe) + kind.suffix + "_" + std::to_string(t.year) + "_" + std::to_string(t.month) + "_" +
         std::to_string(t.day) + "_" + std::to_string(t.hour) + "h_" + std::to_string(t.minute) + "m." +
         kind.extension;
}

std::vector<double> TagCodes(const _bstr_t& tag) {
  std::vector<double> codes;
  const std::u16string_view text = tag.view();
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) ++i;  // a pair is one character
    if (c >= 0xD800 && c <= 0xDFFF) c = u'?';
    codes.push_back(static_cast<signed char>(To1252(c)));
  }
  return codes;
}

_bstr_t TagText(const std::vector<double>& points) {
  if (points.empty()) return _bstr_t("NO TAG");
  std::u16string text;
  for (const double y : points) {
    const int code = LowByte(y);
    if (code == 0) break;
    text += From1252(static_cast<unsigned char>(code));
  }
  return _bstr_t(text);
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

int LowByte(double value) {
  if (!std::isfinite(value) || std::fabs(value) >= 9.0e18) return 0;
  return static_cast<int>(static_cast<long long>(value) & 0xFF);
}

double PointY(CCommonFunctions& cf, IiXYPlotXPtr& plot, const _bstr_t& channel, LONG index) {
  double y = 0;
  Raise(cf.GetXYPlotChannelByName(plot, channel)->GetY(index, &y));
  return y;
}

std::vector<double> AllY(CCommonFunctions& cf, IiXYPlotXPtr& plot, const _bstr_t& channel) {
  std::vector<double> ys;
  for (LONG i = 0;; ++i) {
    LONG count = 0;
    Raise(cf.GetXYPlotChannelByName(plot, channel)->GetCount(&count));
    if (i >= count) break;
    ys.push_back(PointY(cf, plot, channel, i));
  }
  return ys;
}

void ReplacePoints(CCommonFunctions& cf, IiXYPlotXPtr& plot, const _bstr_t& channel, const std::vector<double>& ys) {
  IiXYPlotChannelPtr c = cf.GetXYPlotChannelByName(plot, channel);
  Raise(c->Clear());
  for (size_t i = 0; i < ys.size(); ++i) Raise(c->AddXY(static_cast<double>(i), ys[i], nullptr));
}

void Save(CCommonFunctions& cf, IiXYPlotXPtr& plot, const Kind& kind, const _bstr_t& tag,
          const std::function<void(const plat::LocalTime&)>& fill) {
  const std::optional<std::string> path = Ask(false, kind, DefaultFileName(tag, kind, plat::Time().Now()));
  if (!path) return;
  try {
    Split(cf, *path);
    const std::string settingsFile = Stem(cf) + ".prp";
    fill(plat::Time().Now());
    PendingFiles files;
    Raise(plot->SavePropertiesToFile(files.Add(settingsFile).c_str()));
    Raise(plot->SaveDataToFile(files.Add(*path).c_str()));
    files.Commit();
  } catch (const std::exception&) {
    MessageBox(nullptr, "File save error.", kind.saveErrorCaption, MB_OK);
  }
}

bool Open(CCommonFunctions& cf, IiXYPlotXPtr& plot, const Kind& kind, bool clearOnFailure,
          const std::function<void()>& read) {
  const std::optional<std::string> path = Ask(true, kind, {});
  if (!path) return false;
  std::optional<Snapshot> before;
  try {
    Split(cf, *path);
    const std::string folder = cf.m_strPathParts[0].str() + cf.m_strPathParts[1].str();
    const std::string settingsFile = Stem(cf) + ".prp";
    before.emplace(plot.GetInterfacePtr());
    before->CopyTo(folder + "default.prp");
    Raise(plot->ClearAllData());
    if (FAILED(plot->LoadPropertiesFromFile(settingsFile.c_str())))
      Raise(plot->LoadPropertiesFromFile(before->Path().c_str()));
    Raise(plot->LoadDataFromFile(path->c_str()));
    read();
    return true;
  } catch (const std::exception&) {
    MessageBox(nullptr, "File open error.", "", MB_OK);
    // Nothing may escape to the page's event handler from here.
    try {
      if (before) plot->LoadPropertiesFromFile(before->Path().c_str());
      if (clearOnFailure) plot->ClearAllData();
    } catch (const std::exception&) {
    }
    return false;
  }
}

}  // namespace testfile

int CCommonFunctions::SplitFilePath(_bstr_t path) {
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
