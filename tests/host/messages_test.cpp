#include "host/messages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/save.h"
#include "platform/faults.h"
#include "support/test_support.h"

namespace {

using testing_support::MessageRecorder;
using testing_support::TempDir;

TEST(MessagesTest, FormattingHasNoLengthLimit) {
  EXPECT_EQ(host::StringPrintf("%s-%d", "a", 7), "a-7");
  EXPECT_EQ(host::StringPrintf("%s", ""), "");
  EXPECT_EQ(host::StringPrintf("%zu %lld", static_cast<std::size_t>(5), 1LL << 40),
            "5 1099511627776");
  // Around the formatter's first guess and far past the old 1024 bytes.
  for (std::size_t length : {254u, 255u, 256u, 257u, 1023u, 1024u, 5000u}) {
    const std::string path(length, 'p');
    const std::string text = host::StringPrintf("Can't open %s!\n", path.c_str());
    EXPECT_EQ(text, "Can't open " + path + "!\n") << length;
  }
}

TEST(MessagesTest, ShowFormattedFillsTheBufferAndReachesTheSink) {
  MessageRecorder messages;
  const std::string path = "C:\\" + std::string(2000, 'x') + "\\Gr\xFCn.danl";
  host::ShowFormatted("Fehler beim Schreiben von %s!\n", path.c_str());
  host::MessageBuffer() = "Anlage nicht OK\n";
  host::ShowMessage();
  EXPECT_EQ(messages.messages(),
            (std::vector<std::string>{"Fehler beim Schreiben von " + path + "!\n",
                                      "Anlage nicht OK\n"}));
  EXPECT_EQ(host::MessageBuffer(), "Anlage nicht OK\n");
}

TEST(MessagesTest, DiagnosticsGoToTheirOwnSink) {
  MessageRecorder messages;
  testing_support::DiagnosticRecorder diagnostics;
  host::WriteDiagnostic("I: %d S: %d\n", 3, -4);
  host::WriteDiagnostic("I: %f S: %f Diff: %e\n", 1.5, 2.0, 0.5);
  EXPECT_EQ(diagnostics.lines(), (std::vector<std::string>{
                                     "I: 3 S: -4\n", "I: 1.500000 S: 2.000000 Diff: 5.000000e-01\n"}));
  EXPECT_TRUE(messages.messages().empty());
}

TEST(SaveFileReportingTest, SavesOrReportsWithTheCallersWords) {
  TempDir dir;
  MessageRecorder messages;
  EXPECT_EQ(host::SaveFileReporting(dir.Path("a.txt"), "new\r\n"), 1);
  EXPECT_EQ(dir.Read("a.txt"), "new\r\n");
  EXPECT_TRUE(messages.messages().empty());

  const std::string missing = dir.Path("nofolder\\b.txt");
  EXPECT_EQ(host::SaveFileReporting(missing, "x", "Kann %s nicht anlegen\n"), 0);
  platform::PlanFault(platform::kFaultWrite, 1);
  EXPECT_EQ(host::SaveFileReporting(dir.Path("a.txt"), "other", "Kann %s nicht anlegen\n"), 0);
  platform::ClearFaults();
  EXPECT_EQ(messages.messages(),
            (std::vector<std::string>{"Kann " + missing + " nicht anlegen\n",
                                      "Fehler beim Schreiben von " + dir.Path("a.txt") + "!\n"}));
  EXPECT_EQ(dir.Read("a.txt"), "new\r\n");
  EXPECT_EQ(dir.List(), std::vector<std::string>{"a.txt"});
}

}  // namespace
