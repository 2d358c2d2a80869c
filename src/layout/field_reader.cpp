#include "layout/field_reader.h"

#include "host/messages.h"

namespace layout {

void FieldReader::Fault() {
  if (status_ == ReadStatus::kOk) status_ = ReadStatus::kFault;
}

bool FieldReader::Took(int readResult) {
  if (readResult) return true;
  status_ = ReadStatus::kTruncated;
  return false;
}

void FieldReader::Int16(std::int16_t* value) {
  if (ok()) Took(in_->ReadInt16(value));
}

void FieldReader::Int32(std::int32_t* value) {
  if (ok()) Took(in_->ReadInt32(value));
}

void FieldReader::Raw32(std::uint32_t* value) {
  if (ok()) Took(in_->ReadUint32(value));
}

void FieldReader::Real(float* value) {
  if (ok()) Took(in_->ReadReal(value));
}

void FieldReader::Byte(std::uint8_t* value) {
  if (ok()) Took(in_->ReadByte(value));
}

void FieldReader::String(std::string* value) {
  if (ok()) Took(in_->ReadString(value));
}

void FieldReader::Bytes(void* out, std::size_t count) {
  if (ok()) Took(in_->ReadBytes(out, count));
}

void FieldReader::Check16(std::int16_t expected) {
  std::int16_t value;
  if (!ok() || !Took(in_->ReadInt16(&value))) return;
  if (value == expected) return;
  host::WriteDiagnostic("I: %d S: %d\n", value, expected);
  Fault();
}

void FieldReader::Check32(std::int32_t expected) {
  std::int32_t value;
  if (!ok() || !Took(in_->ReadInt32(&value))) return;
  if (value == expected) return;
  host::WriteDiagnostic("I: %d S: %d\n", value, expected);
  Fault();
}

void FieldReader::CheckReal(float expected) {
  float value;
  if (!ok() || !Took(in_->ReadReal(&value))) return;
  if (value == expected) return;
  float difference = value - expected;
  host::WriteDiagnostic("I: %f S: %f Diff: %e\n", static_cast<double>(value),
                        static_cast<double>(expected), static_cast<double>(difference));
  Fault();
}

void FieldReader::Check8(std::uint8_t expected) {
  std::uint8_t value;
  if (!ok() || !Took(in_->ReadByte(&value))) return;
  if (value == expected) return;
  host::WriteDiagnostic("I: %d S: %d\n", value, expected);
  Fault();
}

void FieldReader::CheckString(const std::string& expected) {
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
