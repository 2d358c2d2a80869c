// The JSON that scripts read: the real output of show --json, dump and
// history --json, with and without a known installation, checked against the
// repository's schema by python3's jsonschema.
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <set>

#include "e2e/installation.h"

namespace e2e {
namespace {

const char kValidate[] =
    "import json, sys, jsonschema\n"
    "schema = json.load(open(sys.argv[1]))\n"
    "jsonschema.Draft202012Validator.check_schema(schema)\n"
    "errors = jsonschema.Draft202012Validator(schema).iter_errors(json.load(open(sys.argv[2])))\n"
    "sys.exit(1 if any(True for e in errors) else 0)\n";

TEST_F(InstallationTest, JsonOutputFollowsTheSchema) {
  WriteMixedLayout();
  Write("Prellbock\\eisen.MOD", "x");              // listed, ignoring case in the pattern and the order
  Write("Prellbock\\Liste.txt", "x");              // not of the kind's file type
  dir_.MakeDirs(Inside("Prellbock\\Ordner.mod"));  // not a file
  Write("Anlagen\\Test.danl", "[KamSet Nord]\r\nPX1=1\r\n[Zuvo]\r\nLeitpfosten=Gelb.mod\r\n");
  const std::string registry = "\"C:\\Sim\\Kantrelwick.exe\" \"%1\"", berg = Native("Anlagen\\Berg.anl");
  const std::vector<std::string> show = {"show", "--json", Layout()}, dump = {"dump", berg},
                                 history = {"history", "--json", Native("Anlagen\\Hist.anl")};
  Write("Anlagen\\Hist.anl", Read("Anlagen\\Berg.anl"));  // a version in its history
  ASSERT_EQ(Zuvo({"--yes", "remove-missing", "real-estate", Native("Anlagen\\Hist.anl")}).exitCode, 0);
  const struct {
    std::vector<std::string> args;
    std::string registry;
    const char* pointer;  // a value of the output
    const char* value;    // as JSON
  } cases[] = {
      {show, registry, "/installation", "\"C:\\\\Sim\\\\\""},
      {show, registry, "/availableFiles",
       R"({"bufferStop":["eisen.MOD","Holz.mod"],"catenary":["Kette.mod"],)"
       R"("guidePost":["Gelb.mod"],"groundTexture":["Sand.bmp"]})"},
      {show, registry, "/cameraSet", "null"},
      {show, registry, "/guidePost", "\"Gelb.mod\""},
      {show, "", "/installation", "null"},
      {dump, registry, "/installation", "\"C:\\\\Sim\\\\\""},
      {dump, "", "/installation", "null"},
      {history, "", "/versions/0/number", "1"},
      {history, "", "/versions/0/models", "2"},
  };
  const std::string schemaCheck = "python3 -c '" + std::string(kValidate) + "' " + ZUVO_SCHEMA + " ";
  std::set<std::string> valid;
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args) + c.pointer);
    SetRegistryCommand(c.registry);
    RunResult run = Zuvo(c.args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const nlohmann::json output = nlohmann::json::parse(run.out, nullptr, false);
    EXPECT_EQ(output.value(nlohmann::json::json_pointer(c.pointer), nlohmann::json()), nlohmann::json::parse(c.value));
    if (valid.insert(run.out).second) {  // each distinct output validated once
      dir_.Write("out.json", run.out);
      EXPECT_EQ(std::system((schemaCheck + dir_.NativePath("out.json")).c_str()), 0) << run.out;
    }
  }
}

}  // namespace
}  // namespace e2e
