// Reading a layout file (".anl"); the format is described in records.h.
//
// The bytes are parsed with bounds-checked reads (field_reader.h). A record
// whose check fails gives its record's message; a read that runs past the
// end stops the load with "Formatfehler!\n" and, on a second line, the file
// (when the bytes came from one).
//
// A file is read a chunk at a time into a window that moves on between
// records: the load holds about one chunk of the file, not all of it, and
// parses each chunk while it is still in the cache. Before each record the
// window is refilled so that it holds the most that the record can take
// (ByteBound), unless the file ends first; a record longer than that (extra
// data of a unit driven by a library) finds the window short, and is read
// again once the window holds more.
//
// Most records lie far from the end of the window: these are read without a
// test of the bounds per field, since the most that a record can take is
// there. Only a record near the end of the file, or one that fails, is read
// with every bounds test, and that reading alone tells of a failure.

#include <algorithm>
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
#include "layout/track_model_places.h"
#include "layout/trailer_index.h"
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

// How much of a file one read takes: small enough to stay in the cache
// while it is parsed, large enough that the reads cost nothing.
const std::size_t kReadChunk = 256 * 1024;

// Where the reader's bytes come from: bytes in memory, all there at once,
// or a file seen through a window of the bytes not yet parsed.
class Source {
 public:
  Source(const char* data, std::size_t size, const ExtraLengths* extraLengths)
      : window_(reinterpret_cast<const unsigned char*>(data)), size_(size), extraLengths_(extraLengths) {}
  Source(std::FILE* file, std::size_t chunk, const ExtraLengths* extraLengths)
      : file_(file), chunk_(std::max<std::size_t>(chunk, 1)), extraLengths_(extraLengths) {}

  // A reader at `at`, a place in the window.
  CheckedReader ReaderAt(const unsigned char* at) const {
    return CheckedReader(reinterpret_cast<const char*>(at), static_cast<std::size_t>(window_ + size_ - at),
                         extraLengths_, AtEnd());
  }
  CheckedReader Reader() const { return ReaderAt(window_); }

  // Whether the window reaches the end of the bytes.
  bool AtEnd() const { return file_ == nullptr || ended_; }
  // Whether reading the file failed.
  bool failed() const { return failed_; }
  // All the bytes taken from the file (or held in memory) so far.
  std::size_t BytesRead() const { return file_ == nullptr ? size_ : dropped_ + size_; }

  // Makes sure that `*r` has at least `count` bytes ahead of it or reaches
  // the end of the file. False when the file cannot be read.
  bool Ensure(CheckedReader* r, std::size_t count) { return r->remaining() >= count || AtEnd() || Refill(r, count); }
  // Keeps the bytes ahead of `*r`, reads on until `count` bytes are ahead
  // (and at least one chunk more than before) or the file ends, and moves
  // `*r` to the same byte in the new window.
  bool Refill(CheckedReader* r, std::size_t count);

 private:
  std::FILE* file_ = nullptr;
  std::size_t chunk_ = 0;
  std::unique_ptr<unsigned char[]> buffer_;
  std::size_t capacity_ = 0;
  const unsigned char* window_ = nullptr;
  std::size_t size_ = 0;
  std::size_t dropped_ = 0;  // the file's bytes parsed and no longer in the window
  bool ended_ = false;
  bool failed_ = false;
  const ExtraLengths* extraLengths_;
};

bool Source::Refill(CheckedReader* r, std::size_t count) {
  const std::size_t keep = r->remaining();
  const std::size_t wanted = std::max(count, keep + chunk_);
  dropped_ += size_ - keep;
  if (wanted > capacity_) {
    std::unique_ptr<unsigned char[]> larger(new (std::nothrow) unsigned char[wanted]);
    if (larger == nullptr) {
      failed_ = true;
      return false;
    }
    if (keep > 0) std::memcpy(larger.get(), r->at(), keep);
    buffer_ = std::move(larger);
    capacity_ = wanted;
  } else if (keep > 0) {
    std::memmove(buffer_.get(), r->at(), keep);
  }
  window_ = buffer_.get();
  size_ = keep;
  while (size_ < wanted) {
    const std::size_t got = std::fread(buffer_.get() + size_, 1, wanted - size_, file_);
    size_ += got;
    if (got > 0) continue;
    failed_ = std::ferror(file_) != 0;
    ended_ = true;
    break;
  }
  *r = Reader();
  return !failed_;
}

