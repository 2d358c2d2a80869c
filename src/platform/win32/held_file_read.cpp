// Reading a held file on Windows, through its own handle.
#include <windows.h>

#include <string>

#include "platform/held_file.h"

namespace platform {

int ReadHeldFile(const HeldFile& held, std::string* bytes) {
  if (!held.held()) return 0;
  HANDLE file = reinterpret_cast<HANDLE>(static_cast<intptr_t>(held.file_));
  bytes->clear();
  LARGE_INTEGER start = {};
  if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return 0;
  char block[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file, block, sizeof block, &got, nullptr)) return 0;
    if (got == 0) return 1;
    bytes->append(block, got);
  }
}

}  // namespace platform
