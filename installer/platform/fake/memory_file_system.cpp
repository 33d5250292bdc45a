#include "installer/platform/fake/memory_file_system.h"

#include <algorithm>
#include <cstring>

#include "base/cp1250.h"
#include "base/datetime.h"

namespace ostravel::platform {

namespace {

constexpr const char* kSharingViolation =
    "The process cannot access the file because it is being used by another process.";

class MemoryInput : public InputFile {
 public:
  explicit MemoryInput(std::shared_ptr<MemoryFileSystem::Node> node) : node_(std::move(node)) {}
  int64_t Read(void* buffer, size_t size) override {
    const std::string& data = node_->data;
    if (pos_ >= data.size()) return 0;
    size_t n = std::min(size, data.size() - pos_);
    std::memcpy(buffer, data.data() + pos_, n);
    pos_ += n;
    return int64_t(n);
  }
  uint64_t Size() override { return node_->data.size(); }
  bool Skip(uint64_t count) override {
    uint64_t left = pos_ < node_->data.size() ? node_->data.size() - pos_ : 0;
    if (count > left) {
      pos_ = node_->data.size();
      return false;
    }
    pos_ += size_t(count);
    return true;
  }

 private:
  std::shared_ptr<MemoryFileSystem::Node> node_;
  size_t pos_ = 0;
};

}  // namespace

class MemoryOutput : public OutputFile {
 public:
  MemoryOutput(MemoryFileSystem& fs, std::shared_ptr<MemoryFileSystem::Node> node) : fs_(fs), node_(std::move(node)) {}
  bool Write(const void* data, size_t size) override {
    if (fs_.Stopped()) return ok_ = false;
    if (closed_ || size > fs_.capacity_ - std::min(fs_.capacity_, fs_.used_)) {
      ok_ = false;
      fs_.lastError_ = "There is not enough space on the disk.";
      return false;
    }
    node_->data.append(static_cast<const char*>(data), size);
    node_->dosTime = fs_.clock_;
    fs_.used_ += size;
    return true;
  }
  bool Close() override {
    closed_ = true;
    return ok_;
  }

