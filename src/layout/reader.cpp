// Reading a layout file (".anl"); the format is described in records.h.
//
// The whole file is read into memory and parsed with bounds-checked reads.
// A record whose check fails gives its record's message; a read that runs
// past the end stops the load with "Formatfehler!\n".

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "host/messages.h"
#include "layout/layout.h"
#include "layout/records.h"
#include "platform/platform.h"

namespace layout {
namespace {

enum class ReadStatus {
  kOk,
  kFault,      // a check failed or a value is not allowed
  kTruncated,  // a read ran past the end of the data
};

bool IsValidType(std::int32_t type) {
  switch (type) {
    case 1: case 2: case 3: case 4: case 6: case 7: case 8: case 9: case 11:
      return true;
    default:
      return false;
  }
}

// Whether the `count` bytes at `a` and at `b` are the same. Names are short,
// and comparing them eight bytes at a time here costs less than a call.
bool SameBytes(const char* a, const unsigned char* b, std::size_t count) {
  for (; count >= 8; count -= 8, a += 8, b += 8) {
    std::uint64_t x, y;
    std::memcpy(&x, a, 8);
    std::memcpy(&y, b, 8);
    if (x != y) return false;
  }
  for (; count > 0; --count, ++a, ++b) {
    if (static_cast<unsigned char>(*a) != *b) return false;
  }
  return true;
}

// The reading visitor of the record descriptions. A first field is read; a
// copy is read and compared with the value read first, and a zero field
// must hold 0. A failed check writes one diagnostic line ("I: %d S: %d\n"
// with the value read and the expected one; "I: %f S: %f Diff: %e\n" for
// reals; none for a string). The first failure sticks: afterwards every read
// does nothing.
//
// The cursor lives in the visitor itself and every read is one bounds check
// inlined into the description; whatever happens only on a failure (the
// diagnostic line, the status) is out of line. A failure moves the cursor to
// the end, so every later read fails its bounds check and leaves its field
// alone: the reads need no test of the status of their own.
class FieldReader {
 public:
  FieldReader(const char* data, std::size_t size, const ExtraLengths* extraLengths)
      : at_(reinterpret_cast<const unsigned char*>(data)), end_(at_ + size), extraLengths_(extraLengths) {}

  bool ok() const { return status_ == ReadStatus::kOk; }
  ReadStatus status() const { return status_; }
  std::size_t remaining() const { return static_cast<std::size_t>(end_ - at_); }

  // Marks the record corrupt. Out of line, so that a breakpoint on it stops
  // at every failed check.
  void Fault();

  template <typename T>
  void Field(T& value, records::First) {
    Get(&value);
  }
  // A key only names a field for a dump.
  template <typename T, typename Occurrence>
  void Field(const records::Key&, T& value, Occurrence occurrence) {
    Field(value, occurrence);
  }
  void Field(std::int16_t& value, records::Copy) { Expect(value); }
  void Field(std::int32_t& value, records::Copy) { Expect(value); }
  void Field(std::uint8_t& value, records::Copy) { Expect(value); }
  // Carried values; a copy's diagnostic shows them as signed.
  void Field(std::uint32_t& value, records::Copy) { Expect(static_cast<std::int32_t>(value)); }
  void Field(float& value, records::Copy) {
    float stored;
    if (Get(&stored) && !(stored == value)) RealMismatch(stored, value);
  }
  void Field(std::string& value, records::Copy) {
    if (!Have(1)) return;
    const std::size_t length = at_[0];
    if (length != value.size()) return Fault();
    if (!Have(1 + length)) return;
    if (!SameBytes(value.data(), at_ + 1, length)) return Fault();
    at_ += 1 + length;
  }
  template <typename T>
  void Zero() {
    Expect(T(0));
  }
  void Bytes(void* out, std::size_t count) {
    if (!Have(count)) return;
    if (count > 0) std::memcpy(out, at_, count);
    at_ += count;
  }
  void Bytes(const records::Key&, void* out, std::size_t count) { Bytes(out, count); }
  bool Stored(bool inFile) { return inFile; }

