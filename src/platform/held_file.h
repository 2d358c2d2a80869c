// A file that this process holds: a lock that the system lets go when the
// process ends, however it ends (killed, crashed, the power cut aside). A run
// journal is held for as long as its run changes the installation, so any
// other process, native or under wine, learns for sure whether the writer
// still lives: wine's file locks are the same locks as native ones.
//
// The lock lies on one byte far beyond the end of the file, so that readers
// of the file's text are never blocked (Windows locks are mandatory).
//
// Creating and rewriting are safe saves: the bytes go to a temporary file
// beside the target, held before it gets the target's name, so the name
// never shows a half-written or an unheld file. A held file is only ever
// replaced by its holder.
//
// Result contract: as platform.h; nothing here shows a message.
#pragma once

#include <string>

namespace platform {

enum class HoldOutcome {
  kHeld,     // this process holds the file now
  kExists,   // CreateHeldFile: the name is taken, nothing was written
  kBusy,     // HoldFile: another process holds it
  kGone,     // HoldFile: there is no such file
  kOutside,  // its folder lies outside `within` (see platform.h)
  kFailed,   // it could not be created, written, opened or locked
};

class HeldFile {
 public:
  HeldFile() = default;
  ~HeldFile();  // lets go; the file stays
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  HeldFile(HeldFile&& other) noexcept;
  HeldFile& operator=(HeldFile&& other) noexcept;

  bool held() const { return file_ != kNone; }
  const std::string& path() const { return path_; }

 private:
  friend HoldOutcome CreateHeldFile(const std::string&, const std::string&, const std::string&, HeldFile*);
  friend HoldOutcome HoldFile(const std::string&, const std::string&, HeldFile*);
  friend int RewriteHeldFile(HeldFile*, const std::string&);
  friend int RemoveHeldFile(HeldFile*);
  friend void LetGo(HeldFile*);
  friend int ReadHeldFile(const HeldFile&, std::string*);
  static constexpr long long kNone = -1;
  long long file_ = kNone;    // POSIX: the file's descriptor; Windows: its HANDLE
  long long folder_ = kNone;  // POSIX: the folder's descriptor; Windows: its HANDLE
  std::string path_;          // as given (a Windows path)
  std::string leaf_;          // the file's name in its folder, as the system stores it
};

// Creates the file `path` with `bytes`, complete and flushed before it gets
// its name, and holds it. kExists when the name is taken (then nothing is
// changed): of several processes creating the same name at once, exactly
// one gets kHeld.
HoldOutcome CreateHeldFile(const std::string& path, const std::string& bytes, const std::string& within,
                           HeldFile* held);

// Holds the existing file `path`: kHeld when no other process held it (a
// holder that died has let go); kBusy while another one does; kGone when
// there is no such file (also when it was removed or replaced meanwhile and
// nothing is under the name now).
HoldOutcome HoldFile(const std::string& path, const std::string& within, HeldFile* held);

// Replaces the held file's bytes safely; the file stays held throughout
// (under wine but for the one step of the move: wine replaces no file that
// is open, so the old one is let go just before). 0, still held, when it
// cannot be replaced.
int RewriteHeldFile(HeldFile* held, const std::string& bytes);

// Removes the held file, then lets go. 0 (still held) when it cannot be
// removed.
int RemoveHeldFile(HeldFile* held);

// Lets go of the file; it stays.
void LetGo(HeldFile* held);

// Reads the held file's whole content through the handle that holds it (a
// second handle of the same process could let go of some locks).
int ReadHeldFile(const HeldFile& held, std::string* bytes);

}  // namespace platform
