// The reading visitor of the record descriptions (records.h), used by the
// layout reader only.
//
// A first field is read; a copy is read and compared with the value read
// first, and a zero field must hold 0. A failed check writes one diagnostic
// line ("I: %d S: %d\n" with the value read and the expected one;
// "I: %f S: %f Diff: %e\n" for reals; none for a string). The first failure
// sticks: afterwards every read does nothing.
//
// The cursor lives in the visitor and every read is inlined into the
// description. A checked reader tests the bounds of each read; whatever
// happens only on a failure (the line, the status) is out of line. A failure
// moves the cursor to the end, so every later read fails its bounds test and
// leaves its field alone.
//
// An unchecked reader reads a record that lies wholly inside the data
// whatever its bytes say: it is used only where at least ByteBound(record)
// bytes remain, the most that its description can read. It reports nothing:
// on any failure the caller reads the record again with a checked reader,
// which tells what failed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "layout/layout.h"
#include "layout/records.h"

namespace layout {
namespace reading {

enum class ReadStatus {
  kOk,
  kFault,      // a check failed or a value is not allowed
  kTruncated,  // a read ran past the end of the data
};

inline bool IsValidType(std::int32_t type) {
  switch (type) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 6:
    case 7:
    case 8:
    case 9:
    case 11: return true;
    default: return false;
  }
}

// Whether the `count` bytes at `a` and at `b` are the same. Names are short,
// and comparing them a word at a time here costs less than a call; the last
// word overlaps the one before it.
inline bool SameBytes(const char* a, const unsigned char* b, std::size_t count) {
  std::uint64_t x, y;
  if (count >= 8) {
    for (std::size_t i = 0; i + 8 <= count; i += 8) {
      std::memcpy(&x, a + i, 8);
      std::memcpy(&y, b + i, 8);
      if (x != y) return false;
    }
    std::memcpy(&x, a + count - 8, 8);
    std::memcpy(&y, b + count - 8, 8);
    return x == y;
  }
  std::uint32_t u, w;
  if (count >= 4) {
    std::memcpy(&u, a, 4);
    std::memcpy(&w, b, 4);
    if (u != w) return false;
    std::memcpy(&u, a + count - 4, 4);
    std::memcpy(&w, b + count - 4, 4);
    return u == w;
  }
  for (std::size_t i = 0; i < count; ++i) {
    if (static_cast<unsigned char>(a[i]) != b[i]) return false;
  }
  return true;
}

// Messages and lines of a checked reader, out of line (reader.cpp).
void ShowUnknownType(const TrackRecord& t);
void WriteIntegerMismatch(int stored, int expected);
void WriteRealMismatch(float stored, float expected);

template <bool kChecked>
class FieldReader {
 public:
  // `final`: whether the data ends where the layout's bytes end; when not
  // (a window onto a file), a record that needs more is truncated, and the
  // caller reads it again with more of the file.
  FieldReader(const char* data, std::size_t size, const ExtraLengths* extraLengths, bool final = true)
      : at_(reinterpret_cast<const unsigned char*>(data)),
        end_(at_ + size),
        extraLengths_(extraLengths),
        final_(final) {}
  // A reader of the other kind at the same place.
  template <bool kOther>
  explicit FieldReader(const FieldReader<kOther>& other)
      : at_(other.at_), end_(other.end_), extraLengths_(other.extraLengths_), final_(other.final_) {}

  bool ok() const { return status_ == ReadStatus::kOk; }
  ReadStatus status() const { return status_; }
  std::size_t remaining() const { return static_cast<std::size_t>(end_ - at_); }
  const unsigned char* at() const { return at_; }
  // Goes on from where `other` (at the same data) stopped.
  template <bool kOther>
  void MoveTo(const FieldReader<kOther>& other) {
    at_ = other.at_;
  }

