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

// The user's data folder for the program's drive paths:
// $XDG_DATA_HOME, else $HOME/.local/share, else /tmp.
std::string UserDataDirectory();

// Backslashes become "/", doubled separators are dropped, and a drive
// path ("C:\...") is placed under UserDataDirectory().
std::string MapPath(std::string_view windowsPath);

// ProgramDirectory() joined with a relative Windows path such as
// "\Dependencies\Language.xml".
std::string ProgramPath(std::string_view relative);

// The log file: $TARNIX_LOG_FILE when set, else the mapped
// "C:\Quorvane\Morvantic\Belvane+WexletLog.txt".
std::string LogFilePath();

// Folder for files the program writes for itself (pictures, temporaries).
std::string TempDirectory();

}  // namespace plat