  bool KnownType(TrackRecord& t) {
    if (!ok()) return false;
    if (!IsValidType(t.type)) {
      host::ShowFormatted("%s: Unbekannter Typ %d!\n", t.name.c_str(), t.type);
      Fault();
      return false;
    }
    t.UpdateEndCount();
    return true;
  }
  int EndCount(TrackRecord& t) {
    std::int16_t stored = 0;
    if (!Get(&stored)) return 0;
    if (stored < 0 || stored > kMaxEnds - 2) {
      Fault();
      return 0;
    }
    t.endCount = static_cast<std::int16_t>(stored + 2);
    return t.endCount;
  }
  void EndFlag(TrackConnection& c) {
    std::uint32_t flag = 0;
    Get(&flag);
    c.linkId = static_cast<std::int16_t>(static_cast<std::uint16_t>(flag & 0xFFFF));
  }
  void NegatedReal(const records::Key&, float& value) {
    Get(&value);
    value = -value;
  }
  bool ExtraData(RollingStockRecord& u) {
    if (!ok()) return false;
    u.extraData.clear();
    if (!u.IsDll()) return true;
    int length = 0;
    // A length the data sheet cannot mean, or more extra data than the file
    // still holds, makes the unit unusable.
    if (!extraLengths_->Find(u.name, &length) || length < 0 ||
        static_cast<std::size_t>(length) > remaining()) {
      Fault();
      return false;
    }
    u.extraData.assign(at_, at_ + length);
    at_ += length;
    return true;
  }

 private:
  // Whether `count` more bytes are there; when not, the read ran past the
  // end (or follows a failure) and nothing is read.
  bool Have(std::size_t count) {
    if (count <= remaining()) return true;
    PastTheEnd();
    return false;
  }
  void PastTheEnd();
  void IntegerMismatch(int stored, int expected);
  void RealMismatch(float stored, float expected);

  static std::uint16_t Le16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
  }
  static std::uint32_t Le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
  }

  bool Get(std::uint8_t* value) {
    if (!Have(1)) return false;
    *value = at_[0];
    at_ += 1;
    return true;
  }
  bool Get(std::int16_t* value) {
    if (!Have(2)) return false;
    *value = static_cast<std::int16_t>(Le16(at_));
    at_ += 2;
    return true;
  }
  bool Get(std::uint32_t* value) {
    if (!Have(4)) return false;
    *value = Le32(at_);
    at_ += 4;
    return true;
  }
  bool Get(std::int32_t* value) {
    if (!Have(4)) return false;
    *value = static_cast<std::int32_t>(Le32(at_));
    at_ += 4;
    return true;
  }
  // An IEEE 754 single-precision value, bit for bit.
  bool Get(float* value) {
    if (!Have(4)) return false;
    const std::uint32_t bits = Le32(at_);
    std::memcpy(value, &bits, sizeof bits);
    at_ += 4;
    return true;
  }
  // A length byte, then that many bytes (no terminator); every byte is kept.
  bool Get(std::string* value) {
    if (!Have(1)) return false;
    const std::size_t length = at_[0];
    if (!Have(1 + length)) return false;
    const char* text = reinterpret_cast<const char*>(at_ + 1);
    // A string of a fresh record is made at its size at once; one that has
    // room already (a record read again) keeps its buffer.
    value->assign(text, length);
    at_ += 1 + length;
    return true;
  }
  // An integer copy: read, compare, report.
  template <typename T>
  void Expect(T expected) {
    T stored;
    if (Get(&stored) && stored != expected) {
      IntegerMismatch(static_cast<int>(stored), static_cast<int>(expected));
    }
  }

  const unsigned char* at_;
  const unsigned char* end_;
  const ExtraLengths* extraLengths_;
  ReadStatus status_ = ReadStatus::kOk;
};

void FieldReader::Fault() {
  status_ = ReadStatus::kFault;
  at_ = end_;
}

void FieldReader::PastTheEnd() {
  if (status_ == ReadStatus::kOk) status_ = ReadStatus::kTruncated;
  at_ = end_;
}

void FieldReader::IntegerMismatch(int stored, int expected) {
  host::WriteDiagnostic("I: %d S: %d\n", stored, expected);
  Fault();
}

void FieldReader::RealMismatch(float stored, float expected) {
  float difference = stored - expected;
  host::WriteDiagnostic("I: %f S: %f Diff: %e\n", static_cast<double>(stored),
                        static_cast<double>(expected), static_cast<double>(difference));
  Fault();
}

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

