// Little-endian appends to a byte string, the counterpart of ByteReader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace layout {

class ByteWriter {
 public:
  explicit ByteWriter(std::string* out) : out_(out) {}

  void Bytes(const void* data, std::size_t count) {
    out_->append(static_cast<const char*>(data), count);
  }
  void Byte(std::uint8_t value) { out_->push_back(static_cast<char>(value)); }
  void Int16(std::int16_t value) {
    std::uint16_t bits = static_cast<std::uint16_t>(value);
    char b[2] = {static_cast<char>(bits & 0xFF), static_cast<char>(bits >> 8)};
    out_->append(b, 2);
  }
  void Raw32(std::uint32_t bits) {
    char b[4] = {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF),
                 static_cast<char>((bits >> 16) & 0xFF), static_cast<char>(bits >> 24)};
    out_->append(b, 4);
  }
  void Int32(std::int32_t value) { Raw32(static_cast<std::uint32_t>(value)); }
  // An IEEE 754 single-precision value, bit for bit.
  void Real(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    Raw32(bits);
  }
  // A length byte and the bytes; the caller has made sure of at most 255.
  void String(const std::string& text) {
    Byte(static_cast<std::uint8_t>(text.size()));
    out_->append(text);
  }

 private:
  std::string* out_;
};

}  // namespace layout
