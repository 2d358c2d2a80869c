// Reporting to the user.
//
// A failing operation says why with a reason (host/reasons.h) and calls
// Report, which hands it to the message sink that the front end installed:
// the dialog shows the catalogue's text (host/wording.h) in a message box
// without owner, the console writes it to standard error with the hints it
// knows for that reason, tests record it. Texts are code page 1252.
//
// The layout reader also writes one diagnostic line per failed consistency
// check; those go to the diagnostic sink (standard output by default).
#pragma once

#include <string>

#include "host/reasons.h"

namespace host {

// MinGW's "printf" archetype is the Microsoft one, which rejects %zu and %lld;
// the C99 formatting that MinGW links in (__USE_MINGW_ANSI_STDIO) is checked
// as gnu_printf.
#if defined(__MINGW32__)
#define ZUVO_PRINTF(fmt, args) __attribute__((format(gnu_printf, fmt, args)))
#elif defined(__GNUC__)
#define ZUVO_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define ZUVO_PRINTF(fmt, args)
#endif

// printf-style formatting into a string of whatever length it needs.
std::string StringPrintf(const char* format, ...) ZUVO_PRINTF(1, 2);

// Hands the reason to the installed sink (by default: its text on standard
// error, converted for the terminal).
void Report(const Reason& reason);

template <typename... Args>
void Report(Why why, const Args&... args) {
  Report(Because(why, args...));
}

// Reasons kept instead of reported: a caller that shows them itself (the
// terrain preview draws them into its picture) passes a list; null reports.
using Reasons = std::vector<Reason>;

// The reason with the cause the platform noted last (platform/file_failure.h)
// when it names the file that failed; Report and Tell attach it.
Reason WithFileCause(const Reason& reason);

inline void Tell(Reasons* into, const Reason& reason) {
  if (into != nullptr) {
    into->push_back(WithFileCause(reason));
  } else {
    Report(reason);
  }
}
template <typename... Args>
void Tell(Reasons* into, Why why, const Args&... args) {
  Tell(into, Because(why, args...));
}

using ReasonSink = void (*)(const Reason& reason, void* context);

// Installs the sink for Report; null restores the default. The previous sink
// is handed back through the out parameters when they are not null.
void SetMessageSink(ReasonSink sink, void* context, ReasonSink* previousSink = nullptr,
                    void** previousContext = nullptr);

using TextSink = void (*)(const std::string& text, void* context);

// One diagnostic line of the layout reader ("I: %d S: %d\n" and the like).
void WriteDiagnostic(const char* format, ...) ZUVO_PRINTF(1, 2);

// Installs the sink for diagnostic lines; null restores standard output.
void SetDiagnosticSink(TextSink sink, void* context);

}  // namespace host
