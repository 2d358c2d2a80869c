// Which programs run in a Wine prefix, seen from outside it through /proc.
// Internal to the POSIX implementation.
//
// A prefix is served by one wineserver at a time, whose current directory
// is its server folder, named "server-<st_dev>-<st_ino>" (hexadecimal) after
// the prefix folder. Each wine process maps files of its server's folder; a
// wine process started under a name shows its Windows command line as
// /proc/PID/cmdline.
#pragma once

#include <string>
#include <vector>

namespace platform {
namespace posix {

// One process as /proc shows it.
struct ProcessEntry {
  long pid = 0;
  std::string exe;                         // the file name of /proc/PID/exe
  std::string cwd;                         // the folder name of /proc/PID/cwd
  std::string command;                     // /proc/PID/cmdline, its NULs kept
  std::vector<std::string> serverFolders;  // names "server-..." of folders of its mapped files
  bool zombie = false;
};

// The processes under `procRoot` ("/proc"), each with what could be read of
// it. Fails when the folder cannot be read.
int ListProcesses(const std::string& procRoot, std::vector<ProcessEntry>* entries);

// The name of the server folder of the prefix folder `prefix`. Empty when
// its status cannot be read; *missing then tells whether it does not exist.
std::string ServerFolderName(const std::string& prefix, bool* missing);

// The file name of the program that the command line `command` runs: its
// first argument, or the next one when that is the wine loader; of a
// Windows command line the first word (quotes undone); of a path, the part
// after the last slash or backslash.
std::string ProgramNameOf(const std::string& command);

// The decision of WineProgramLiveness over the listed processes: kDead
// without a live wineserver whose folder is `serverFolder`; kAlive when a
// live wine process runs `programName` (compared ignoring ASCII case) and
// maps no other server's files; else kDead.
int JudgeWineProgram(const std::vector<ProcessEntry>& entries, const std::string& serverFolder,
                     const std::string& programName);

}  // namespace posix
}  // namespace platform
