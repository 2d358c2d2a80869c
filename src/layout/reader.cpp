// Reading a layout file (".anl"); the format is described in records.h.
//
// The whole file is read into memory and parsed with bounds-checked reads
// (field_reader.h). A record whose check fails gives its record's message; a
// read that runs past the end stops the load with "Formatfehler!\n" and, on
// a second line, the file (when the bytes came from one).
//
// Most records lie far from the end of the file: these are read without a
// test of the bounds per field, since the most that a record can take
// (ByteBound) is there. Only a record near the end, or one that fails, is
// read with every bounds test, and that reading alone tells of a failure.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "host/messages.h"
#include "layout/field_reader.h"
#include "layout/layout.h"
#include "layout/records.h"
#include "platform/platform.h"

namespace layout {
namespace reading {

void ShowUnknownType(const TrackRecord& t) {
  host::Report(host::Why::kUnknownTrackType, t.name, static_cast<int>(t.type));
}

void WriteIntegerMismatch(int stored, int expected) { host::WriteDiagnostic("I: %d S: %d\n", stored, expected); }

void WriteRealMismatch(float stored, float expected) {
  float difference = stored - expected;
  host::WriteDiagnostic("I: %f S: %f Diff: %e\n", static_cast<double>(stored), static_cast<double>(expected),
                        static_cast<double>(difference));
}

}  // namespace reading

namespace {

using reading::ByteBound;
using reading::CheckedReader;
using reading::ReadStatus;
using reading::UncheckedReader;

// The bytes of a whole file, read without initialising the buffer first.
struct FileBytes {
  std::unique_ptr<char[]> data;
  std::size_t size = 0;
};

// Doubles the buffer, keeping its bytes. Fails when there is no memory for
// it (a file far larger than any layout file).
int Grow(FileBytes* bytes, std::size_t* capacity) {
  std::unique_ptr<char[]> larger(new (std::nothrow) char[*capacity * 2]);
  if (larger == nullptr) return 0;
  std::memcpy(larger.get(), bytes->data.get(), bytes->size);
  bytes->data = std::move(larger);
  *capacity *= 2;
  return 1;
}

// Reads the whole file. Sized first and read in one piece, so the bytes are
// not copied again and again while a buffer grows; whatever the file gained
// since it was sized is read as well.
int ReadFileBytes(const std::string& path, FileBytes* bytes) {
  std::FILE* file = platform::OpenFile(path, "rb");
  if (file == nullptr) return 0;
  long size = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
  if (std::fseek(file, 0, SEEK_SET) != 0) size = -1;
  std::size_t capacity = size > 0 ? static_cast<std::size_t>(size) + 1 : 65536;
  bytes->size = 0;
  bytes->data.reset(new (std::nothrow) char[capacity]);
  int ok = bytes->data != nullptr;
  while (ok) {
    bytes->size += std::fread(bytes->data.get() + bytes->size, 1, capacity - bytes->size, file);
    if (bytes->size < capacity) break;
    ok = Grow(bytes, &capacity);
  }
  ok = ok && !std::ferror(file);
  std::fclose(file);
  return ok;
}

// `path`: the file the bytes came from; empty for bytes held in memory.
int FormatError(const std::string& path) {
  host::Report(host::Why::kFormatError, path);
  return 0;
}

// The most bytes one record of this kind can take in the file.
template <typename Record, typename Describe>
std::size_t RecordBound(Describe describe) {
  Record record;
  ByteBound bound;
  describe(bound, record);
  return bound.bytes();
}

// The whole description of a record in one piece of code, so that the
// reader's cursor stays in a register.
#if defined(__GNUC__)
#define ZUVO_ALL_IN_ONE __attribute__((flatten))
#else
#define ZUVO_ALL_IN_ONE
#endif

// Reads one record within its bound; false when it fails.
template <typename Record, typename Describe>
ZUVO_ALL_IN_ONE bool ReadWithinBound(CheckedReader& r, std::size_t bound, Record* record, Describe describe) {
  UncheckedReader fast(r);
  fast.SetMargin(bound);
  describe(fast, *record);
  if (!fast.ok()) return false;
  r.MoveTo(fast);
  return true;
}

// Reads one record at the place of `r` and moves `r` past it; fails as a
// checked reading of it does.
template <typename Record, typename Describe>
void ReadRecord(CheckedReader& r, std::size_t bound, Record* record, Describe describe) {
  if (r.remaining() >= bound) {
    if (ReadWithinBound(r, bound, record, describe)) return;
    *record = Record();  // read it again, to learn and tell what failed
  }
  describe(r, *record);
}

// Reads one section: its count, then its records. The array gets the full
// count of records (none for a count of 0 or below; a signed 16-bit count
// caps it at 32767), zero-filled after a record that fails. Each record is
// made just before it is read, so its memory is written once while in cache.
template <typename Record, typename Describe, typename ReportFault>
int ReadSection(CheckedReader& r, const std::string& path, std::vector<Record>* records, Describe describe,
                ReportFault reportFault) {
  std::int16_t count = 0;
  r.Field(count, records::kFirst);
  if (!r.ok()) return FormatError(path);
  records->clear();
  if (count <= 0) return 1;
  records->reserve(static_cast<std::size_t>(count));  // no record moves from here on
  const std::size_t bound = RecordBound<Record>(describe);
  for (int i = 0; i < count; ++i) {
    records->emplace_back();
    Record& record = records->back();
    ReadRecord(r, bound, &record, describe);
    if (r.ok()) continue;
    records->resize(static_cast<std::size_t>(count));
    if (r.status() == ReadStatus::kTruncated) return FormatError(path);
    reportFault(record);
    return 0;
  }
  return 1;
}

int ReadLayout(const char* data, std::size_t size, const std::string& path, const ExtraLengths* extraLengths,
               Layout* layout) {
  CheckedReader r(data, size, extraLengths);

  if (!ReadSection(
          r, path, &layout->tracks, [](auto& fr, TrackRecord& t) { records::Track(fr, t); },
          [](const TrackRecord& t) { host::Report(host::Why::kTrackFaulty, static_cast<int>(t.id)); })) {
    return 0;
  }
  if (!ReadSection(
          r, path, &layout->models, [](auto& fr, ModelRecord& m) { records::Model(fr, m); },
          [](const ModelRecord& m) { host::Report(host::Why::kModelFaulty, static_cast<int>(m.id)); })) {
    return 0;
  }
  if (!ReadSection(
          r, path, &layout->rollingStock, [](auto& fr, RollingStockRecord& u) { records::RollingStock(fr, u); },
          [](const RollingStockRecord& u) {
            if (u.IsDll()) {
              host::Report(host::Why::kDllModelUnusable, u.name);
            } else {
              host::Report(host::Why::kRollingStockFaulty, static_cast<int>(u.id));
            }
          })) {
    return 0;
  }

  for (CameraView& view : layout->cameraViews) records::Camera(r, view);
  if (!r.ok()) return FormatError(path);

  records::PropertiesColours(r, layout->properties);
  if (r.status() == ReadStatus::kTruncated) return FormatError(path);
  if (!r.ok()) return 0;  // a separator that is not 0: only its diagnostic line
  if (r.remaining() < sizeof layout->properties.block) {
    host::Report(host::Why::kPropertiesFaulty);
    return 0;
  }
  records::PropertiesRest(r, layout->properties);
  if (!r.ok()) return FormatError(path);

  for (int index : layout->TrailerOrder()) {
    records::Trailer(r, layout->rollingStock[static_cast<std::size_t>(index)]);
  }
  if (!r.ok()) return FormatError(path);

  if (r.remaining() > 0) {
    host::Report(host::Why::kFileTooLong);
    return 0;
  }
  return 1;
}

int LoadFromMemory(Layout* layout, const char* data, std::size_t size, const std::string& path,
                   const ExtraLengths* extraLengths) {
  layout->loaded = 0;
  layout->Release();
  layout->loadedBytes = size;
  if (!ReadLayout(data, size, path, extraLengths, layout)) return 0;
  layout->loaded = 1;
  layout->LinkTrackModels();
  return 1;
}

}  // namespace

int Layout::LoadFromBytes(const std::string& bytes, const ExtraLengths& extraLengths) {
  return LoadFromMemory(this, bytes.data(), bytes.size(), std::string(), &extraLengths);
}

int Layout::Load(const std::string& path, const ExtraLengths& extraLengths) {
  loaded = 0;
  Release();
  FileBytes bytes;
  if (!ReadFileBytes(path, &bytes)) {
    host::Report(host::Why::kCannotOpen, path);
    return 0;
  }
  return LoadFromMemory(this, bytes.data.get(), bytes.size, path, &extraLengths);
}

}  // namespace layout
