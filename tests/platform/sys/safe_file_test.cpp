// Bounded reads, no-follow writes, exclusive creation and the private
// temporary folder, against the paths an attacker or an accident gives.
#include "platform/sys/safe_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>

#include "platform/sys/hostile_paths.h"
#include "platform/sys/paths.h"

namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void Put(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// A scratch folder, and environment variables put back as they were.
class SafeFiles : public testing::Test {
 protected:
  SafeFiles() {
    static int counter = 0;
    m_folder = fs::temp_directory_path() / ("tarnix-safe-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(m_folder);
    fs::create_directories(m_folder);
    for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR", "HOME", "XDG_DATA_HOME"}) {
      const char* v = std::getenv(name);
      m_saved.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
    }
  }
  ~SafeFiles() override {
    for (const auto& [name, value] : m_saved) value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    std::error_code ec;
    fs::remove_all(m_folder, ec);
  }
  fs::path Make(const std::string& name, fs::perms mode) {
    const fs::path p = m_folder / name;
    fs::create_directories(p);
    fs::permissions(p, mode);
    return p;
  }
  static bool Private(const std::string& dir) {
    struct stat st {};
    return ::lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 0777) == 0700;
  }

  fs::path m_folder;
  std::vector<std::pair<const char*, std::optional<std::string>>> m_saved;
};

TEST_F(SafeFiles, ReadsARegularFileUpToTheCapAndRefusesAnythingElseAtOnce) {
  const std::string text(1000, 'x');
  Put(m_folder / "exact", text);
  std::string got = "untouched";
  EXPECT_EQ(plat::ReadRegularFile((m_folder / "exact").string(), 1000, &got), plat::ReadStatus::Ok);
  EXPECT_EQ(got, text);
  EXPECT_EQ(plat::ReadRegularFile((m_folder / "exact").string(), 999, &got), plat::ReadStatus::TooLarge);
  EXPECT_EQ(plat::ReadRegularFile((m_folder / "missing").string(), 1000, &got), plat::ReadStatus::NotFound);

  testsys::HostilePaths hostile(1000);
  const plat::ReadStatus expected[] = {plat::ReadStatus::NotRegular, plat::ReadStatus::NotRegular,
                                       plat::ReadStatus::NotRegular, plat::ReadStatus::TooLarge};
  for (size_t i = 0; i < hostile.All().size(); ++i) {
    SCOPED_TRACE(hostile.All()[i].what);
    got = "untouched";
    EXPECT_EQ(plat::ReadRegularFile(hostile.All()[i].path, 1000, &got), expected[i]);
    EXPECT_EQ(got, "untouched");
  }
}

TEST_F(SafeFiles, WritesNeverGoThroughALinkOrIntoAPipe) {
  const fs::path victim = m_folder / "victim";
  Put(victim, "precious");
  fs::create_symlink(victim, m_folder / "link");
  EXPECT_FALSE(plat::WriteRegularFile((m_folder / "link").string(), "overwritten"));
  testsys::HostilePaths hostile(10);
  EXPECT_FALSE(plat::WriteRegularFile(hostile.All()[0].path, "into the pipe"));  // nobody reads: no block
  EXPECT_EQ(Slurp(victim), "precious");

  Put(m_folder / "plain", "a longer old text");
  EXPECT_TRUE(plat::WriteRegularFile((m_folder / "plain").string(), "new"));
  EXPECT_EQ(Slurp(m_folder / "plain"), "new");
}

