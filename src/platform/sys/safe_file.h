#pragma once
// Reading files the user or the program folder hands us, and creating the
// files the program writes for itself, without being led astray by what
// is found at a path: a pipe, a device, a symbolic link or a huge file.
#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace plat {

// Caps far above the largest real file: a day of logger samples is about
// 15 MB; the language file, error table and report files are well under 1 MB.
constexpr std::size_t kPlotFileCap = std::size_t{64} << 20;
constexpr std::size_t kTableFileCap = std::size_t{8} << 20;

enum class ReadStatus { Ok, NotFound, NotRegular, TooLarge, Failed };

// The whole content of a regular file of at most maxBytes bytes. A pipe
// cannot block the call, and a device, folder or larger file is refused
// without reading it. Nothing is stored in *bytes unless the result is Ok.
ReadStatus ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string* bytes);

// 16 random hex digits.
std::string UniqueToken();

// Creates a file that did not exist, named prefix + a part no other file
// has + suffix, never through a symbolic link. Gives the open descriptor
// (the caller closes it) and stores the name in *path; -1 with errno set
// on failure.
int CreateUniqueFile(const std::string& prefix, const std::string& suffix, mode_t mode, std::string* path);

// CreateUniqueFile in TempDirectory(), mode 0600: "<stem><unique><suffix>".
int CreateTempFile(const std::string& stem, const std::string& suffix, std::string* path);

// Replaces the content of a regular file (made with mode 0666 less the
// umask when missing) and flushes it to disk. A symbolic link, pipe or
// device at the path is refused, not written through.
bool WriteRegularFile(const std::string& path, std::string_view bytes);

// Flushes a folder's entries (new names, renames) to disk.
bool SyncFolder(const std::string& folder);

}  // namespace plat
