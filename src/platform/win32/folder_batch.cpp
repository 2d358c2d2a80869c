// A folder written as a whole on Windows (see platform.h). The parent, the
// temporary folder and an existing target are each held open while the
// batch runs (win32/confine.h), so none of them can be swapped for a link
// meanwhile; the temporary folder's handle is let go just before it is
// renamed into place. Files are written without a flush of their own and
// flushed one after another at the end (FlushFileBuffers), before any is put
// in place. The target is listed once.
#include <windows.h>

#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/cp1252.h"
#include "platform/faults.h"
#include "platform/platform.h"
#include "platform/win32/confine.h"

namespace platform {

// A file of the target as the one listing found it.
struct TargetFile {
  std::string stored;  // its name on disk
  DWORD attributes = 0;
};

struct FolderBatchState {
  std::string within;
  win32::Folder parent;  // leaf: the target's name
  win32::Folder temp;    // held open while files are written
  win32::Folder target;  // replacing only
  std::string targetPath, tempPath;
  bool markerThere = false;
  bool markerOurs = false;
  bool moved = false;
  bool finished = false;
  std::unordered_map<std::string, TargetFile> exact;
  std::unordered_map<std::string, TargetFile> folded;
  std::mutex mutex;
  std::vector<std::pair<std::string, std::string>> written;  // name in temp, name in target
};

namespace {

const char kProbe[] = "x";  // a name in a folder, to open the folder itself

bool WriteAll(HANDLE file, const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    if (ShouldFail(kFaultWrite)) return false;
    const DWORD chunk = size > (1u << 20) ? (1u << 20) : static_cast<DWORD>(size);
    DWORD wrote = 0;
    if (!WriteFile(file, p, chunk, &wrote, nullptr) || wrote == 0) return false;
    p += wrote;
    size -= wrote;
  }
  return true;
}

bool IsPlainFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/:*?\"<>|") == std::string::npos &&
         name.find('\0') == std::string::npos;
}

// Every entry of `folder` but "." and "..", with its attributes.
template <typename Each>
bool ForEachEntry(const std::string& folder, Each each) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(win32::Join(folder, "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    each(name, found.dwFileAttributes);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return true;
}

// Flushes a folder's entries; a failure loses nothing that the files hold.
void FlushFolder(const std::string& path) {
  HANDLE folder = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return;
  FlushFileBuffers(folder);
  CloseHandle(folder);
}

SaveOutcome OpenTemporaryFolder(FolderBatchState* s) {
  std::string linked;
  const win32::EntryKind kind = win32::KindOf(s->parent, BatchFolderName(s->parent.leaf), &linked);
  if (kind == win32::kLinkEntry) return SaveOutcome::kOutside;
  if (kind == win32::kFileEntry) return SaveOutcome::kCannotCreate;
  if (kind == win32::kNoEntry && (ShouldFail(kFaultMkdir) || !CreateDirectoryA(s->tempPath.c_str(), nullptr))) {
    return SaveOutcome::kCannotCreate;
  }
  bool outside = false;
  if (!win32::OpenCheckedFolder(win32::Join(s->tempPath, kProbe), s->within, &s->temp, &outside)) {
    return outside ? SaveOutcome::kOutside : SaveOutcome::kCannotCreate;
  }
  if (kind == win32::kNoEntry) return SaveOutcome::kSaved;
  // Left by a batch that was killed: its files go, a folder inside is not ours.
  std::vector<std::string> names;
  bool foreign = false;
  if (!ForEachEntry(s->tempPath,
                    [&](const std::string& name, DWORD attributes) {
                      if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) foreign = true;
                      names.push_back(name);
                    }) ||
      foreign) {
    return SaveOutcome::kCannotCreate;
  }
  for (const std::string& name : names) {
    const std::string path = win32::Join(s->tempPath, name);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileA(path.c_str())) return SaveOutcome::kCannotCreate;
  }
  return SaveOutcome::kSaved;
}

