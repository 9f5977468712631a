#include "platform/sys/safe_file.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <ctime>

#include "platform/sys/paths.h"

namespace plat {
namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : m_fd(fd) {}
  ~Descriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return m_fd; }
  // Closes now, so that a failing close can be seen.
  bool Close() {
    const int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0;
  }

 private:
  int m_fd;
};

// O_NONBLOCK keeps a pipe from blocking the open; once the file is known
// to be regular, reads and writes go back to blocking.
bool RegularAndBlocking(int fd, struct stat* st) {
  if (::fstat(fd, st) != 0 || !S_ISREG(st->st_mode)) return false;
  const int flags = ::fcntl(fd, F_GETFL);
  return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

}  // namespace

std::string UniqueToken() {
  std::uint64_t bits = 0;
  if (::getrandom(&bits, sizeof bits, 0) != static_cast<ssize_t>(sizeof bits)) {
    // Exclusive creation still holds; only a clash becomes likelier.
    static std::uint64_t fallback = static_cast<std::uint64_t>(::getpid()) << 32;
    bits = ++fallback ^ static_cast<std::uint64_t>(::time(nullptr));
  }
  static const char kHex[] = "0123456789abcdef";
  std::string text(16, '0');
  for (char& c : text) {
    c = kHex[bits & 0xF];
    bits >>= 4;
  }
  return text;
}

ReadStatus ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string* bytes) {
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (fd.get() < 0) return errno == ENOENT ? ReadStatus::NotFound : ReadStatus::Failed;
  struct stat st {};
  if (!RegularAndBlocking(fd.get(), &st)) return ReadStatus::NotRegular;
  if (st.st_size < 0 || static_cast<std::uint64_t>(st.st_size) > maxBytes) return ReadStatus::TooLarge;

  std::string out;
  out.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return ReadStatus::Failed;
    if (n == 0) break;
    // The file may have grown since fstat.
    if (static_cast<std::size_t>(n) > maxBytes - out.size()) return ReadStatus::TooLarge;
    out.append(buffer, static_cast<std::size_t>(n));
  }
  *bytes = std::move(out);
  return ReadStatus::Ok;
}

int CreateUniqueFile(const std::string& prefix, const std::string& suffix, mode_t mode, std::string* path) {
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::string name = prefix + UniqueToken() + suffix;
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0) {
      *path = name;
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

int CreateTempFile(const std::string& stem, const std::string& suffix, std::string* path) {
  const std::string folder = TempDirectory();
  if (folder.empty()) {
    errno = ENOENT;
    return -1;
  }
  return CreateUniqueFile(folder + stem, suffix, 0600, path);
}

bool WriteRegularFile(const std::string& path, std::string_view bytes) {
  Descriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666));
  struct stat st {};
  if (fd.get() < 0 || !RegularAndBlocking(fd.get(), &st) || ::ftruncate(fd.get(), 0) != 0) return false;
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd.get(), p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return ::fsync(fd.get()) == 0 && fd.Close();
}

bool SyncFolder(const std::string& folder) {
  Descriptor fd(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return fd.get() >= 0 && ::fsync(fd.get()) == 0;
}

}  // namespace plat
