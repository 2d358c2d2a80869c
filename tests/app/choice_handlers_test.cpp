// The four "Auswählen" buttons and "Standard".

#include <gtest/gtest.h>

#include "app/app_fixture.h"

namespace {

using app_testing::AppTest;

TEST_F(AppTest, ChoosingKeepsOnlyTheFileName) {
  view.controls.m_bufferStop = "";
  view.controls.m_groundTexture = "Sand.bmp";
  view.fileAnswers = {{true, "D:\\Eigene\\Rot.mod"}, {false, "D:\\x.bmp"}, {true, ""}};
  EXPECT_EQ(dialog.OnChooseBufferStopClicked(), 1);
  EXPECT_EQ(dialog.members.m_bufferStop, "Rot.mod");
  EXPECT_EQ(view.controls.m_bufferStop, "Rot.mod");
  EXPECT_EQ(dialog.OnChooseGroundTextureClicked(), 1);  // cancelled
  EXPECT_EQ(view.controls.m_groundTexture, "Sand.bmp");
  EXPECT_EQ(dialog.OnChooseGroundTextureClicked(), 1);  // confirmed without a name
  EXPECT_EQ(view.controls.m_groundTexture, "Sand.bmp");
  ASSERT_EQ(view.fileDialogs.size(), 3u);
  EXPECT_EQ(view.fileDialogs[0].initialName, host.windows() + "\\Prellbock\\Prellbock.mod");
  EXPECT_EQ(view.fileDialogs[0].filter, "Prellbock|*.mod|Alle Dateien|*.*|");
  EXPECT_EQ(view.fileDialogs[1].initialName, host.windows() + "\\Bodentextur\\Sand.bmp");
  EXPECT_EQ(view.fileDialogs[1].filter, "Bodentextur|*.bmp|Alle Dateien|*.*|");

  view.fileAnswers = {{true, host.Path("Oberleitung\\Kupfer.mod")}, {false, ""}};
  EXPECT_EQ(dialog.OnChooseCatenaryClicked(), 1);
  EXPECT_EQ(view.controls.m_catenary, "Kupfer.mod");
  EXPECT_EQ(dialog.OnChooseGuidePostClicked(), 1);
  EXPECT_EQ(view.fileDialogs[3].initialName, host.windows() + "\\Oberleitung\\Oberleitung.mod");
  EXPECT_EQ(view.fileDialogs[3].filter, "Oberleitung|*.mod|Alle Dateien|*.*|");
  EXPECT_EQ(view.fileDialogs[4].initialName, host.windows() + "\\Leitpfosten\\Leitpfosten.mod");
  EXPECT_EQ(view.fileDialogs[4].filter, "Leitpfosten|*.mod|Alle Dateien|*.*|");
  EXPECT_EQ(view.controls.m_bufferStop, "Rot.mod");
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(AppTest, StandardPutsBackTheDefaultFilesThatExist) {
  host.Write("Prellbock\\Prellbock.mod", "Prellbock Original");
  host.Write("Mods\\Prellbock.mod", "Rot");
  host.Write("Mods\\Oberleitung.mod", "Kupfer");  // no default saved yet: stays
  host.Write("Leitpfosten\\Leitpfosten.mod", "Pfosten Original");
  host.Write("Bodentextur\\Grass.bmp", "Gras");
  host.Write("Parallels\\Tex256_256a.bmp", "Sand");
  dialog.members.m_bufferStop = "Rot.mod";
  EXPECT_EQ(dialog.OnStandardClicked(), 1);
  EXPECT_EQ(host.Read("Mods\\Prellbock.mod"), "Prellbock Original");
  EXPECT_EQ(host.Read("Mods\\Oberleitung.mod"), "Kupfer");
  EXPECT_EQ(host.Read("Mods\\Leitpfosten.mod"), "Pfosten Original");
  EXPECT_EQ(host.Read("Parallels\\Tex256_256a.bmp"), "Gras");
  EXPECT_EQ(dialog.members.m_bufferStop, "Rot.mod");
  EXPECT_TRUE(messages.messages().empty());
  EXPECT_TRUE(view.notices.empty());

  // Without an installation there is nothing to put back: it says so.
  host::SetHostDirectoryOverride("");
  host::SetCommandValueReader([](std::string*) { return 0; });
  EXPECT_EQ(dialog.OnStandardClicked(), 0);
  host::SetCommandValueReader(nullptr);
  EXPECT_EQ(messages.messages(), std::vector<std::string>{"Unbekannte oder fehlerhafte ZUVO Installation\n"});
}

// Found by the fault sweep of "zuvo standard": a copy that failed was
// ignored and the command ended as if every default were back.
TEST_F(AppTest, StandardTellsACopyThatFailedAndStillCopiesTheOthers) {
  host.Write("Prellbock\\Prellbock.mod", "Prellbock Original");
  host.Write("Oberleitung\\Oberleitung.mod", "Oberleitung Original");
  host.Write("Leitpfosten\\Leitpfosten.mod", "Pfosten Original");
  host.Write("Mods\\Prellbock.mod", "Rot");
  host.Write("Mods\\Oberleitung.mod", "Kupfer");
  host.Write("Mods\\Leitpfosten.mod", "Gelb");
  platform::PlanFault(platform::kFaultWrite, 2);
  EXPECT_EQ(dialog.OnStandardClicked(), 0);
  EXPECT_EQ(messages.messages(),
            std::vector<std::string>{"Fehler beim Schreiben von " + host.Path("Mods\\Oberleitung.mod") + "!\n"});
  EXPECT_EQ(host.Read("Mods\\Prellbock.mod"), "Prellbock Original");
  EXPECT_EQ(host.Read("Mods\\Oberleitung.mod"), "Kupfer");
  EXPECT_EQ(host.Read("Mods\\Leitpfosten.mod"), "Pfosten Original");
  EXPECT_EQ(host.List("Mods"), (std::vector<std::string>{"Leitpfosten.mod", "Oberleitung.mod", "Prellbock.mod"}));
}

}  // namespace
