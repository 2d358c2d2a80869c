// The machine registry on Windows, read only.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

int ReadMachineDefaultValue(const std::string& subkey, std::string* value) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return 0;
  }
  // Ask for the size first, then read; a value that grew in between is asked
  // for again, a few times at most.
  int ok = 0;
  std::vector<char> buffer;
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD size = 0;
    if (RegQueryValueExA(key, nullptr, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) break;
    buffer.assign(static_cast<std::size_t>(size) + 1, '\0');
    DWORD got = size;
    LONG result = RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &got);
    if (result == ERROR_MORE_DATA) continue;
    if (result != ERROR_SUCCESS || got > size) break;
    // The text ends at its terminating zero, or at the end of the data when
    // the value was stored without one.
    std::size_t length = 0;
    while (length < got && buffer[length] != '\0') ++length;
    value->assign(buffer.data(), length);
    ok = 1;
    break;
  }
  RegCloseKey(key);
  return ok;
}

std::string MachineRegistryPlace() { return "in der Registry"; }

}  // namespace platform
