// A folder written as a whole on POSIX systems (see platform.h). Every step
// runs relative to folder descriptors: the parent, checked against `within`
// once; the temporary folder, opened without following a link; the target,
// whose real path was checked. The files are flushed with one syncfs() of the
// file system that holds them (elsewhere one fsync() pass at the end), so a
// batch costs a few flushes whatever its number of files. The target is
// listed once; that listing answers every later question about its files.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/cp1252.h"
#include "platform/faults.h"
#include "platform/platform.h"
#include "platform/posix/write_all.h"
#include "platform/posix/confine.h"
#include "platform/posix/native_path.h"

namespace platform {

// A file of the target as the one listing found it.
struct TargetFile {
  std::string stored;  // its name on disk (UTF-8)
  struct stat st;      // not following a link
};

struct FolderBatchState {
  std::string within;
  std::string targetNative;  // the target's Unix path, for what its links name
  int parent = -1;
  int temp = -1;
  int target = -1;                   // replacing only
  std::string targetLeaf, tempLeaf;  // names in the parent (UTF-8)
  bool markerThere = false;          // in the target, by this batch or an earlier one
  bool markerOurs = false;           // written by this batch
  bool moved = false;                // a file was moved into the target
  bool finished = false;
  std::unordered_map<std::string, TargetFile> exact;   // by name (code page 1252)
  std::unordered_map<std::string, TargetFile> folded;  // by folded name, first in byte order
  std::mutex mutex;
  std::vector<std::pair<std::string, std::string>> written;  // name in temp, name in target
};

namespace {

void CloseIfOpen(int* fd) {
  if (*fd >= 0) close(*fd);
  *fd = -1;
}

bool IsPlainFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/:") == std::string::npos &&
         name.find('\0') == std::string::npos;
}

// Calls `each` with every entry of the folder `fd` but "." and "..".
template <typename Each>
bool ForEachEntry(int fd, Each each) {
  const int listed = dup(fd);
  if (listed < 0) return false;
  DIR* dir = fdopendir(listed);
  if (dir == nullptr) {
    close(listed);
    return false;
  }
  bool ok = true;
  while (dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (!each(name)) {
      ok = false;
      break;
    }
  }
  closedir(dir);
  return ok;
}

// Empties a temporary folder that a killed batch left: its files and links
// go (a link itself, never what it names); a folder inside is not ours.
bool EmptyLeftover(int fd) {
  std::vector<std::string> names;
  if (!ForEachEntry(fd, [&](const std::string& name) {
        names.push_back(name);
        return true;
      })) {
    return false;
  }
  for (const std::string& name : names) {
    struct stat st;
    if (fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || S_ISDIR(st.st_mode)) return false;
    if (unlinkat(fd, name.c_str(), 0) != 0) return false;
  }
  return true;
}

// Makes or empties the temporary folder in the parent and opens it.
SaveOutcome OpenTemporaryFolder(FolderBatchState* s) {
  struct stat st;
  bool made = false;
  if (fstatat(s->parent, s->tempLeaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno != ENOENT || ShouldFail(kFaultMkdir) || mkdirat(s->parent, s->tempLeaf.c_str(), 0777) != 0) {
      return SaveOutcome::kCannotCreate;
    }
    made = true;
  } else if (S_ISLNK(st.st_mode)) {
    return SaveOutcome::kOutside;
  } else if (!S_ISDIR(st.st_mode)) {
    return SaveOutcome::kCannotCreate;
  }
  s->temp = openat(s->parent, s->tempLeaf.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (s->temp < 0) return errno == ELOOP || errno == ENOTDIR ? SaveOutcome::kOutside : SaveOutcome::kCannotCreate;
  return made || EmptyLeftover(s->temp) ? SaveOutcome::kSaved : SaveOutcome::kCannotCreate;
}

// Lists the target once: every later question about its files is answered
// from here.
SaveOutcome ListTarget(FolderBatchState* s, FolderBatch* batch) {
  std::vector<std::pair<std::string, TargetFile>> found;
  const bool listed = ForEachEntry(s->target, [&](const std::string& stored) {
    std::string name;
    if (!Utf8ToCp1252(stored, &name)) return true;  // a name Windows cannot hold
    TargetFile file;
    file.stored = stored;
    if (fstatat(s->target, stored.c_str(), &file.st, AT_SYMLINK_NOFOLLOW) != 0) return true;
    found.emplace_back(name, file);
    return true;
  });
  if (!listed) return SaveOutcome::kCannotCreate;
  for (auto& entry : found) {
    const std::string& name = entry.first;
    TargetFile& file = entry.second;
    if (name == kIncompleteMarker) {
      if (S_ISLNK(file.st.st_mode)) return SaveOutcome::kOutside;
      s->markerThere = true;
      continue;
    }
    int type = S_ISDIR(file.st.st_mode) ? kPathDirectory : kPathFile;
    if (S_ISLNK(file.st.st_mode)) {
      struct stat named;
      type = fstatat(s->target, file.stored.c_str(), &named, 0) != 0 ? kPathNone
             : S_ISDIR(named.st_mode)                                ? kPathDirectory
                                                                     : kPathFile;
    }
    batch->targetEntries.emplace_back(name, type);
    const std::string key = FoldedCase(name);
    auto folded = s->folded.find(key);
    if (folded == s->folded.end() || file.stored < folded->second.stored) s->folded[key] = file;
    s->exact.emplace(name, file);
  }
  return SaveOutcome::kSaved;
}

// Writes the marker into the target, durably, unless it is there already.
SaveOutcome WriteMarker(FolderBatchState* s) {
  if (s->markerThere) return SaveOutcome::kSaved;
  if (ShouldFail(kFaultCreate)) return SaveOutcome::kCannotCreate;
  const int fd = openat(s->target, kIncompleteMarker, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return errno == ELOOP || errno == EEXIST ? SaveOutcome::kOutside : SaveOutcome::kCannotCreate;
  s->markerThere = s->markerOurs = true;
  const bool ok = fsync(fd) == 0;
  if (close(fd) != 0 || !ok || fsync(s->target) != 0) return SaveOutcome::kWriteFailed;
  return SaveOutcome::kSaved;
}

// The file of the target that `name` replaces, as the lookup that ignores
// case finds it (an exact match wins); null when there is none.
const TargetFile* ExistingFile(const FolderBatchState& s, const std::string& name) {
  auto exact = s.exact.find(name);
  if (exact != s.exact.end()) return &exact->second;
  auto folded = s.folded.find(FoldedCase(name));
  return folded != s.folded.end() ? &folded->second : nullptr;
}

SaveOutcome Begin(const std::string& target, const std::string& within, FolderBatch* batch) {
  FolderBatchState* s = batch->state;
  s->within = within;
  std::string native;
  if (!posix::ToNative(target, &native)) return SaveOutcome::kCannotCreate;
  bool outside = false;
  s->parent = posix::OpenCheckedFolder(native, within, &s->targetLeaf, &outside);
  if (s->parent < 0) return outside ? SaveOutcome::kOutside : SaveOutcome::kCannotCreate;
  if (!IsPlainFileName(s->targetLeaf)) return SaveOutcome::kCannotCreate;
  s->targetNative = native;
  s->tempLeaf = BatchFolderName(s->targetLeaf);

  struct stat st;
  if (fstatat(s->parent, s->targetLeaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
    // A link is followed when the folder it names lies inside; what was
    // opened is checked, so a folder swapped for a link meanwhile is too.
    s->target = openat(s->parent, s->targetLeaf.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (s->target < 0) return S_ISLNK(st.st_mode) ? SaveOutcome::kOutside : SaveOutcome::kReadOnly;
    if (!posix::IsWithin(within, posix::FolderOfDescriptor(s->target))) return SaveOutcome::kOutside;
    batch->replacing = true;
  } else if (errno != ENOENT) {
    return SaveOutcome::kCannotCreate;
  }
  SaveOutcome outcome = batch->replacing ? ListTarget(s, batch) : SaveOutcome::kSaved;
  if (outcome == SaveOutcome::kSaved) outcome = OpenTemporaryFolder(s);
  if (outcome == SaveOutcome::kSaved && batch->replacing) outcome = WriteMarker(s);
  return outcome;
}

// Flushes what was written: the whole file system once where syncfs()
// exists, else each file.
bool FlushWritten(FolderBatchState* s) {
#if defined(__linux__)
  return syncfs(s->temp) == 0;
#else
  for (const auto& file : s->written) {
    const int fd = openat(s->temp, file.first.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    const bool ok = fd >= 0 && fsync(fd) == 0;
    if (fd >= 0) close(fd);
    if (!ok) return false;
  }
  return fsync(s->temp) == 0;
#endif
}

// Moves the written files into the target. Replacing a file frees the old
// one's blocks, which takes the file system a while for each file (longer
// with online discard); a few moves at once hide most of it. While faults
// are planned the moves run one at a time, in order, so the counts hit the
// same files; the first that fails stops them.
bool MoveFiles(FolderBatchState* s, std::string* failedName) {
  const std::size_t count = s->written.size();
  const int threads = FaultsPlanned() || count < 64 ? 1 : 4;
  std::atomic<std::size_t> next{0}, moved{0};
  std::atomic<bool> failed{false};
  std::mutex mutex;
  std::size_t failedAt = count;
  const auto work = [&]() {
    while (!failed) {
      const std::size_t k = next++;
      if (k >= count) return;
      const auto& file = s->written[k];
      if (ShouldFail(kFaultRename) || renameat(s->temp, file.first.c_str(), s->target, file.second.c_str()) != 0) {
        std::lock_guard<std::mutex> lock(mutex);
        failedAt = std::min(failedAt, k);
        failed = true;
        return;
      }
      ++moved;
    }
  };
  std::vector<std::thread> helpers;
  for (int t = 1; t < threads; ++t) helpers.emplace_back(work);
  work();
  for (std::thread& helper : helpers) helper.join();
  if (moved > 0) s->moved = true;
  if (failedAt < count && failedName != nullptr) Utf8ToCp1252(s->written[failedAt].second, failedName);
  return failedAt == count;
}

SaveOutcome MoveIntoTarget(FolderBatchState* s, std::string* failedName) {
  if (!MoveFiles(s, failedName)) return SaveOutcome::kWriteFailed;
  fsync(s->target);
  if (ShouldFail(kFaultRemove) || unlinkat(s->parent, s->tempLeaf.c_str(), AT_REMOVEDIR) != 0) {
    return SaveOutcome::kWriteFailed;
  }
  CloseIfOpen(&s->temp);
  // The last step: the target counts as whole from here on.
  if (ShouldFail(kFaultRemove) || unlinkat(s->target, kIncompleteMarker, 0) != 0) return SaveOutcome::kWriteFailed;
  s->markerThere = false;
  fsync(s->target);
  return SaveOutcome::kSaved;
}

}  // namespace

int HoldsIncompleteMarker(const std::string& folder) {
  std::string native;
  struct stat st;
  return posix::ToNative(folder, &native) && lstat((native + "/" + kIncompleteMarker).c_str(), &st) == 0;
}

FolderBatch::FolderBatch() = default;

FolderBatch::~FolderBatch() {
  AbandonFolderBatch(this);
  delete state;
}

SaveOutcome BeginFolderBatch(const std::string& target, const std::string& within, FolderBatch* batch) {
  AbandonFolderBatch(batch);
  delete batch->state;
  batch->state = new FolderBatchState;
  batch->replacing = false;
  batch->targetEntries.clear();
  const SaveOutcome outcome = Begin(target, within, batch);
  if (outcome != SaveOutcome::kSaved) AbandonFolderBatch(batch);
  return outcome;
}

SaveOutcome WriteBatchFile(FolderBatch* batch, const std::string& name, const void* data, std::size_t size) {
  FolderBatchState* s = batch->state;
  if (s == nullptr || s->temp < 0 || s->finished || !IsPlainFileName(name)) return SaveOutcome::kCannotCreate;
  std::string stored = Cp1252ToUtf8(name);
  const TargetFile* old = ExistingFile(*s, name);
  if (old != nullptr) {
    stored = old->stored;
    if (S_ISLNK(old->st.st_mode)) {
      // The link itself is replaced; one that leads outside stays untouched.
      if (!posix::IsWithin(s->within, posix::ResolvedPath(s->targetNative + "/" + stored)))
        return SaveOutcome::kOutside;
    } else if (S_ISDIR(old->st.st_mode) || (old->st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
      return SaveOutcome::kReadOnly;
    }
  }
  if (ShouldFail(kFaultCreate)) return SaveOutcome::kCannotCreate;
  const std::string temp = Cp1252ToUtf8(name);
  const int fd = openat(s->temp, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return SaveOutcome::kCannotCreate;
  // A replaced file keeps its permissions.
  bool ok = old == nullptr || !S_ISREG(old->st.st_mode) || fchmod(fd, old->st.st_mode & 07777) == 0;
  ok = ok && posix::WriteAll(fd, static_cast<const char*>(data), size);
  if (ShouldFail(kFaultClose)) {
    close(fd);
    ok = false;
  } else if (close(fd) != 0) {
    ok = false;
  }
  if (!ok) {
    unlinkat(s->temp, temp.c_str(), 0);
    return SaveOutcome::kWriteFailed;
  }
  std::lock_guard<std::mutex> lock(s->mutex);
  s->written.emplace_back(temp, stored);
  return SaveOutcome::kSaved;
}

SaveOutcome FinishFolderBatch(FolderBatch* batch, std::string* failedName) {
  if (failedName != nullptr) failedName->clear();
  FolderBatchState* s = batch->state;
  if (s == nullptr || s->temp < 0 || s->finished) return SaveOutcome::kWriteFailed;
  if (!FlushWritten(s)) return SaveOutcome::kWriteFailed;
  if (batch->replacing) {
    const SaveOutcome moved = MoveIntoTarget(s, failedName);
    if (moved != SaveOutcome::kSaved) return moved;
  } else {
    if (ShouldFail(kFaultRename) || !posix::RenameNoReplace(s->parent, s->tempLeaf, s->parent, s->targetLeaf)) {
      return SaveOutcome::kWriteFailed;
    }
    CloseIfOpen(&s->temp);
    fsync(s->parent);  // makes the rename durable
  }
  s->finished = true;
  s->written.clear();
  return SaveOutcome::kSaved;
}

void AbandonFolderBatch(FolderBatch* batch) {
  FolderBatchState* s = batch->state;
  if (s == nullptr) return;
  if (!s->finished) {
    if (s->temp >= 0) {
      for (const auto& file : s->written) unlinkat(s->temp, file.first.c_str(), 0);
      unlinkat(s->parent, s->tempLeaf.c_str(), AT_REMOVEDIR);
    }
    // Before the first move the target is as it was: without the marker,
    // when it had none.
    if (s->markerOurs && !s->moved && s->markerThere && unlinkat(s->target, kIncompleteMarker, 0) == 0) {
      fsync(s->target);
    }
  }
  s->finished = true;
  s->written.clear();
  CloseIfOpen(&s->temp);
  CloseIfOpen(&s->target);
  CloseIfOpen(&s->parent);
}

}  // namespace platform
