#include "app/external_players.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "model/file_io.h"
#include "support/test_support.h"

namespace beatloom {
namespace {

using Lines = std::vector<std::string>;

TEST(ExternalPlayers, TemplatesBecomeArgumentLists) {
  const std::string path = "/c/Edit temp BMS (can delete).bms";
  // Nothing in the chart's path may quote, split or run anything.
  const std::string hostile = "/x/a b;rm -rf ~ $(touch p) `id` 'q' \"d\"/song.bms";
  struct Row {
    const char* pattern;
    std::string path;
    std::string substituted;  // with the displayed measure 3
    Lines arguments;
  };
  const Row rows[] = {
      {"-N[Note#] [FileName]", path, "-N3 \"" + path + "\"", {"-N3", path}},
      {"[NOTE#] -x[note#]", path, "3 -x[note#]", {"3", "-x[note#]"}},
      {"[purefilename]", "/c/s.bms", "/c/s.bms", {"/c/s.bms"}},
      {"[FILENAME][PUREFILENAME]", "a'b", "\"a'b\"a'b", {"a'ba'b"}},
      {"-P [filename] -x", hostile, "-P \"" + hostile + "\" -x", {"-P", hostile, "-x"}},
      {"[PUREFILENAME]", hostile, hostile, {hostile}},
      // What a placeholder put in is never searched again.
      {"[filename] [note#]",
       "/c/[purefilename][NOTE#].bms",
       "\"/c/[purefilename][NOTE#].bms\" 3",
       {"/c/[purefilename][NOTE#].bms", "3"}},
      // The template's own quoting; a backslash is an ordinary character.
      {" -t \"a b\"\t'c \"d\"' '' x\\y -o=\"e f\"g", "", "", {"-t", "a b", "c \"d\"", "", "x\\y", "-o=e fg"}},
      {"\"unclosed rest", "", "", {"unclosed rest"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.pattern);
    const ArgumentText text = SubstitutePlaceholders(r.pattern, 3, r.path);
    if (!r.substituted.empty()) {
      EXPECT_EQ(text.text, r.substituted);
    }
    EXPECT_EQ(SplitArguments(text), r.arguments);
  }
}

TEST(ExternalPlayers, DisplayedMeasureAndProgramPlace) {
  for (const auto& [v, measure] : {std::pair{0, 0}, {-191, 0}, {-192, 1}, {-600, 3}})
    EXPECT_EQ(DisplayedMeasure(v), measure) << v;
  for (const auto& [given, used] : {std::pair{"/opt/p", "/opt/p"}, {"p.exe", "/b/p.exe"}, {"bin/p", "bin/p"}})
    EXPECT_EQ(ResolvePlayerProgram(given, "/b", ""), used) << given;
  // A bare name: the program folder first, then the folders on PATH that
  // hold it as an executable file.
  test::TempDir own, bin, notes;
  for (const std::string& f : {own.file("both"), bin.file("both"), bin.file("onpath"), notes.file("onpath")})
    test::WriteFile(f, "#!/bin/sh\n");
  for (const std::string& f : {own.file("both"), bin.file("both"), bin.file("onpath")}) chmod(f.c_str(), 0755);
  const std::string path = "/nowhere:" + notes.path() + ":" + bin.path();
  for (const auto& [given, used] :
       {std::pair{"both", own.file("both")}, {"onpath", bin.file("onpath")}, {"missing", own.file("missing")}})
    EXPECT_EQ(ResolvePlayerProgram(given, own.path(), path), used) << given;
}

TEST(ExternalPlayers, ListFileRoundTripAndDefault) {
  test::TempDir home;
  EXPECT_EQ(LoadExApps(home.path()), DefaultExApps());
  EXPECT_FALSE(FileExists(home.file(kExAppsFile)));  // the default is not written
  struct Row {
    std::string bytes;
    Lines lines;
    int entries;
  };
  const Row rows[] = {
      {"", DefaultExApps(), 1},
      // Surplus lines stay in the list but make no entry.
      {"a\nb\nc\nd\ne\nf\ng\nh", {"a", "b", "c", "d", "e", "f", "g", "h"}, 1},
      {"one\r\ntwo\r\n", {"one", "two"}, 0},
      {"\x95\x5c\x8e\xa6\r\nC:\\\x95\x5c.exe\r\n\r\n\r\n\r\n\r\n", {"表示", "C:\\表.exe", "", "", "", ""}, 1},
      {"\xEF\xBB\xBF/opt/\xC3\xA9\r\n\r\n\r\n\r\n\r\n\r\n", {"/opt/é", "", "", "", "", ""}, 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.bytes);
    test::WriteFile(home.file(kExAppsFile), r.bytes);
    const Lines lines = LoadExApps(home.path());
    EXPECT_EQ(lines, r.lines);
    EXPECT_EQ(WholeExAppEntries(lines).size(), static_cast<size_t>(r.entries * kExAppLines));
    std::string reason;
    ASSERT_TRUE(SaveExApps(home.path(), lines, &reason)) << reason;
    EXPECT_EQ(LoadExApps(home.path()), lines);
  }
  EXPECT_EQ(FormatExApps({"表示", "p"}), "\x95\x5c\x8e\xa6\r\np\r\n");  // CP932 with CR LF when it can
}

}  // namespace
}  // namespace beatloom
