// The catalogue with a path form installed: the arguments that are paths,
// and only those, are written in that form, nested texts included.
#include <gtest/gtest.h>

#include <string>

#include "host/wording.h"

namespace {

std::string Marked(const std::string& path) { return "<" + path + ">"; }

TEST(PathFormTest, OnlyThePathArgumentsTakeTheForm) {
  using host::Why;
  host::SetPathForm(Marked);
  host::Reason cannotOpen = host::Because(Why::kCannotOpen, "C:\\Sim\\Fehlt\\Berg.anl");
  cannotOpen.cause.cause = platform::FileCause::kNoSuchFolder;
  cannotOpen.cause.folder = "C:\\Sim\\Fehlt";
  const struct {
    host::Reason reason;
    const char* text;
  } rows[] = {
      {host::Because(Why::kCameraSetDeleted, "C:\\Nord", "C:\\Berg.danl"),
       "Kamera Set C:\\Nord gel\xF6scht: <C:\\Berg.danl>"},
      {host::Because(Why::kRemovalCount, "GBOs", 3, "C:\\Berg.anl"), "GBOs entfernt: 3, gespeichert: <C:\\Berg.anl>"},
      {host::Because(Why::kCannotRename, "C:\\a", "C:\\b"), "Datei <C:\\a> kann nicht in <C:\\b> umbenannt werden!\n"},
      {host::Because(Why::kHistoryKept, 2, "C:\\Verlauf"), "Vorige Fassung im Verlauf: Fassung 2 in <C:\\Verlauf>"},
      {cannotOpen, "Can't open <C:\\Sim\\Fehlt\\Berg.anl>!\nGrund: Den Ordner <C:\\Sim\\Fehlt> gibt es nicht.\n"},
      {host::Because(Why::kFormatError, ""), "Formatfehler!\n"},
      {host::Because(Why::kRunUnjudged, "C:\\Berg.anl", 7, "", "x"),
       "Ob der Lauf auf <C:\\Berg.anl> (Prozess 7) noch l\344uft, kann StartZUVO nicht feststellen: x. Ist er "
       "sicher vorbei, stellt \"zuvo repair --force\" alles zur\374ck.\n"},
  };
  for (const auto& row : rows) EXPECT_EQ(host::Wording(row.reason), row.text);
  host::SetPathForm(nullptr);
  EXPECT_EQ(host::Wording(Why::kMapWritten, "C:\\Berg.svg"), "Karte wurde erstellt: C:\\Berg.svg");
}

}  // namespace
