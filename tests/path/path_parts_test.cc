// Path decomposition: drive, network host, normalised directories, name and
// extension, and the base name the driver builds its labels from.
#include "path/path_parts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Expected {
  bool absolute = false;
  bool unc = false;
  std::string drive;
  std::string host;
  std::vector<std::string> directories;
  std::string name;
  std::string extension;
};

void expectParts(const PathParts& parts, const Expected& expected) {
  EXPECT_EQ(parts.absolute, expected.absolute);
  EXPECT_EQ(parts.unc, expected.unc);
  EXPECT_EQ(parts.drive, expected.drive);
  EXPECT_EQ(parts.host, expected.host);
  EXPECT_EQ(parts.directories, expected.directories);
  EXPECT_EQ(parts.name, expected.name);
  EXPECT_EQ(parts.extension, expected.extension);
}

struct Case {
  std::string path;
  Expected expected;
};

void checkCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    PathParts parts;
    decomposePath(c.path, parts);
    expectParts(parts, c.expected);
  }
}

TEST(DecomposePath, DriveDirectoriesNameAndExtension) {
  checkCases({
      {"C:\\music\\song.mid",
       {true, false, "C:", "", {"music"}, "song", ".mid"}},
      {"song.mid", {false, false, "", "", {}, "song", ".mid"}},
      {"C:song.mid", {true, false, "C:", "", {}, "song", ".mid"}},
      {"C:", {true, false, "C:", "", {}, "", ""}},
      {"/tmp/x.mid", {true, false, "", "", {"tmp"}, "x", ".mid"}},
      {"a\\b/c.d", {false, false, "", "", {"a", "b"}, "c", ".d"}},
      {"song", {false, false, "", "", {}, "song", ""}},
      {"dir/", {false, false, "", "", {"dir"}, "", ""}},
      {"", {false, false, "", "", {}, "", ""}},
  });
}

TEST(DecomposePath, ExtensionStartsAtTheLastDotOfTheFileName) {
  checkCases({
      {"a/b.c.mid", {false, false, "", "", {"a"}, "b.c", ".mid"}},
      {"old.dir\\song", {false, false, "", "", {"old.dir"}, "song", ""}},
      {"music.new/song", {false, false, "", "", {"music.new"}, "song", ""}},
      {".mid", {false, false, "", "", {}, "", ".mid"}},
      {"song.", {false, false, "", "", {}, "song", "."}},
      {"x/.hidden", {false, false, "", "", {"x"}, "", ".hidden"}},
  });
}

TEST(DecomposePath, DirectoriesAreNormalised) {
  checkCases({
      {"a/b/../c/./d//x.y.z",
       {false, false, "", "", {"a", "c", "d"}, "x.y", ".z"}},
      {"../../x", {false, false, "", "", {"..", ".."}, "x", ""}},
      {"x/../../y", {false, false, "", "", {".."}, "y", ""}},
      {"../a/../b/f", {false, false, "", "", {"..", "b"}, "f", ""}},
      {"./././f", {false, false, "", "", {}, "f", ""}},
      {"/../f", {true, false, "", "", {".."}, "f", ""}},
  });
}

TEST(DecomposePath, NetworkPathTakesItsFirstComponentAsHost) {
  checkCases({
      {"\\\\srv\\share\\f.mid",
       {true, true, "", "srv", {"share"}, "f", ".mid"}},
      {"//srv/share/sub/f", {true, true, "", "srv", {"share", "sub"}, "f", ""}},
      {"\\/srv\\f", {true, true, "", "srv", {}, "f", ""}},
      // Further leading separators change nothing.
      {"////srv/share/f", {true, true, "", "srv", {"share"}, "f", ""}},
      {"\\\\srv", {true, true, "", "", {}, "srv", ""}},
      // The host is not a directory: ".." after it meets an empty list.
      {"\\\\srv\\..\\f", {true, true, "", "srv", {".."}, "f", ""}},
      {"\\\\srv\\share\\..\\f", {true, true, "", "srv", {}, "f", ""}},
      {"\\\\srv\\share\\..\\..\\f", {true, true, "", "srv", {".."}, "f", ""}},
      // Empty and "." components before the host are skipped, not taken.
      {"\\\\.\\srv\\f", {true, true, "", "srv", {}, "f", ""}},
      {"C:\\\\srv\\f", {true, true, "C:", "srv", {}, "f", ""}},
  });
}

TEST(DecomposePath, Utf8BytesAreKeptAsTheyAre) {
  checkCases({
      {"C:\\m\xC3\xBAsica\\canci\xC3\xB3n.mid",
       {true, false, "C:", "", {"m\xC3\xBAsica"}, "canci\xC3\xB3n", ".mid"}},
      {"\xE6\x9B\xB2/\xE6\x9B\xB2.\xE6\x9B\xB2",
       {false,
        false,
        "",
        "",
        {"\xE6\x9B\xB2"},
        "\xE6\x9B\xB2",
        ".\xE6\x9B\xB2"}},
  });
}

TEST(DecomposePath, PieceOf256BytesEmptiesEverything) {
  const std::string max(255, 'n');
  const std::string over(256, 'n');
  const Expected empty;
  checkCases({
      {"C:\\d\\" + over + ".mid", empty},
      {"C:" + over.substr(1) + "\\x.mid", empty},  // directory: 256 bytes
      {"C:\\d\\x." + max, empty},                  // extension is 256
      {"C:\\d\\" + max + ".mid", {true, false, "C:", "", {"d"}, max, ".mid"}},
      {"C:" + max.substr(1) + "\\x." + max.substr(1),
       {true, false, "C:", "", {max.substr(1)}, "x", "." + max.substr(1)}},
  });
}

TEST(DecomposePath, EveryFieldOfAUsedRecordIsReplaced) {
  PathParts parts;
  decomposePath("\\\\srv\\share\\f.mid", parts);
  decomposePath("song", parts);
  expectParts(parts, {false, false, "", "", {}, "song", ""});

  decomposePath("C:\\\\srv\\share\\f.mid", parts);
  decomposePath("x/" + std::string(256, 'n'), parts);
  expectParts(parts, Expected{});
}

TEST(GetBaseName, FileNameWithoutDirectoryAndLastExtension) {
  EXPECT_EQ(getBaseName("C:\\music\\song.mid"), "song");
  EXPECT_EQ(getBaseName("a/b.c.mid"), "b.c");
  EXPECT_EQ(getBaseName("music.new/song"), "song");
  EXPECT_EQ(getBaseName("\\\\srv\\share\\f.mid"), "f");
  EXPECT_EQ(getBaseName(".mid"), "");
  EXPECT_EQ(getBaseName(std::string(256, 'n') + ".mid"), "");
}

}  // namespace
