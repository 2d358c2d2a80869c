// Bounds-checked little-endian reads from bytes in memory.
//
// Every read either takes exactly the bytes it needs or fails: a read that
// would run past the end sets the truncated state, consumes the rest and
// leaves its output untouched. Truncation is never a silent zero; once
// truncated, every later read fails too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace layout {

class ByteReader {
 public:
  ByteReader(const char* data, std::size_t size) : data_(data), size_(size) {}
  explicit ByteReader(const std::string& bytes) : ByteReader(bytes.data(), bytes.size()) {}

  bool truncated() const { return truncated_; }
  std::size_t remaining() const { return size_ - position_; }
  std::size_t position() const { return position_; }

  // Copies `count` bytes to `out`. Fails (truncated) when fewer remain.
  int ReadBytes(void* out, std::size_t count) {
    if (truncated_ || count > remaining()) {
      truncated_ = true;
      position_ = size_;
      return 0;
    }
    if (count > 0) std::memcpy(out, data_ + position_, count);
    position_ += count;
    return 1;
  }

  // Points `*where` at the next `count` bytes and passes them, without a copy.
  int ReadView(const char** where, std::size_t count) {
    if (truncated_ || count > remaining()) {
      truncated_ = true;
      position_ = size_;
      return 0;
    }
    *where = data_ + position_;
    position_ += count;
    return 1;
  }

  int ReadByte(std::uint8_t* value) { return ReadBytes(value, 1); }

  int ReadInt16(std::int16_t* value) {
    unsigned char b[2];
    if (!ReadBytes(b, 2)) return 0;
    *value = static_cast<std::int16_t>(static_cast<std::uint16_t>(b[0] | (b[1] << 8)));
    return 1;
  }

  int ReadUint32(std::uint32_t* value) {
    unsigned char b[4];
    if (!ReadBytes(b, 4)) return 0;
    *value = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
             (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    return 1;
  }

  int ReadInt32(std::int32_t* value) {
    std::uint32_t bits;
    if (!ReadUint32(&bits)) return 0;
    *value = static_cast<std::int32_t>(bits);
    return 1;
  }

  // An IEEE 754 single-precision value, bit for bit.
  int ReadReal(float* value) {
    std::uint32_t bits;
    if (!ReadUint32(&bits)) return 0;
    std::memcpy(value, &bits, sizeof bits);
    return 1;
  }

  // A length byte, then that many bytes (no terminator). Every byte is kept.
  int ReadString(std::string* value) {
    std::uint8_t length;
    if (!ReadByte(&length)) return 0;
    const char* text;
    if (!ReadView(&text, length)) return 0;
    value->assign(text, length);
    return 1;
  }

 private:
  const char* data_;
  std::size_t size_;
  std::size_t position_ = 0;
  bool truncated_ = false;
};

}  // namespace layout