 private:
  MemoryFileSystem& fs_;
  std::shared_ptr<MemoryFileSystem::Node> node_;
  bool ok_ = true;
  bool closed_ = false;
};

MemoryFileSystem::MemoryFileSystem() : clock_(PackDosDateTime(DateTime{2020, 1, 1, 12, 0, 0, 0})) {}

std::string MemoryFileSystem::Normalize(const std::string& path) {
  std::string out;
  for (char c : path) {
    if (c == '/') c = '\\';
    if (c == '\\' && !out.empty() && out.back() == '\\') continue;
    out.push_back(c);
  }
  while (out.size() > 1 && out.back() == '\\') out.pop_back();
  return out;
}

std::string MemoryFileSystem::Key(const std::string& path) { return UpperCase(Normalize(path)); }

std::string MemoryFileSystem::ParentOf(const std::string& normalized) {
  size_t slash = normalized.find_last_of('\\');
  return slash == std::string::npos ? std::string() : normalized.substr(0, slash);
}

bool MemoryFileSystem::IsRoot(const std::string& normalized) { return normalized.size() == 2 && normalized[1] == ':'; }

MemoryFileSystem::Node* MemoryFileSystem::Lookup(const std::string& path) {
  auto it = nodes_.find(Key(path));
  return it == nodes_.end() ? nullptr : it->second.get();
}

bool MemoryFileSystem::ParentExists(const std::string& normalized) {
  std::string parent = ParentOf(normalized);
  if (parent.empty() || IsRoot(parent)) return true;
  Node* node = Lookup(parent);
  return node && node->directory;
}

bool MemoryFileSystem::Fail(const char* text) {
  lastError_ = text;
  return false;
}

void MemoryFileSystem::AddFile(const std::string& path, const std::string& data, uint32_t dosTime) {
  std::string n = Normalize(path);
  std::string parent = ParentOf(n);
  if (!parent.empty()) CreateDirectories(parent);
  if (Node* old = Lookup(n)) used_ -= old->data.size();
  auto node = std::make_shared<Node>();
  node->path = n;
  node->attributes = kAttrArchive;
  node->dosTime = dosTime ? dosTime : clock_;
  node->data = data;
  used_ += data.size();
  nodes_[Key(n)] = node;
}

std::optional<std::string> MemoryFileSystem::Contents(const std::string& path) const {
  auto it = nodes_.find(Key(path));
  if (it == nodes_.end() || it->second->directory) return std::nullopt;
  return it->second->data;
}

void MemoryFileSystem::SetDriveType(char letter, DriveType type) { driveTypes_[UpperCaseChar(letter)] = type; }

std::vector<std::string> MemoryFileSystem::AllFiles() const {
  std::vector<std::string> out;
  for (const auto& [key, node] : nodes_)
    if (!node->directory) out.push_back(node->path);
  return out;
}

std::string MemoryFileSystem::Dump(const std::function<bool(const std::string& path)>& include) const {
  std::string out;
  for (const auto& [key, node] : nodes_)
    if (include(node->path))
      out += node->path + (node->directory ? "\\" : "") + " " + std::to_string(node->attributes) + " " +
             std::to_string(node->dosTime) + " " + node->data + "\n";
  return out;
}

std::optional<FileInfo> MemoryFileSystem::Find(const std::string& path) {
  std::string n = Normalize(path);
  if (IsRoot(n)) return FileInfo{kAttrDirectory, 0, 0};
  Node* node = Lookup(n);
  if (!node) return std::nullopt;
  FileInfo info;
  info.attributes = node->directory ? uint32_t(kAttrDirectory) : node->attributes;
  info.size = node->directory ? 0 : node->data.size();
  info.dosTime = node->dosTime;
  return info;
}

bool MemoryFileSystem::CreateDirectories(const std::string& path) {
  std::string n = Normalize(path);
  if (n.empty() || IsRoot(n)) return true;
  if (Node* node = Lookup(n)) return node->directory || Fail("A file with that name exists.");
  if (Stopped()) return false;
  std::string parent = ParentOf(n);
  if (!parent.empty() && !CreateDirectories(parent)) return false;
  auto node = std::make_shared<Node>();
  node->path = n;
  node->directory = true;
  node->dosTime = clock_;
  nodes_[Key(n)] = node;
  return true;
}

bool MemoryFileSystem::RemoveDirectory(const std::string& path) {
  if (Stopped()) return false;
  std::string key = Key(path);
  auto it = nodes_.find(key);
  if (it == nodes_.end() || !it->second->directory) return Fail("The system cannot find the path specified.");
  std::string prefix = key + '\\';
  auto child = nodes_.lower_bound(prefix);
  if (child != nodes_.end() && child->first.compare(0, prefix.size(), prefix) == 0)
    return Fail("The directory is not empty.");
  nodes_.erase(it);
  return true;
}

bool MemoryFileSystem::DeleteFile(const std::string& path) {
  if (Stopped()) return false;
  auto it = nodes_.find(Key(path));
  if (it == nodes_.end() || it->second->directory) return Fail("The system cannot find the file specified.");
  if (it->second->attributes & kAttrReadOnly) return Fail("Access is denied.");
  if (locked_.count(it->first)) return Fail(kSharingViolation);
  used_ -= it->second->data.size();
  nodes_.erase(it);
  return true;
}

bool MemoryFileSystem::CopyFile(const std::string& from, const std::string& to, bool overwrite) {
  std::string data;
  if (!ReadFile(from, data)) return false;
  if (!overwrite && Lookup(to)) return Fail("The file exists.");
  return ReplaceFile(to, data);
}

bool MemoryFileSystem::RenameFolder(const std::string& from, const std::string& to) {
  if (Stopped()) return false;
  const std::string source = Key(from), target = Key(to);
  Node* node = Lookup(from);
  if (!node || !node->directory || IsRoot(Normalize(from))) return Fail("The system cannot find the path specified.");
  if (Lookup(to) || IsRoot(Normalize(to))) return Fail("Cannot create a file when that file already exists.");
  if (!ParentExists(Normalize(to)) || target.compare(0, source.size() + 1, source + '\\') == 0 ||
      source.substr(0, 2) != target.substr(0, 2))
    return Fail("The system cannot move the file to a different disk drive.");
  const std::string prefix = source + '\\';
  std::vector<std::string> moved{source};
  for (auto it = nodes_.lower_bound(prefix); it != nodes_.end() && it->first.compare(0, prefix.size(), prefix) == 0;
       ++it) {
    if (locked_.count(it->first)) return Fail(kSharingViolation);
    moved.push_back(it->first);
  }
  const std::string newPath = Normalize(to);
  for (const std::string& key : moved) {
    auto owned = nodes_[key];
    nodes_.erase(key);
    owned->path = newPath + owned->path.substr(Normalize(from).size());
    nodes_[target + key.substr(source.size())] = owned;
  }
  return true;
}

bool MemoryFileSystem::ReadFile(const std::string& path, std::string& data) {
  if (unreadable_.count(Key(path))) return Fail("Access is denied.");
  auto c = Contents(path);
  if (!c) return Fail("The system cannot find the file specified.");
  data = *c;
  return true;
}

bool MemoryFileSystem::ReplaceFile(const std::string& path, const std::string& data) {
  auto node = WritableFile(path, true);
  if (!node) return false;
  if (data.size() > capacity_ - std::min(capacity_, used_)) return Fail("There is not enough space on the disk.");
  used_ += data.size();
  node->data = data;
  node->dosTime = clock_;
  return true;
}

std::shared_ptr<MemoryFileSystem::Node> MemoryFileSystem::WritableFile(const std::string& path, bool create) {
  if (create && Stopped()) return nullptr;
  std::string n = Normalize(path);
  auto it = nodes_.find(Key(n));
  if (it != nodes_.end()) {
    if (it->second->directory || (it->second->attributes & kAttrReadOnly)) {
      Fail("Access is denied.");
      return nullptr;
    }
    if (locked_.count(it->first)) {
      Fail(kSharingViolation);
      return nullptr;
    }
    if (create) {
      used_ -= it->second->data.size();
      it->second->data.clear();
    }
    return it->second;
  }
  if (!create || n.empty() || IsRoot(n) || !ParentExists(n)) {
    Fail(create ? "The system cannot find the path specified." : "The system cannot find the file specified.");
    return nullptr;
  }
  auto node = std::make_shared<Node>();
  node->path = n;
  node->attributes = kAttrArchive;
  node->dosTime = clock_;
  nodes_[Key(n)] = node;
  return node;
}

std::unique_ptr<InputFile> MemoryFileSystem::OpenRead(const std::string& path) {
  auto it = nodes_.find(Key(path));
  if (it == nodes_.end() || it->second->directory) {
    Fail("The system cannot find the file specified.");
    return nullptr;
  }
  if (unreadable_.count(it->first)) {
    Fail("Access is denied.");
    return nullptr;
  }
  return std::make_unique<MemoryInput>(it->second);
}

std::unique_ptr<OutputFile> MemoryFileSystem::OpenWrite(const std::string& path) {
  auto node = WritableFile(path, true);
  return node ? std::make_unique<MemoryOutput>(*this, node) : nullptr;
}

std::unique_ptr<OutputFile> MemoryFileSystem::OpenAppend(const std::string& path) {
  auto node = WritableFile(path, false);
  return node ? std::make_unique<MemoryOutput>(*this, node) : nullptr;
}

bool MemoryFileSystem::CanOpenExclusive(const std::string& path) {
  if (locked_.count(Key(path))) return Fail(kSharingViolation);
  return WritableFile(path, false) != nullptr;
}

bool MemoryFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
  if (Stopped()) return false;
  Node* node = Lookup(path);
  if (!node) return Fail("The system cannot find the file specified.");
  if (!node->directory) node->attributes = attributes & ~uint32_t(kAttrDirectory);
  return true;
}

