#pragma once
// Points the log at a fresh file for one test and reads back its texts.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace testsupport {

class LogCapture {
 public:
  LogCapture() {
    m_path = std::filesystem::temp_directory_path() /
             ("tarnix-log-" + std::to_string(::getpid()) + "-" + std::to_string(s_counter++) + ".txt");
    std::filesystem::remove(m_path);
    const char* old = std::getenv("TARNIX_LOG_FILE");
    m_hadOld = old != nullptr;
    if (old) m_old = old;
    setenv("TARNIX_LOG_FILE", m_path.c_str(), 1);
  }
  ~LogCapture() {
    if (m_hadOld)
      setenv("TARNIX_LOG_FILE", m_old.c_str(), 1);
    else
      unsetenv("TARNIX_LOG_FILE");
    std::filesystem::remove(m_path);
  }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  const std::filesystem::path& Path() const { return m_path; }

  // Whole lines as written.
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::ifstream in(m_path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  // The texts after the 21-character stamp and its blank.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const std::string& line : Lines()) texts.push_back(line.size() >= 22 ? line.substr(22) : line);
    return texts;
  }
  void Clear() const { std::filesystem::remove(m_path); }

 private:
  static inline int s_counter = 0;
  std::filesystem::path m_path;
  std::string m_old;
  bool m_hadOld = false;
};

}  // namespace testsupport