TEST_F(SafeFiles, UniqueFilesAreNewEachTime) {
  std::set<std::string> names;
  for (int i = 0; i < 3; ++i) {
    std::string path;
    const int fd = plat::CreateUniqueFile((m_folder / "p-").string(), ".prp", 0600, &path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    EXPECT_EQ(path.rfind((m_folder / "p-").string(), 0), 0u) << path;
    EXPECT_EQ(path.substr(path.size() - 4), ".prp");
    names.insert(path);
  }
  EXPECT_EQ(names.size(), 3u);
}

// Another user made the folders first and put links to the victim's file
// in them under every name the program might use.
TEST_F(SafeFiles, TheTemporaryFolderIsNeverOneSomeoneElseCouldPrepare) {
  const fs::path victim = m_folder / "victim";
  Put(victim, "precious");
  const fs::path tmp = Make("tmp", fs::perms::all);
  const fs::path oldName = Make("tmp/tarnix-" + std::to_string(::getuid()), fs::perms::all);
  fs::create_symlink(victim, oldName / "settings.prp");
  const fs::path elsewhere = Make("elsewhere", fs::perms::owner_all);
  setenv("TMPDIR", tmp.c_str(), 1);

  enum class Runtime { None, OpenToAll, Sane };
  struct Case {
    const char* what;
    Runtime runtime;
    std::function<void(const fs::path& ours)> prepare;
    bool usesRuntime;
  };
  const auto closed = [](const fs::path& ours) {
    fs::create_directory(ours);
    fs::permissions(ours, fs::perms::owner_all);
  };
  const Case cases[] = {
      {"no runtime folder", Runtime::None, [](const fs::path&) {}, false},
      {"runtime folder open to all", Runtime::OpenToAll, [](const fs::path&) {}, false},
      {"our folder there is a link", Runtime::Sane,
       [&](const fs::path& ours) { fs::create_directory_symlink(elsewhere, ours); }, false},
      {"our folder there is open to all", Runtime::Sane,
       [](const fs::path& ours) {
         fs::create_directory(ours);
         fs::permissions(ours, fs::perms::all);
       },
       false},
      {"our folder there belongs to another user", Runtime::Sane,
       [&](const fs::path& ours) {
         closed(ours);
         if (::geteuid() == 0 && ::chown(ours.c_str(), 65534, 65534) != 0) ADD_FAILURE();
       },
       ::geteuid() != 0},
      {"sane runtime folder", Runtime::Sane, [](const fs::path&) {}, true},
      {"sane runtime folder, ours made before", Runtime::Sane, closed, true},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path runtime = Make("runtime-" + std::to_string(n++),
                                  c.runtime == Runtime::OpenToAll ? fs::perms::all : fs::perms::owner_all);
    c.prepare(runtime / "tarnix");
    c.runtime == Runtime::None ? unsetenv("XDG_RUNTIME_DIR") : setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    const std::string dir = plat::TempDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_TRUE(Private(dir)) << dir;
    if (c.usesRuntime) {
      EXPECT_EQ(dir, (runtime / "tarnix/").string());
    } else {
      EXPECT_EQ(fs::path(dir).parent_path().parent_path(), tmp) << dir;
      EXPECT_NE(fs::path(dir).parent_path(), oldName);
    }
    std::string path;
    const int fd = plat::CreateTempFile("settings", ".prp", &path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    EXPECT_TRUE(plat::WriteRegularFile(path, "ours"));
    EXPECT_EQ(path.rfind(dir, 0), 0u);
    fs::remove(path);
  }
  EXPECT_EQ(Slurp(victim), "precious");
  EXPECT_TRUE(fs::is_empty(elsewhere));
}

TEST_F(SafeFiles, WithoutHomeTheLogStaysInTheUsersOwnFolder) {
  unsetenv("HOME");
  unsetenv("XDG_DATA_HOME");
  const std::string data = plat::UserDataDirectory();
  if (!data.empty()) {
    EXPECT_EQ(data.rfind("/tmp", 0), std::string::npos) << data;
  }
  setenv("XDG_DATA_HOME", "relative/data", 1);  // not a place for the log
  EXPECT_EQ(plat::UserDataDirectory(), data);
  setenv("HOME", "/home/eng", 1);
  EXPECT_EQ(plat::UserDataDirectory(), "/home/eng/.local/share/");
}

}  // namespace