int FormatError() {
  host::ShowFormatted("Formatfehler!\n");
  return 0;
}

// Reads one section: its count, then its records. The array gets the full
// count of records (none for a count of 0 or below; a signed 16-bit count
// caps it at 32767), zero-filled after a record that fails. Each record is
// made just before it is read, so its memory is written once while in cache.
template <typename Record, typename Describe, typename ReportFault>
int ReadSection(FieldReader& r, std::vector<Record>* records, Describe describe,
                ReportFault reportFault) {
  std::int16_t count = 0;
  r.Field(count, records::kFirst);
  if (!r.ok()) return FormatError();
  records->clear();
  if (count <= 0) return 1;
  records->reserve(static_cast<std::size_t>(count));  // no record moves from here on
  for (int i = 0; i < count; ++i) {
    records->emplace_back();
    Record& record = records->back();
    describe(r, record);
    if (r.ok()) continue;
    records->resize(static_cast<std::size_t>(count));
    if (r.status() == ReadStatus::kTruncated) return FormatError();
    reportFault(record);
    return 0;
  }
  return 1;
}

int ReadLayout(const char* data, std::size_t size, const ExtraLengths* extraLengths, Layout* layout) {
  FieldReader r(data, size, extraLengths);

  if (!ReadSection(r, &layout->tracks, [](FieldReader& fr, TrackRecord& t) { records::Track(fr, t); },
                   [](const TrackRecord& t) {
                     host::ShowFormatted("Gleis Nr. %d fehlerhaft!\n", t.id);
                   })) {
    return 0;
  }
  if (!ReadSection(r, &layout->models, [](FieldReader& fr, ModelRecord& m) { records::Model(fr, m); },
                   [](const ModelRecord& m) {
                     host::ShowFormatted("Modell Nr. %d fehlerhaft!\n", m.id);
                   })) {
    return 0;
  }
  if (!ReadSection(r, &layout->rollingStock,
                   [](FieldReader& fr, RollingStockRecord& u) { records::RollingStock(fr, u); },
                   [](const RollingStockRecord& u) {
                     if (u.IsDll()) {
                       host::ShowFormatted("Dll-Modell \"%s\" kann nicht benutzt werden!\n",
                                           u.name.c_str());
                     } else {
                       host::ShowFormatted("Rollmaterial Nr. %d fehlerhaft!\n", u.id);
                     }
                   })) {
    return 0;
  }

  for (CameraView& view : layout->cameraViews) records::Camera(r, view);
  if (!r.ok()) return FormatError();

  records::PropertiesColours(r, layout->properties);
  if (r.status() == ReadStatus::kTruncated) return FormatError();
  if (!r.ok()) return 0;  // a separator that is not 0: only its diagnostic line
  if (r.remaining() < sizeof layout->properties.block) {
    host::ShowFormatted("Feher in Eigenschaften!\n");
    return 0;
  }
  records::PropertiesRest(r, layout->properties);
  if (!r.ok()) return FormatError();

  for (int index : layout->TrailerOrder()) {
    records::Trailer(r, layout->rollingStock[static_cast<std::size_t>(index)]);
  }
  if (!r.ok()) return FormatError();

  if (r.remaining() > 0) {
    host::ShowFormatted("Datei zu lang!\n");
    return 0;
  }
  return 1;
}

int LoadFromMemory(Layout* layout, const char* data, std::size_t size,
                   const ExtraLengths* extraLengths) {
  layout->loaded = 0;
  layout->Release();
  if (!ReadLayout(data, size, extraLengths, layout)) return 0;
  layout->loaded = 1;
  layout->LinkTrackModels();
  return 1;
}

}  // namespace

int Layout::LoadFromBytes(const std::string& bytes, const ExtraLengths& extraLengths) {
  return LoadFromMemory(this, bytes.data(), bytes.size(), &extraLengths);
}

int Layout::Load(const std::string& path, const ExtraLengths& extraLengths) {
  loaded = 0;
  Release();
  FileBytes bytes;
  if (!ReadFileBytes(path, &bytes)) {
    host::ShowFormatted(host::kCannotOpen, path.c_str());
    return 0;
  }
  return LoadFromMemory(this, bytes.data.get(), bytes.size, &extraLengths);
}

}  // namespace layout
