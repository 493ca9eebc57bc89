// Path decomposition: takes a file path apart into drive, directory
// components, base name and extension. Both "\" and "/" separate components,
// a leading drive letter with a colon and a double leading separator (a
// network path) are recognised, so paths written for either family of
// systems split the same way.
#ifndef SEQSMITH_PATH_PATH_PARTS_H_
#define SEQSMITH_PATH_PATH_PARTS_H_

#include <string>
#include <vector>

// The pieces of one path, as filled by decomposePath.
struct PathParts {
  bool absolute =
      false;          // has a drive, or the directory starts with a separator
  bool unc = false;   // the directory starts with two separators
  std::string drive;  // "C:" or empty
  std::string host;   // first component of a network path, else empty
  std::string name;   // file name without its extension
  std::string extension;  // the extension with its leading dot, or empty
  std::vector<std::string> directories;  // normalised directory components
};

// Fills every field of `parts` from `path`. "." components and empty
// components are dropped and ".." removes the component before it where
// there is one. A directory, name or extension longer than 255 bytes makes
// every piece empty. Throws nothing but std::bad_alloc.
void decomposePath(const std::string& path, PathParts& parts);

// Returns the file name of `path` without directory and last extension:
// "song" for "C:\music\song.mid", "b.c" for "a/b.c.mid".
std::string getBaseName(const std::string& path);

#endif  // SEQSMITH_PATH_PATH_PARTS_H_
