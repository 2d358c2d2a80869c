// "Löschen": deleting a camera set.

#include <gtest/gtest.h>

#include "app/app_fixture.h"

namespace {

using app::Globals;
using app_testing::AppTest;
using testing_support::Cp;

const char kSettings[] =
    "[KamSet Nord]\r\nPX1=1\r\n"
    "\r\n[Zuvo]\r\nKamSet=Nord\r\n"
    "\r\n[KamSet S\xFC" "d]\r\nPX1=2\r\n";

class DeleteCameraSetTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    host.Write("Anlagen\\Berg.anl", LayoutBytes(layout::Layout()));
    host.Write("Anlagen\\Berg.danl", kSettings);
    ASSERT_EQ(Load("Anlagen\\Berg.anl"), 1);
  }
};

TEST_F(DeleteCameraSetTest, AsksThenRemovesTheSectionAndTheListEntry) {
  // The name typed into the combo box counts, not the member.
  view.controls.m_cameraSet = "nord";
  view.answers = {false};
  EXPECT_EQ(dialog.OnDeleteCameraSetClicked(), 1);
  EXPECT_EQ(view.questions, std::vector<std::string>{"L\xF6sche Kamera Set nord ?"});
  EXPECT_EQ(view.controls.m_cameraSet, "nord");
  EXPECT_EQ(view.cameraSets.size(), 2u);
  EXPECT_EQ(host.Read("Anlagen\\Berg.danl"), kSettings);

  // "nord" is no section (names are case-sensitive), but the list finds its
  // entry ignoring case: the entry goes, the file is not written.
  view.answers = {true};
  EXPECT_EQ(dialog.OnDeleteCameraSetClicked(), 1);
  EXPECT_EQ(view.cameraSets, std::vector<std::string>{"S\xFC" "d"});
  EXPECT_EQ(view.controls.m_cameraSet, "");
  EXPECT_EQ(dialog.members.m_cameraSet, "");
  EXPECT_EQ(host.Read("Anlagen\\Berg.danl"), kSettings);

  view.controls.m_cameraSet = "S\xFC" "d";
  view.answers = {true};
  EXPECT_EQ(dialog.OnDeleteCameraSetClicked(), 1);
  EXPECT_TRUE(view.cameraSets.empty());
  // "KamSet" in "Zuvo" stays, even though it names a set.
  EXPECT_EQ(host.Read("Anlagen\\Berg.danl"), "[KamSet Nord]\r\nPX1=1\r\n\r\n[Zuvo]\r\nKamSet=Nord\r\n");
  EXPECT_FALSE(Globals().SettingsFile.HasSection("KamSet S\xFC" "d"));
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(DeleteCameraSetTest, AFailedWriteChangesNothing) {
  view.controls.m_cameraSet = "Nord";
  view.answers = {true};
  platform::PlanFault(platform::kFaultCreate, 1);
  EXPECT_EQ(dialog.OnDeleteCameraSetClicked(), 0);
  EXPECT_EQ(messages.messages(), std::vector<std::string>{"Can't open " + host.Path("Anlagen\\Berg.danl") + "!\n"});
  EXPECT_EQ(host.Read("Anlagen\\Berg.danl"), kSettings);
  EXPECT_TRUE(Globals().SettingsFile.HasSection("KamSet Nord"));
  EXPECT_EQ(view.cameraSets.size(), 2u);
  EXPECT_EQ(view.controls.m_cameraSet, "Nord");
}

TEST_F(DeleteCameraSetTest, NamesOfAnyLength) {
  const std::string name(700, 'L');
  Globals().SettingsFile.Set("KamSet " + name, "PX1", "1");
  view.AddCameraSet(name);
  view.controls.m_cameraSet = name;
  view.answers = {true};
  EXPECT_EQ(dialog.OnDeleteCameraSetClicked(), 1);
  EXPECT_EQ(view.questions.back(), "L\xF6sche Kamera Set " + name + " ?");
  EXPECT_EQ(host.Read("Anlagen\\Berg.danl"), kSettings);
  EXPECT_EQ(view.cameraSets.size(), 2u);
}

}  // namespace
