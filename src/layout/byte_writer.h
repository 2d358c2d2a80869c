// Little-endian writes into a byte string, the counterpart of ByteReader.
// The string grows in large steps and each field is stored in place; call
// Finish() to cut it to what was written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace layout {

class ByteWriter {
 public:
  explicit ByteWriter(std::string* out) : out_(out), position_(out->size()) {}

  void Bytes(const void* data, std::size_t count) {
    if (count == 0) return;
    std::memcpy(Room(count), data, count);
  }
  void Byte(std::uint8_t value) { *Room(1) = static_cast<char>(value); }
  void Int16(std::int16_t value) {
    std::uint16_t bits = static_cast<std::uint16_t>(value);
    char* p = Room(2);
    p[0] = static_cast<char>(bits & 0xFF);
    p[1] = static_cast<char>(bits >> 8);
  }
  void Raw32(std::uint32_t bits) {
    char* p = Room(4);
    p[0] = static_cast<char>(bits & 0xFF);
    p[1] = static_cast<char>((bits >> 8) & 0xFF);
    p[2] = static_cast<char>((bits >> 16) & 0xFF);
    p[3] = static_cast<char>(bits >> 24);
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
    Bytes(text.data(), text.size());
  }

  // Cuts the string to the bytes written.
  void Finish() { out_->resize(position_); }

 private:
  // Space for `count` more bytes; advances past it.
  char* Room(std::size_t count) {
    if (out_->size() - position_ < count) {
      std::size_t grown = out_->size() * 2;
      out_->resize(grown > position_ + count + 4096 ? grown : position_ + count + 4096);
    }
    char* p = &(*out_)[position_];
    position_ += count;
    return p;
  }

  std::string* out_;
  std::size_t position_;
};

}  // namespace layout