  // Marks the record corrupt: every failed check ends here, so that a
  // breakpoint on it stops at each.
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
    if (!Get(&stored) || stored == value) return;
    if (kChecked) WriteRealMismatch(stored, value);
    Fault();
  }
  void Field(Name& value, records::Copy) {
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
      if (kChecked) ShowUnknownType(t);
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
  // `margin`: the bytes that must remain after the extra data (an unchecked
  // reader's bound of the record; 0 for a checked one).
  bool ExtraData(RollingStockRecord& u) {
    if (!ok()) return false;
    u.extraData.clear();
    if (!u.IsDll()) return true;
    int length = 0;
    // A length the data sheet cannot mean, or more extra data than the file
    // still holds, makes the unit unusable. An unchecked reader also needs
    // the rest of the record's bound after it.
    if (!extraLengths_->Find(u.name, &length) || length < 0) {
      Fault();
      return false;
    }
    if (static_cast<std::size_t>(length) > remaining() || remaining() - static_cast<std::size_t>(length) < margin_) {
      if (kChecked && !final_) {
        PastTheEnd();  // more of the file may hold it
      } else {
        Fault();
      }
      return false;
    }
    u.extraData.assign(at_, at_ + length);
    at_ += length;
    return true;
  }
  void SetMargin(std::size_t margin) { margin_ = margin; }

 private:
  template <bool kOther>
  friend class FieldReader;

  // Whether `count` more bytes are there; when not, the read ran past the
  // end (or follows a failure) and nothing is read. An unchecked reader
  // reads inside its bound and does not ask.
  bool Have(std::size_t count) {
    if (!kChecked || count <= remaining()) return true;
    PastTheEnd();
    return false;
  }
  void PastTheEnd();

  static std::uint16_t Le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
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
  bool Get(Name* value) {
    if (!Have(1)) return false;
    const std::size_t length = at_[0];
    if (!Have(1 + length)) return false;
    value->assign(reinterpret_cast<const char*>(at_ + 1), length);
    at_ += 1 + length;
    return true;
  }
  // An integer copy: read, compare, report.
  template <typename T>
  void Expect(T expected) {
    T stored;
    if (!Get(&stored) || stored == expected) return;
    if (kChecked) WriteIntegerMismatch(static_cast<int>(stored), static_cast<int>(expected));
    Fault();
  }

  const unsigned char* at_;
  const unsigned char* end_;
  const ExtraLengths* extraLengths_;
  bool final_;
  std::size_t margin_ = 0;
  ReadStatus status_ = ReadStatus::kOk;
};

// A checked reader's failure moves it to the end; an unchecked one stays
// inside its bound, where reading on is harmless, and is read again.
template <bool kChecked>
void FieldReader<kChecked>::Fault() {
  status_ = ReadStatus::kFault;
  if (kChecked) at_ = end_;
}

template <bool kChecked>
void FieldReader<kChecked>::PastTheEnd() {
  if (status_ == ReadStatus::kOk) status_ = ReadStatus::kTruncated;
  at_ = end_;
}

using CheckedReader = FieldReader<true>;
using UncheckedReader = FieldReader<false>;

// The most bytes a description can read for one record: every field that
// may be stored, strings of 255 bytes, the most ends a piece can have. Extra
// data is not counted (an unchecked reader asks for it apart).
class ByteBound {
 public:
  std::size_t bytes() const { return bytes_; }

  template <typename T, typename Occurrence>
  void Field(const records::Key&, T& value, Occurrence occurrence) {
    Field(value, occurrence);
  }
  template <typename T, typename Occurrence>
  void Field(T&, Occurrence) {
    bytes_ += sizeof(T);
  }
  template <typename Occurrence>
  void Field(Name&, Occurrence) {
    bytes_ += 1 + 255;
  }
  template <typename T>
  void Zero() {
    bytes_ += sizeof(T);
  }
  void Bytes(const records::Key&, void*, std::size_t count) { bytes_ += count; }
  bool Stored(bool) { return true; }
  bool KnownType(TrackRecord&) { return true; }
  int EndCount(TrackRecord&) {
    bytes_ += sizeof(std::int16_t);
    return kMaxEnds;
  }
  void EndFlag(TrackConnection&) { bytes_ += sizeof(std::uint32_t); }
  void NegatedReal(const records::Key&, float&) { bytes_ += sizeof(float); }
  bool ExtraData(RollingStockRecord&) { return true; }

 private:
  std::size_t bytes_ = 0;
};

}  // namespace reading
}  // namespace layout
