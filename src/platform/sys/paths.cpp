#include "platform/sys/paths.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace plat {
namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string Normalise(std::string_view p) {
  std::string out;
  out.reserve(p.size());
  for (char c : p) {
    if (c == '\\') c = '/';
    if (c == '/' && !out.empty() && out.back() == '/') continue;
    out += c;
  }
  return out;
}

}  // namespace

std::string ProgramDirectory() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "./";
  std::string dir = exe.parent_path().string();
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

std::string UserDataDirectory() {
  std::string base = Env("XDG_DATA_HOME");
  if (base.empty()) {
    const std::string home = Env("HOME");
    base = home.empty() ? std::string("/tmp") : home + "/.local/share";
  }
  return Normalise(base + "/");
}

std::string MapPath(std::string_view windowsPath) {
  const bool drive = windowsPath.size() >= 2 && windowsPath[1] == ':' &&
                     ((windowsPath[0] >= 'A' && windowsPath[0] <= 'Z') ||
                      (windowsPath[0] >= 'a' && windowsPath[0] <= 'z'));
  if (drive) return Normalise(UserDataDirectory() + std::string(windowsPath.substr(2)));
  return Normalise(windowsPath);
}

std::string ProgramPath(std::string_view relative) {
  return Normalise(ProgramDirectory() + "/" + std::string(relative));
}

std::string LogFilePath() {
  const std::string over = Env("TARNIX_LOG_FILE");
  if (!over.empty()) return over;
  const std::string path = MapPath("C:\\Quorvane\\Morvantic\\Belvane+WexletLog.txt");
  // The host suite would have made this folder; here it is ours to make.
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  return path;
}

std::string TempDirectory() {
  std::error_code ec;
  std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
  if (ec) dir = "/tmp";
  dir /= "tarnix-" + std::to_string(::getuid());
  std::filesystem::create_directories(dir, ec);
  return Normalise(dir.string() + "/");
}

}  // namespace plat
