#include "layout/name.h"

#include <ostream>

namespace layout {

Name& Name::AssignLong(const char* bytes, std::size_t count) {
  if (count <= kInline) {  // a heap name that fits inside again
    Free();
    if (count > 0) std::memcpy(u_.inside, bytes, count);
    SetInline(count);
    return *this;
  }
  if (!OnHeap() || u_.heap.capacity <= count) {
    char* larger = new char[count + 1];
    Free();
    u_.heap.bytes = larger;
    u_.heap.capacity = static_cast<std::uint32_t>(count + 1);
    u_.inside[sizeof u_.inside - 1] = static_cast<char>(kHeapTag);
  }
  std::memcpy(u_.heap.bytes, bytes, count);
  u_.heap.bytes[count] = '\0';
  u_.heap.size = static_cast<std::uint32_t>(count);
  return *this;
}

std::ostream& operator<<(std::ostream& out, const Name& name) {
  return out.write(name.data(), static_cast<std::streamsize>(name.size()));
}

}  // namespace layout