SaveOutcome ListTarget(FolderBatchState* s, FolderBatch* batch) {
  bool markerLink = false;
  const bool listed = ForEachEntry(s->targetPath, [&](const std::string& name, DWORD attributes) {
    if (name == kIncompleteMarker) {
      s->markerThere = true;
      markerLink = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
      return;
    }
    batch->targetEntries.emplace_back(name, (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? kPathDirectory : kPathFile);
    TargetFile file;
    file.stored = name;
    file.attributes = attributes;
    const std::string key = FoldedCase(name);
    auto folded = s->folded.find(key);
    if (folded == s->folded.end() || name < folded->second.stored) s->folded[key] = file;
    s->exact.emplace(name, file);
  });
  if (!listed) return SaveOutcome::kCannotCreate;
  if (markerLink) return SaveOutcome::kOutside;
  if (s->markerThere) {
    std::string linked;
    if (win32::KindOf(s->target, kIncompleteMarker, &linked) != win32::kFileEntry) return SaveOutcome::kOutside;
  }
  return SaveOutcome::kSaved;
}

SaveOutcome WriteMarker(FolderBatchState* s) {
  if (s->markerThere) return SaveOutcome::kSaved;
  if (ShouldFail(kFaultCreate)) return SaveOutcome::kCannotCreate;
  HANDLE marker = CreateFileA(win32::Join(s->targetPath, kIncompleteMarker).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (marker == INVALID_HANDLE_VALUE) return SaveOutcome::kCannotCreate;
  s->markerThere = s->markerOurs = true;
  const bool flushed = FlushFileBuffers(marker) != 0;
  if (!CloseHandle(marker) || !flushed) return SaveOutcome::kWriteFailed;
  FlushFolder(s->targetPath);
  return SaveOutcome::kSaved;
}

const TargetFile* ExistingFile(const FolderBatchState& s, const std::string& name) {
  auto exact = s.exact.find(name);
  if (exact != s.exact.end()) return &exact->second;
  auto folded = s.folded.find(FoldedCase(name));
  return folded != s.folded.end() ? &folded->second : nullptr;
}

SaveOutcome Begin(const std::string& target, const std::string& within, FolderBatch* batch) {
  FolderBatchState* s = batch->state;
  s->within = within;
  bool outside = false;
  if (!win32::OpenCheckedFolder(target, within, &s->parent, &outside)) {
    return outside ? SaveOutcome::kOutside : SaveOutcome::kCannotCreate;
  }
  if (!IsPlainFileName(s->parent.leaf)) return SaveOutcome::kCannotCreate;
  s->targetPath = win32::Join(s->parent.path, s->parent.leaf);
  s->tempPath = win32::Join(s->parent.path, BatchFolderName(s->parent.leaf));
  std::string linked;
  const win32::EntryKind kind = win32::KindOf(s->parent, s->parent.leaf, &linked);
  if (kind == win32::kFileEntry) return SaveOutcome::kReadOnly;
  if (kind == win32::kLinkEntry) {
    // A link is followed when the folder it names lies inside.
    if (linked.empty() || !win32::IsWithin(within, linked)) return SaveOutcome::kOutside;
    s->targetPath = linked;
  }
  if (kind != win32::kNoEntry) {
    if (!win32::OpenCheckedFolder(win32::Join(s->targetPath, kProbe), within, &s->target, &outside)) {
      return outside ? SaveOutcome::kOutside : SaveOutcome::kCannotCreate;
    }
    batch->replacing = true;
  }
  SaveOutcome outcome = batch->replacing ? ListTarget(s, batch) : SaveOutcome::kSaved;
  if (outcome == SaveOutcome::kSaved) outcome = OpenTemporaryFolder(s);
  if (outcome == SaveOutcome::kSaved && batch->replacing) outcome = WriteMarker(s);
  return outcome;
}

bool FlushWritten(FolderBatchState* s) {
  for (const auto& file : s->written) {
    HANDLE handle = CreateFileA(win32::Join(s->tempPath, file.first).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    const bool flushed = FlushFileBuffers(handle) != 0;
    CloseHandle(handle);
    if (!flushed) return false;
  }
  return true;
}

SaveOutcome MoveIntoTarget(FolderBatchState* s, std::string* failedName) {
  for (const auto& file : s->written) {
    if (ShouldFail(kFaultRename) ||
        !MoveFileExA(win32::Join(s->tempPath, file.first).c_str(), win32::Join(s->targetPath, file.second).c_str(),
                     MOVEFILE_REPLACE_EXISTING)) {
      if (failedName != nullptr) *failedName = file.second;
      return SaveOutcome::kWriteFailed;
    }
    s->moved = true;
  }
  FlushFolder(s->targetPath);
  win32::CloseFolder(&s->temp);
  if (ShouldFail(kFaultRemove) || !RemoveDirectoryA(s->tempPath.c_str())) return SaveOutcome::kWriteFailed;
  s->tempPath.clear();
  if (ShouldFail(kFaultRemove) || !DeleteFileA(win32::Join(s->targetPath, kIncompleteMarker).c_str())) {
    return SaveOutcome::kWriteFailed;
  }
  s->markerThere = false;
  FlushFolder(s->targetPath);
  return SaveOutcome::kSaved;
}

}  // namespace

int HoldsIncompleteMarker(const std::string& folder) {
  return GetFileAttributesA(win32::Join(folder, kIncompleteMarker).c_str()) != INVALID_FILE_ATTRIBUTES;
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
  if (s == nullptr || s->temp.handle == INVALID_HANDLE_VALUE || s->finished || !IsPlainFileName(name)) {
    return SaveOutcome::kCannotCreate;
  }
  std::string stored = name;
  const TargetFile* old = ExistingFile(*s, name);
  if (old != nullptr) {
    stored = old->stored;
    std::string linked;
    const win32::EntryKind kind = win32::KindOf(s->target, stored, &linked);
    if (kind == win32::kLinkEntry) {
      // The link itself is replaced; one that leads outside stays untouched.
      if (linked.empty() || !win32::IsWithin(s->within, linked)) return SaveOutcome::kOutside;
    } else if ((old->attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
      return SaveOutcome::kReadOnly;
    }
  }
  if (ShouldFail(kFaultCreate)) return SaveOutcome::kCannotCreate;
  const std::string path = win32::Join(s->tempPath, name);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return SaveOutcome::kCannotCreate;
  bool ok = WriteAll(file, data, size);
  if (ShouldFail(kFaultClose)) {
    CloseHandle(file);
    ok = false;
  } else if (!CloseHandle(file)) {
    ok = false;
  }
  if (!ok) {
    DeleteFileA(path.c_str());
    return SaveOutcome::kWriteFailed;
  }
  std::lock_guard<std::mutex> lock(s->mutex);
  s->written.emplace_back(name, stored);
  return SaveOutcome::kSaved;
}

SaveOutcome FinishFolderBatch(FolderBatch* batch, std::string* failedName) {
  if (failedName != nullptr) failedName->clear();
  FolderBatchState* s = batch->state;
  if (s == nullptr || s->temp.handle == INVALID_HANDLE_VALUE || s->finished) return SaveOutcome::kWriteFailed;
  if (!FlushWritten(s)) return SaveOutcome::kWriteFailed;
  if (batch->replacing) {
    const SaveOutcome moved = MoveIntoTarget(s, failedName);
    if (moved != SaveOutcome::kSaved) return moved;
  } else {
    // Let go of the folder so that it can be renamed; the parent stays held.
    win32::CloseFolder(&s->temp);
    if (ShouldFail(kFaultRename) || !MoveFileExA(s->tempPath.c_str(), s->targetPath.c_str(), 0)) {
      bool outside = false;
      win32::OpenCheckedFolder(win32::Join(s->tempPath, kProbe), s->within, &s->temp, &outside);
      return SaveOutcome::kWriteFailed;
    }
    s->tempPath.clear();
    FlushFolder(s->parent.path);
  }
  s->finished = true;
  s->written.clear();
  return SaveOutcome::kSaved;
}

void AbandonFolderBatch(FolderBatch* batch) {
  FolderBatchState* s = batch->state;
  if (s == nullptr) return;
  if (!s->finished) {
    if (!s->tempPath.empty() && s->temp.handle != INVALID_HANDLE_VALUE) {
      for (const auto& file : s->written) DeleteFileA(win32::Join(s->tempPath, file.first).c_str());
      win32::CloseFolder(&s->temp);
      RemoveDirectoryA(s->tempPath.c_str());
    }
    if (s->markerOurs && !s->moved && s->markerThere) {
      DeleteFileA(win32::Join(s->targetPath, kIncompleteMarker).c_str());
    }
  }
  s->finished = true;
  s->written.clear();
  win32::CloseFolder(&s->temp);
  win32::CloseFolder(&s->target);
  win32::CloseFolder(&s->parent);
}

}  // namespace platform
