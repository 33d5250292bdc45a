#include "installer/engine/target_paths.h"

#include <vector>

#include "base/text.h"

namespace ostravel::engine {
namespace {

bool IsDriveRoot(const std::string& p) {
  return p.size() >= 3 && ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z')) && p[1] == ':' &&
         p[2] == '\\';
}

bool IsNetworkPath(const std::string& p) { return p.size() > 2 && p[0] == '\\' && p[1] == '\\'; }

// Length of the root: "X:\" or "\\server\share\"; 0 when the path has none.
size_t RootLength(const std::string& p) {
  if (IsDriveRoot(p)) return 3;
  if (!IsNetworkPath(p)) return 0;
  size_t server = p.find('\\', 2);
  if (server == std::string::npos || server == 2) return 0;
  size_t share = p.find('\\', server + 1);
  if (share == server + 1) return 0;
  return share == std::string::npos ? p.size() : share + 1;
}

}  // namespace

std::string NormalizeTargetPath(const std::string& input) {
  std::string p = input;
  for (char& c : p)
    if (c == '/') c = '\\';
  const bool network = IsNetworkPath(p);
  p = CollapseRepeats(p, '\\');
  if (network) p = "\\" + p;
  const size_t root = RootLength(p);
  if (root == 0) return p;
  std::vector<std::string> parts;
  std::string rest = p.substr(root);
  while (!rest.empty()) {
    std::string part = NextToken(rest, '\\');
    if (part == "." || part.empty()) continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::string out = p.substr(0, root);
  for (size_t i = 0; i < parts.size(); ++i) out += (i ? "\\" : "") + parts[i];
  return out;
}

bool IsUsableTargetPath(const std::string& path) {
  const size_t root = RootLength(path);
  if (root == 0 || root >= path.size() || path.size() > kMaxTargetPath) return false;
  for (size_t i = 0; i < path.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (c < 32) return false;
    if (i >= 2 && (c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|')) return false;
  }
  // Windows drops trailing dots and blanks of names: a file "x." is the file "x".
  const char last = path.back();
  return last != '\\' && last != '.' && last != ' ';
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtensionOf(const std::string& path) {
  const std::string name = FileNameOf(path);
  size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

}  // namespace ostravel::engine
