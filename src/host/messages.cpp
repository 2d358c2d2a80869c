#include "host/messages.h"

#include <cstdarg>
#include <cstdio>

#include "host/wording.h"
#include "host/paths.h"
#include "platform/cp1252.h"
#include "platform/platform.h"

namespace host {
namespace {

struct Sinks {
  ReasonSink message = nullptr;
  void* messageContext = nullptr;
  TextSink diagnostic = nullptr;
  void* diagnosticContext = nullptr;
};

Sinks& CurrentSinks() {
  static Sinks sinks;
  return sinks;
}

std::string VStringPrintf(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  char small[256];
  int needed = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (needed < 0) return std::string();
  if (static_cast<std::size_t>(needed) < sizeof small) return std::string(small, needed);
  std::string result(static_cast<std::size_t>(needed) + 1, '\0');
  std::vsnprintf(&result[0], result.size(), format, args);
  result.resize(static_cast<std::size_t>(needed));
  return result;
}

}  // namespace

std::string StringPrintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string result = VStringPrintf(format, args);
  va_end(args);
  return result;
}

namespace {

// The reasons that name a file the system refused to open, write or rename.
bool NamesAFileFailure(Why why) {
  switch (why) {
    case Why::kCannotOpen:
    case Why::kWriteFailed:
    case Why::kFileCannotBeOpened:
    case Why::kFolderNotCreated:
    case Why::kCannotRename:
    case Why::kReadError:
    case Why::kJournalNotWritten: return true;
    default: return false;
  }
}

// The failure the platform noted last, when it was on a file the reason names.
platform::FileFailure CauseFor(const Reason& reason) {
  const platform::FileFailure& failure = platform::LastFileFailure();
  if (failure.cause == platform::FileCause::kNone || !NamesAFileFailure(reason.why)) return {};
  for (const std::string& arg : reason.args) {
    if (platform::EqualsIgnoringCase(arg, failure.path) ||
        (!arg.empty() && platform::EqualsIgnoringCase(FileNameOf(arg), FileNameOf(failure.path)))) {
      return failure;
    }
  }
  return {};
}

}  // namespace

Reason WithFileCause(const Reason& given) {
  Reason reason = given;
  if (reason.cause.cause == platform::FileCause::kNone) reason.cause = CauseFor(reason);
  return reason;
}

void Report(const Reason& given) {
  const Reason reason = WithFileCause(given);
  Sinks& sinks = CurrentSinks();
  if (sinks.message != nullptr) {
    sinks.message(reason, sinks.messageContext);
    return;
  }
  std::string text = platform::ToConsoleText(Wording(reason));
  if (text.empty() || text.back() != '\n') text.push_back('\n');
  std::fputs(text.c_str(), stderr);
  std::fflush(stderr);
}

void SetMessageSink(ReasonSink sink, void* context, ReasonSink* previousSink, void** previousContext) {
  Sinks& sinks = CurrentSinks();
  if (previousSink != nullptr) *previousSink = sinks.message;
  if (previousContext != nullptr) *previousContext = sinks.messageContext;
  sinks.message = sink;
  sinks.messageContext = context;
}

void WriteDiagnostic(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string line = VStringPrintf(format, args);
  va_end(args);
  Sinks& sinks = CurrentSinks();
  if (sinks.diagnostic != nullptr) {
    sinks.diagnostic(line, sinks.diagnosticContext);
    return;
  }
  std::fputs(platform::ToConsoleText(line).c_str(), stdout);
  std::fflush(stdout);
}

void SetDiagnosticSink(TextSink sink, void* context) {
  Sinks& sinks = CurrentSinks();
  sinks.diagnostic = sink;
  sinks.diagnosticContext = context;
}

}  // namespace host