bool MemoryFileSystem::SetDosTime(const std::string& path, uint32_t dosTime) {
  if (Stopped()) return false;
  Node* node = Lookup(path);
  if (!node) return Fail("The system cannot find the file specified.");
  if (!UnpackDosDateTime(dosTime)) return Fail("The parameter is incorrect.");
  node->dosTime = dosTime;
  return true;
}

std::vector<std::string> MemoryFileSystem::List(const std::string& folder) {
  std::string prefix = Key(folder);
  if (!prefix.empty()) prefix += '\\';
  std::vector<std::string> names;
  for (auto it = nodes_.lower_bound(prefix); it != nodes_.end(); ++it) {
    if (it->first.compare(0, prefix.size(), prefix) != 0) break;
    if (it->first.find('\\', prefix.size()) != std::string::npos) continue;
    names.push_back(it->second->path.substr(prefix.size()));
  }
  return names;
}

DriveType MemoryFileSystem::GetDriveType(const std::string& root) {
  if (root.size() < 2 || root[1] != ':') return DriveType::NoRootDir;
  auto it = driveTypes_.find(UpperCaseChar(root[0]));
  return it == driveTypes_.end() ? DriveType::Fixed : it->second;
}

std::optional<FileSystem::Space> MemoryFileSystem::GetDiskSpace(const std::string&) {
  uint64_t total = capacity_ == UINT64_MAX ? (uint64_t(1) << 40) : capacity_;
  return Space{total - std::min(total, used_), total};
}

}  // namespace ostravel::platform
