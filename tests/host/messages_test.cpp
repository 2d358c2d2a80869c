#include "host/messages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/paths.h"
#include "host/save.h"
#include "platform/faults.h"
#include "support/test_support.h"

namespace {

using Texts = std::vector<std::string>;

TEST(MessagesTest, FormatsWithoutALengthLimitIntoTheirOwnSinks) {
  EXPECT_EQ(host::StringPrintf("%zu %lld", static_cast<std::size_t>(5), 1LL << 40),
            "5 1099511627776");
  // Around the formatter's first guess and far past the old 1024 bytes.
  for (std::size_t length : {255u, 256u, 5000u}) {
    const std::string path(length, 'p');
    EXPECT_EQ(host::StringPrintf("Can't open %s!\n", path.c_str()), "Can't open " + path + "!\n");
  }
  testing_support::MessageRecorder messages;
  testing_support::DiagnosticRecorder diagnostics;
  host::ShowFormatted("Fehler beim Schreiben von %s!\n", "C:\\Gr\xFCn.danl");
  host::MessageBuffer() = "Anlage nicht OK\n";
  host::ShowMessage();
  host::WriteDiagnostic("I: %d S: %f\n", 3, 1.5);
  EXPECT_EQ(messages.messages(), (Texts{"Fehler beim Schreiben von C:\\Gr\xFCn.danl!\n",
                                        "Anlage nicht OK\n"}));
  EXPECT_EQ(diagnostics.lines(), Texts{"I: 3 S: 1.500000\n"});
}

TEST(SaveFileReportingTest, SavesOrReportsWithTheCallersWords) {
  testing_support::TempDir dir;
  testing_support::MessageRecorder messages;
  EXPECT_EQ(host::SaveFileReporting(dir.Path("a.txt"), "new\r\n"), 1);
  const std::string missing = dir.Path("nofolder\\b.txt");
  EXPECT_EQ(host::SaveFileReporting(missing, "x", "Kann %s nicht anlegen\n"), 0);
  platform::PlanFault(platform::kFaultWrite, 1);
  EXPECT_EQ(host::SaveFileReporting(dir.Path("a.txt"), "other", "Kann %s nicht anlegen\n"), 0);
  platform::ClearFaults();
  EXPECT_EQ(messages.messages(),
            (Texts{"Kann " + missing + " nicht anlegen\n",
                   "Fehler beim Schreiben von " + dir.Path("a.txt") + "!\n"}));
  EXPECT_EQ(dir.Read("a.txt"), "new\r\n");
  EXPECT_EQ(dir.List(), Texts{"a.txt"});
}

TEST(PathsTest, CutsAtTheLastBackslashAndTheFileNamesDot) {
  EXPECT_EQ(host::DirectoryOf("layout.anl"), ".");
  EXPECT_EQ(host::DirectoryOf("C:\\layout.anl"), "C:");
  EXPECT_EQ(host::BaseNameOf("C:\\x.y\\name"), "name");
  EXPECT_EQ(host::BaseNameOf("C:\\A\\lok.tar.dll"), "lok.tar");
  EXPECT_EQ(host::ExtensionOf("C:\\A\\b.danl"), "danl");
  EXPECT_EQ(host::ExtensionOf("C:\\x.y\\name"), "");
  EXPECT_EQ(host::StripExtension("C:\\x.y\\name"), "C:\\x.y\\name");
  EXPECT_EQ(host::StripExtension("C:\\A\\b.danl"), "C:\\A\\b");
  EXPECT_EQ(host::FileNameOf("D:\\Eigene\\Rot.mod"), "Rot.mod");
  EXPECT_TRUE(host::EqualsIgnoringAsciiCase("Bodentextur", "bODENTEXTUR"));
  EXPECT_FALSE(host::EqualsIgnoringAsciiCase("\xE4", "\xC4"));  // ASCII letters only
}

}  // namespace