// Makes `*record` a new, empty record in its place: what it held is freed
// and each member is set once, with no new record built apart and copied.
template <typename Record>
void Renew(Record* record) {
  record->~Record();
  new (record) Record();
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

// The camera views and the properties: what follows the three lists.
std::size_t TailBound() {
  ByteBound bound;
  CameraView view;
  LayoutProperties properties;
  for (int i = 0; i < kCameraViewCount; ++i) records::Camera(bound, view);
  records::PropertiesColours(bound, properties);
  records::PropertiesRest(bound, properties);
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

// Reads one record as ReadRecord does; a record that runs past the window
// before the file ends is read again from its start once the window holds
// more. False when the file cannot be read.
template <typename Record, typename Describe>
bool ReadWhole(Source& source, CheckedReader& r, std::size_t bound, Record* record, Describe describe) {
  const unsigned char* start = r.at();
  ReadRecord(r, bound, record, describe);
  while (r.status() == ReadStatus::kTruncated && !source.AtEnd()) {
    r = source.ReaderAt(start);
    if (!source.Refill(&r, 2 * r.remaining())) return false;
    start = r.at();
    *record = Record();
    ReadRecord(r, bound, record, describe);
  }
  return true;
}

// Reads one section: its count, then its records. The array gets the full
// count of records (none for a count of 0 or below; a signed 16-bit count
// caps it at 32767), zero-filled after a record that fails. Each record is
// made just before it is read, in the place of the record that an earlier
// load left there, so its memory is written once while in cache and the
// old records are not walked through apart.
// `each` is told of every record read, while it is in the cache.
template <typename Record, typename Describe, typename ReportFault, typename Each>
int ReadSection(Source& source, CheckedReader& r, const std::string& path, std::vector<Record>* records,
                Describe describe, ReportFault reportFault, Each each) {
  std::int16_t count = 0;
  if (!source.Ensure(&r, sizeof count)) return 0;
  r.Field(count, records::kFirst);
  if (!r.ok()) return FormatError(path);
  const std::size_t total = count > 0 ? static_cast<std::size_t>(count) : 0;
  if (records->size() > total) records->resize(total);
  records->reserve(total);  // no record moves from here on
  const std::size_t bound = RecordBound<Record>(describe);
  for (std::size_t i = 0; i < total; ++i) {
    if (!source.Ensure(&r, bound)) return 0;
    if (i < records->size()) {
      Renew(&(*records)[i]);
    } else {
      records->emplace_back();
    }
    Record& record = (*records)[i];
    if (!ReadWhole(source, r, bound, &record, describe)) return 0;
    if (r.ok()) {
      each(record, i);
      continue;
    }
    records->resize(i + 1);  // what an earlier load left after it goes
    records->resize(total);
    if (r.status() == ReadStatus::kTruncated) return FormatError(path);
    reportFault(record);
    return 0;
  }
  return 1;
}

// Fails without a message when the file cannot be read (the caller tells).
// The lists after one that fails are left empty.
// `places`: the bridges and buffer stops among the models read.
int ReadLayout(Source& source, const std::string& path, Layout* layout, TrackModelPlaces* places) {
  CheckedReader r = source.Reader();

  if (!ReadSection(
          source, r, path, &layout->tracks, [](auto& fr, TrackRecord& t) { records::Track(fr, t); },
          [](const TrackRecord& t) { host::Report(host::Why::kTrackFaulty, static_cast<int>(t.id)); },
          [](const TrackRecord&, std::size_t) {})) {
    layout->models.clear();
    layout->rollingStock.clear();
    return 0;
  }
  if (!ReadSection(
          source, r, path, &layout->models, [](auto& fr, ModelRecord& m) { records::Model(fr, m); },
          [](const ModelRecord& m) { host::Report(host::Why::kModelFaulty, static_cast<int>(m.id)); },
          [places](const ModelRecord& m, std::size_t i) { places->Note(m, static_cast<int>(i)); })) {
    layout->rollingStock.clear();
    return 0;
  }
  TrailerIndex trailers;
  if (!ReadSection(
          source, r, path, &layout->rollingStock, [](auto& fr, RollingStockRecord& u) { records::RollingStock(fr, u); },
          [](const RollingStockRecord& u) {
            if (u.IsDll()) {
              host::Report(host::Why::kDllModelUnusable, u.name);
            } else {
              host::Report(host::Why::kRollingStockFaulty, static_cast<int>(u.id));
            }
          },
          [&trailers](const RollingStockRecord& u, std::size_t i) { trailers.Note(u.id, static_cast<int>(i)); })) {
    return 0;
  }

  if (!source.Ensure(&r, TailBound())) return 0;
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

  const std::vector<int> order = trailers.Order();
  if (!source.Ensure(&r, order.size() * RecordBound<RollingStockRecord>(
                                            [](auto& v, RollingStockRecord& u) { records::Trailer(v, u); }))) {
    return 0;
  }
  for (int index : order) records::Trailer(r, layout->rollingStock[static_cast<std::size_t>(index)]);
  if (!r.ok()) return FormatError(path);

  if (!source.Ensure(&r, 1)) return 0;
  if (r.remaining() > 0) {
    host::Report(host::Why::kFileTooLong);
    return 0;
  }
  return 1;
}

// The records of an earlier load give their places to the new ones.
int LoadFrom(Layout* layout, Source& source, const std::string& path) {
  layout->loaded = 0;
  TrackModelPlaces places;
  const int read = ReadLayout(source, path, layout, &places);
  layout->loadedBytes = source.BytesRead();
  if (source.failed()) {
    layout->Release();
    host::Report(host::Why::kCannotOpen, path);
    return 0;
  }
  if (!read) return 0;
  layout->loaded = 1;
  LinkTrackModelsAt(layout, places);
  return 1;
}

}  // namespace

int Layout::LoadFromBytes(const std::string& bytes, const ExtraLengths& extraLengths) {
  Source source(bytes.data(), bytes.size(), &extraLengths);
  return LoadFrom(this, source, std::string());
}

int Layout::Load(const std::string& path, const ExtraLengths& extraLengths) {
  return LoadInChunks(path, extraLengths, kReadChunk);
}

int Layout::LoadInChunks(const std::string& path, const ExtraLengths& extraLengths, std::size_t chunkBytes) {
  loaded = 0;
  std::FILE* file = platform::OpenFile(path, "rb");
  if (file == nullptr) {
    Release();
    host::Report(host::Why::kCannotOpen, path);
    return 0;
  }
  Source source(file, chunkBytes, &extraLengths);
  const int result = LoadFrom(this, source, path);
  std::fclose(file);
  return result;
}

}  // namespace layout
