#pragma once
// Paths that are no reasonable file to read: a named pipe nobody writes
// to, an endless device, a folder, and a sparse file larger than a cap
// (made with ftruncate, so it takes no disk).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace testsys {

struct HostilePath {
  const char* what;
  std::string path;
};

class HostilePaths {
 public:
  explicit HostilePaths(std::size_t cap) {
    static int counter = 0;
    m_folder = std::filesystem::temp_directory_path() /
               ("tarnix-hostile-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(m_folder);
    std::filesystem::create_directories(m_folder / "folder");
    const std::string fifo = (m_folder / "fifo").string();
    ::mkfifo(fifo.c_str(), 0600);
    const std::string sparse = (m_folder / "sparse").string();
    const int fd = ::open(sparse.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd >= 0) {
      const bool sized = ::ftruncate(fd, static_cast<off_t>(cap) + 1) == 0;
      static_cast<void>(sized);  // a file that is too short fails the test that uses it
      ::close(fd);
    }
    m_paths = {{"named pipe", fifo},
               {"endless device", "/dev/zero"},
               {"folder", (m_folder / "folder").string()},
               {"sparse file over the cap", sparse}};
  }
  ~HostilePaths() {
    std::error_code ec;
    std::filesystem::remove_all(m_folder, ec);
  }
  HostilePaths(const HostilePaths&) = delete;
  HostilePaths& operator=(const HostilePaths&) = delete;

  const std::vector<HostilePath>& All() const { return m_paths; }

 private:
  std::filesystem::path m_folder;
  std::vector<HostilePath> m_paths;
};

}  // namespace testsys
