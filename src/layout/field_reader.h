// Field reads of the layout file with its consistency checks.
//
// Much of the format is redundant: many fields are stored two or three
// times and zero words separate groups. A check reads a copy of a field and
// compares it with the value read first; a zero field must hold 0. A failed
// check writes one diagnostic line ("I: %d S: %d\n" with the value read and
// the expected one; "I: %f S: %f Diff: %e\n" for reals). A string check
// writes none.
//
// The first failure sticks: afterwards every read does nothing, so a record
// reader can read its fields in file order and look at the status where a
// value steers what follows. Fault() is the one place where a corrupt record
// is marked (a breakpoint there stops at every failed check).
#pragma once

#include <cstdint>
#include <string>

#include "host/messages.h"
#include "layout/byte_reader.h"

namespace layout {

enum class ReadStatus {
  kOk,
  kFault,      // a check failed or a value is not allowed
  kTruncated,  // a read ran past the end of the data
};

class FieldReader {
 public:
  explicit FieldReader(ByteReader* in) : in_(in) {}

  bool ok() const { return status_ == ReadStatus::kOk; }
  ReadStatus status() const { return status_; }
  ByteReader& bytes() { return *in_; }

  // Marks the record corrupt. Out of line, so that a breakpoint on it stops
  // at every failed check.
  void Fault();

  void Int16(std::int16_t* value);
  void Int32(std::int32_t* value);
  void Raw32(std::uint32_t* value);
  void Real(float* value);
  void Byte(std::uint8_t* value);
  void String(std::string* value);
  void Bytes(void* out, std::size_t count);

  void Check16(std::int16_t expected);
  void Check32(std::int32_t expected);
  void CheckReal(float expected);
  void Check8(std::uint8_t expected);
  void CheckString(const std::string& expected);
  void Zero16() { Check16(0); }
  void Zero32() { Check32(0); }
  void Zero8() { Check8(0); }

 private:
  bool Took(int readResult);

  ByteReader* in_;
  ReadStatus status_ = ReadStatus::kOk;
};

// The reads are inline: a layout file has hundreds of thousands of fields.
inline bool FieldReader::Took(int readResult) {
  if (readResult) return true;
  status_ = ReadStatus::kTruncated;
  return false;
}

inline void FieldReader::Int16(std::int16_t* value) {
  if (ok()) Took(in_->ReadInt16(value));
}

inline void FieldReader::Int32(std::int32_t* value) {
  if (ok()) Took(in_->ReadInt32(value));
}

inline void FieldReader::Raw32(std::uint32_t* value) {
  if (ok()) Took(in_->ReadUint32(value));
}

inline void FieldReader::Real(float* value) {
  if (ok()) Took(in_->ReadReal(value));
}

inline void FieldReader::Byte(std::uint8_t* value) {
  if (ok()) Took(in_->ReadByte(value));
}

inline void FieldReader::String(std::string* value) {
  if (ok()) Took(in_->ReadString(value));
}

inline void FieldReader::Bytes(void* out, std::size_t count) {
  if (ok()) Took(in_->ReadBytes(out, count));
}

inline void FieldReader::Check16(std::int16_t expected) {
  std::int16_t value;
  if (!ok() || !Took(in_->ReadInt16(&value))) return;
  if (value == expected) return;
  host::WriteDiagnostic("I: %d S: %d\n", value, expected);
  Fault();
}

inline void FieldReader::Check32(std::int32_t expected) {
  std::int32_t value;
  if (!ok() || !Took(in_->ReadInt32(&value))) return;
  if (value == expected) return;
  host::WriteDiagnostic("I: %d S: %d\n", value, expected);
  Fault();
}

inline void FieldReader::CheckReal(float expected) {
  float value;
  if (!ok() || !Took(in_->ReadReal(&value))) return;
  if (value == expected) return;
  float difference = value - expected;
  host::WriteDiagnostic("I: %f S: %f Diff: %e\n", static_cast<double>(value),
                        static_cast<double>(expected), static_cast<double>(difference));
  Fault();
}

inline void FieldReader::Check8(std::uint8_t expected) {
  std::uint8_t value;
  if (!ok() || !Took(in_->ReadByte(&value))) return;
  if (value == expected) return;
  host::WriteDiagnostic("I: %d S: %d\n", value, expected);
  Fault();
}

inline void FieldReader::CheckString(const std::string& expected) {
  std::uint8_t length;
  if (!ok() || !Took(in_->ReadByte(&length))) return;
  if (length != expected.size()) {
    Fault();
    return;
  }
  const char* text;
  if (!Took(in_->ReadView(&text, length))) return;
  if (expected.compare(0, expected.size(), text, length) != 0) Fault();
}

}  // namespace layout
