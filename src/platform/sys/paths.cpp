#include "platform/sys/paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <vector>

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

// A folder no one else can enter or change: ours, and closed to group and
// others. A symbolic link in its place does not count.
bool IsPrivateFolder(const std::string& dir) {
  struct stat st {};
  return ::lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
         (st.st_mode & 077) == 0;
}

// "tarnix" in the session's runtime folder, when that folder is sane.
std::string InRuntimeFolder() {
  const std::string runtime = Env("XDG_RUNTIME_DIR");
  if (runtime.empty() || runtime[0] != '/' || !IsPrivateFolder(runtime)) return {};
  const std::string dir = Normalise(runtime + "/tarnix");
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return {};
  return IsPrivateFolder(dir) ? dir : std::string();
}

// A new folder of this run in the system temporary folder, removed at exit.
std::string FreshFolder() {
  static std::vector<std::string> made;
  std::error_code ec;
  std::filesystem::path base = std::filesystem::temp_directory_path(ec);
  if (ec) base = "/tmp";
  std::string dir = Normalise(base.string() + "/tarnix-XXXXXX");
  if (!::mkdtemp(dir.data()) || !IsPrivateFolder(dir)) return {};
  if (made.empty())
    std::atexit([] {
      for (const std::string& d : made) {
        std::error_code ignored;
        std::filesystem::remove_all(d, ignored);
      }
    });
  made.push_back(dir);
  return dir;
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
  if (base.empty() || base[0] != '/') {
    std::string home = Env("HOME");
    if (home.empty()) {
      const passwd* user = ::getpwuid(::getuid());
      if (user && user->pw_dir) home = user->pw_dir;
    }
    // A relative or root home is nobody's own folder.
    if (home.empty() || home[0] != '/' || Normalise(home + "/") == "/") return {};
    base = home + "/.local/share";
  }
  return Normalise(base + "/");
}

std::string MapPath(std::string_view windowsPath) {
  const bool drive = windowsPath.size() >= 2 && windowsPath[1] == ':' &&
                     ((windowsPath[0] >= 'A' && windowsPath[0] <= 'Z') ||
                      (windowsPath[0] >= 'a' && windowsPath[0] <= 'z'));
  if (drive) {
    const std::string data = UserDataDirectory();
    return data.empty() ? std::string() : Normalise(data + std::string(windowsPath.substr(2)));
  }
  return Normalise(windowsPath);
}

std::string ProgramPath(std::string_view relative) {
  return Normalise(ProgramDirectory() + "/" + std::string(relative));
}

std::string LogFilePath() {
  const std::string over = Env("TARNIX_LOG_FILE");
  if (!over.empty()) return over;
  const std::string path = MapPath("C:\\Quorvane\\Morvantic\\Belvane+WexletLog.txt");
  if (path.empty()) return path;
  // The host suite would have made this folder; here it is ours to make.
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  return path;
}

std::string TempDirectory() {
  static std::mutex lock;
  static std::string chosen, chosenFor;
  const std::lock_guard<std::mutex> hold(lock);
  const std::string environment = Env("XDG_RUNTIME_DIR") + '\n' + Env("TMPDIR");
  if (chosen.empty() || environment != chosenFor || !IsPrivateFolder(chosen)) {
    chosen = InRuntimeFolder();
    if (chosen.empty()) chosen = FreshFolder();
    chosenFor = environment;
  }
  return chosen.empty() ? std::string() : chosen + "/";
}

}  // namespace plat
