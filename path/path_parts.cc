#include "path/path_parts.h"

#include <cstddef>

namespace {

constexpr std::size_t kMaxPiece = 255;

bool isSeparator(char c) { return c == '\\' || c == '/'; }

struct Pieces {
  std::string drive;
  std::string directory;
  std::string name;
  std::string extension;
};

// Splits a path into drive, directory, name and extension. Narrow strings
// are UTF-8 here, where no byte of a multibyte character is a separator, a
// dot or a colon, so every byte is examined on its own.
Pieces splitPath(const std::string& path) {
  Pieces pieces;
  std::size_t restStart = 0;
  if (path.size() >= 2 && path[1] == ':') {
    pieces.drive = path.substr(0, 2);
    restStart = 2;
  }
  std::size_t fileStart = restStart;
  std::size_t lastDot = std::string::npos;
  for (std::size_t i = restStart; i < path.size(); ++i) {
    if (isSeparator(path[i])) {
      fileStart = i + 1;
    } else if (path[i] == '.') {
      lastDot = i;
    }
  }
  std::string directory = path.substr(restStart, fileStart - restStart);
  std::string name;
  std::string extension;
  if (lastDot != std::string::npos && lastDot >= fileStart) {
    name = path.substr(fileStart, lastDot - fileStart);
    extension = path.substr(lastDot);
  } else {
    name = path.substr(fileStart);
  }
  if (directory.size() > kMaxPiece || name.size() > kMaxPiece ||
      extension.size() > kMaxPiece) {
    return Pieces{};
  }
  pieces.directory = std::move(directory);
  pieces.name = std::move(name);
  pieces.extension = std::move(extension);
  return pieces;
}

}  // namespace

void decomposePath(const std::string& path, PathParts& parts) {
  Pieces pieces = splitPath(path);
  parts.drive = pieces.drive;
  parts.absolute = !pieces.drive.empty();
  parts.unc = false;
  parts.host.clear();
  parts.directories.clear();

  const std::string& dir = pieces.directory;
  std::size_t pos = 0;
  if (!dir.empty() && isSeparator(dir[0])) {
    parts.absolute = true;
    if (dir.size() > 1 && isSeparator(dir[1])) parts.unc = true;
  }
  while (pos < dir.size() && isSeparator(dir[pos])) ++pos;

  bool hostTaken = false;
  while (pos < dir.size()) {
    std::size_t end = pos;
    while (end < dir.size() && !isSeparator(dir[end])) ++end;
    if (end == dir.size()) break;  // no separator follows: nothing left
    std::string component = dir.substr(pos, end - pos);
    pos = end + 1;
    if (component.empty() || component == ".") continue;
    if (component == ".." && !parts.directories.empty() &&
        parts.directories.back() != "..") {
      parts.directories.pop_back();
      continue;
    }
    if (parts.unc && !hostTaken) {
      parts.host = std::move(component);
      hostTaken = true;
    } else {
      parts.directories.push_back(std::move(component));
    }
  }
  parts.name = std::move(pieces.name);
  parts.extension = std::move(pieces.extension);
}

std::string getBaseName(const std::string& path) {
  PathParts parts;
  decomposePath(path, parts);
  return parts.name;
}
