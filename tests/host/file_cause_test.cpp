// A file failure's message with its cause: the second line in words, only
// for the file that failed, and never for a message about something else.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/messages.h"
#include "host/wording.h"
#include "platform/file_failure.h"
#include "support/test_support.h"

namespace {

using platform::FileCause;

TEST(FileCauseTest, TheCauseIsTheSecondLineOfThatFilesMessageOnly) {
  const std::string file = "C:\\Sim\\Anlagen\\Berg.anl", folder = "C:\\Sim\\Anlagen";
  const struct {
    FileCause cause;
    const char* line;
  } causes[] = {
      {FileCause::kFileNotPermitted, "Grund: Keine Berechtigung f\xFCr die Datei.\n"},
      {FileCause::kFolderNotPermitted, "Grund: Keine Schreibberechtigung im Ordner C:\\Sim\\Anlagen.\n"},
      {FileCause::kFileReadOnly, "Grund: Die Datei ist schreibgesch\xFCtzt.\n"},
      {FileCause::kIsFolder, "Grund: Das ist ein Ordner, keine Datei.\n"},
      {FileCause::kDiskFull, "Grund: Der Datentr\xE4ger ist voll.\n"},
      {FileCause::kReadOnlyDisk, "Grund: Der Datentr\xE4ger ist schreibgesch\xFCtzt.\n"},
      {FileCause::kNone, ""},
  };
  for (const auto& c : causes) {
    testing_support::MessageRecorder messages;
    platform::NoteFileCause(c.cause, file, folder);
    host::Report(host::Why::kCannotOpen, file);
    host::Report(host::Why::kFileCannotBeOpened, "Berg.anl");  // named as shown: the same file
    // This text has no line end of its own: one comes before the cause.
    const std::string shown =
        std::string("Datei Berg.anl kann nicht ge\366ffnet werden!") + (*c.line ? "\n" : "") + c.line;
    EXPECT_EQ(messages.messages(), (std::vector<std::string>{"Can't open " + file + "!\n" + c.line, shown})) << c.line;
  }
  // A note for another file, or another kind of message, is left out.
  testing_support::MessageRecorder messages;
  platform::NoteFileCause(FileCause::kDiskFull, "C:\\Sim\\Anlagen\\Tal.anl");
  host::Report(host::Why::kCannotOpen, "C:\\Sim\\Anlagen\\Berg.anl");
  host::Report(host::Why::kFormatError);
  host::Report(host::Why::kSimulatorNotStarted, "C:\\Sim\\Anlagen\\Tal.anl");
  EXPECT_EQ(messages.messages(),
            (std::vector<std::string>{"Can't open C:\\Sim\\Anlagen\\Berg.anl!\n", "Formatfehler!\n",
                                      "Simulator \"C:\\Sim\\Anlagen\\Tal.anl\" kann nicht gestartet werden!\n"}));
  platform::ClearFileFailure();
}

}  // namespace
