#include "host/messages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/paths.h"
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

// (host::SaveFileReporting with its callers' words and under faults:
// model_writer_test.cpp, and the e2e save tests.)
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
