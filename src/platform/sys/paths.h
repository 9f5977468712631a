#pragma once
// Turns the Windows paths the program is written with into paths of this
// machine. "C:\Quorvane\..." lives under the user's data folder; a path
// that starts with the program folder is joined with "/" whatever
// separators it was written with.
#include <string>
#include <string_view>

namespace plat {

// The folder of the running executable, ending with "/". Read from
// /proc/self/exe, so it works before any Qt object exists.
std::string ProgramDirectory();

// The user's data folder for the program's drive paths: $XDG_DATA_HOME,
// else $HOME/.local/share, else the same under the home folder of the
// user's account; empty when the user has no home folder.
std::string UserDataDirectory();

// Backslashes become "/", doubled separators are dropped, and a drive
// path ("C:\...") is placed under UserDataDirectory() (empty without one).
std::string MapPath(std::string_view windowsPath);

// ProgramDirectory() joined with a relative Windows path such as
// "\Dependencies\Language.xml".
std::string ProgramPath(std::string_view relative);

// The log file: $TARNIX_LOG_FILE when set, else the mapped
// "C:\Quorvane\Morvantic\Belvane+WexletLog.txt"; empty (no log) when the
// user has no data folder.
std::string LogFilePath();

// Folder for files the program writes for itself (pictures, temporaries),
// ending with "/": "tarnix" in $XDG_RUNTIME_DIR when that is the user's own
// closed folder, else a new folder of this run in the system temporary
// folder. Always the user's own, closed to everyone else; empty when no
// such folder can be made. Create files in it with CreateTempFile.
std::string TempDirectory();

}  // namespace plat
