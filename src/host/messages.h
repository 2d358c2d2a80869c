// Reporting to the user.
//
// A failing operation formats one German message into the message buffer and
// calls ShowMessage, which hands the text to the message sink that the front
// end installed: the dialog shows a message box without owner, the console
// writes it to standard error, tests record it. Texts are code page 1252.
//
// The layout reader also writes one diagnostic line per failed consistency
// check; those go to the diagnostic sink (standard output by default).
#pragma once

#include <string>

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

// The message texts that several commands show (one %s: a path).
inline constexpr char kCannotOpen[] = "Can't open %s!\n";
inline constexpr char kWriteFailed[] = "Fehler beim Schreiben von %s!\n";
inline constexpr char kFileCannotBeOpened[] = "Datei %s kann nicht ge\xF6" "ffnet werden!";
inline constexpr char kFolderCannotBeOpened[] = "Ordner %s kann nicht ge\xF6" "ffnet werden!\n";
inline constexpr char kWrongExtension[] = "falsche Endung: %s\n";  // %s: the extension
// A write or rename refused because a link on its way leads out of the folder
// it must stay in (%s: the path, %s: that folder).
inline constexpr char kLinkOutside[] =
    "%s f\xFChrt \xFC" "ber einen Verweis aus %s hinaus und wird nicht ge\xE4ndert!\n";

// printf-style formatting into a string of whatever length it needs.
std::string StringPrintf(const char* format, ...) ZUVO_PRINTF(1, 2);

// The shared message buffer; holds the last message formatted into it.
std::string& MessageBuffer();

// Shows the message buffer through the installed sink.
void ShowMessage();

// Formats into the message buffer and shows it: the usual way to report.
void ShowFormatted(const char* format, ...) ZUVO_PRINTF(1, 2);

using TextSink = void (*)(const std::string& text, void* context);

// Installs the sink for ShowMessage; null restores the default (standard
// error, converted for the terminal). Returns nothing; the previous sink is
// handed back through the out parameters when they are not null.
void SetMessageSink(TextSink sink, void* context, TextSink* previousSink = nullptr,
                    void** previousContext = nullptr);

// One diagnostic line of the layout reader ("I: %d S: %d\n" and the like).
void WriteDiagnostic(const char* format, ...) ZUVO_PRINTF(1, 2);

// Installs the sink for diagnostic lines; null restores standard output.
void SetDiagnosticSink(TextSink sink, void* context);

}  // namespace host
