#include <windows.h>

#include <io.h>

#include <algorithm>

#include "platform/cp1252.h"
#include "platform/terminal.h"

namespace platform {

int IsTerminal(StandardStream stream) { return _isatty(static_cast<int>(stream)) ? 1 : 0; }

int WriteText(std::FILE* stream, const std::string& cp1252) {
  if (std::fflush(stream) != 0) return 0;
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
    // A console: the characters themselves, in pieces the call takes.
    const std::u16string text = Cp1252ToUtf16(cp1252);
    for (std::size_t done = 0; done < text.size();) {
      const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 8192));
      DWORD written = 0;
      if (!WriteConsoleW(handle, reinterpret_cast<const wchar_t*>(text.data() + done), piece, &written, nullptr) ||
          written == 0) {
        return 0;
      }
      done += written;
    }
    return 1;
  }
  const bool written = std::fwrite(cp1252.data(), 1, cp1252.size(), stream) == cp1252.size();
  return std::fflush(stream) == 0 && written;
}

}  // namespace platform
