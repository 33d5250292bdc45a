#include "installer/platform/fake/fake_registry.h"

#include "base/cp1250.h"
#include "base/text.h"

namespace ostravel::platform {

std::string FakeRegistry::KeyPath(RootKey root, const std::string& subKey, RegView view) {
  // The default view of a 32-bit program is the 32-bit one.
  int v = view == RegView::Wow64 ? 64 : 32;
  std::string path = CollapseRepeats(WithoutTrailing(subKey, '\\'), '\\');
  if (!path.empty() && path[0] == '\\') path.erase(0, 1);
  return UpperCase(std::string(RootKeyName(root)) + "|" + std::to_string(v) + "|" + path);
}

// A key comes with every key above it, as in the real registry.
FakeRegistry::Key& FakeRegistry::Touch(const std::string& path) {
  const size_t below = path.find('|', path.find('|') + 1) + 1;
  for (size_t at = path.find('\\', below); at != std::string::npos; at = path.find('\\', at + 1))
    keys_[path.substr(0, at)];
  return keys_[path];
}

void FakeRegistry::Set(RootKey root, const std::string& subKey, const std::string& name, const std::string& text,
                       RegView view) {
  Touch(KeyPath(root, subKey, view)).values[UpperCase(name)] = {Type::String, text, 0, name};
}

void FakeRegistry::SetDword(RootKey root, const std::string& subKey, const std::string& name, uint32_t value,
                            RegView view) {
  Touch(KeyPath(root, subKey, view)).values[UpperCase(name)] = {Type::Dword, "", value, name};
}

void FakeRegistry::SetBinary(RootKey root, const std::string& subKey, const std::string& name, RegView view) {
  Touch(KeyPath(root, subKey, view)).values[UpperCase(name)] = {Type::Binary, "\x01\x02", 0, name};
}

const FakeRegistry::Value* FakeRegistry::Get(RootKey root, const std::string& subKey, const std::string& name,
                                             RegView view) const {
  auto k = keys_.find(KeyPath(root, subKey, view));
  if (k == keys_.end()) return nullptr;
  auto v = k->second.values.find(UpperCase(name));
  return v == k->second.values.end() ? nullptr : &v->second;
}

bool FakeRegistry::KeyExists(RootKey root, const std::string& subKey, RegView view) {
  return keys_.count(KeyPath(root, subKey, view)) > 0;
}

RegRead FakeRegistry::ReadString(RootKey root, const std::string& subKey, const std::string& name, std::string& value,
                                 RegView view) {
  ++reads;
  const Value* v = Get(root, subKey, name, view);
  if (!v) return RegRead::Missing;
  if (v->type != Type::String) return RegRead::WrongType;
  value = v->text;
  return RegRead::Ok;
}

RegRead FakeRegistry::ReadDword(RootKey root, const std::string& subKey, const std::string& name, uint32_t& value,
                                RegView view) {
  ++reads;
  const Value* v = Get(root, subKey, name, view);
  if (!v) return RegRead::Missing;
  if (v->type != Type::Dword) return RegRead::WrongType;
  value = v->dword;
  return RegRead::Ok;
}

bool FakeRegistry::CreateKey(RootKey root, const std::string& subKey, RegView view) {
  if (mayChange && !mayChange()) return false;
  if (denied_[int(root)]) return false;
  Touch(KeyPath(root, subKey, view));
  return true;
}

bool FakeRegistry::CanOpenForWrite(RootKey root, const std::string& subKey, RegView view) {
  return !denied_[int(root)] && KeyExists(root, subKey, view);
}

bool FakeRegistry::WriteString(RootKey root, const std::string& subKey, const std::string& name,
                               const std::string& value, RegView view) {
  if (mayChange && !mayChange()) return false;
  if (denied_[int(root)]) return false;
  Set(root, subKey, name, value, view);
  return true;
}

bool FakeRegistry::WriteDword(RootKey root, const std::string& subKey, const std::string& name, uint32_t value,
                              RegView view) {
  if (mayChange && !mayChange()) return false;
  if (denied_[int(root)]) return false;
  SetDword(root, subKey, name, value, view);
  return true;
}

std::vector<std::string> FakeRegistry::ValueNames(RootKey root, const std::string& subKey, RegView view) {
  std::vector<std::string> names;
  auto k = keys_.find(KeyPath(root, subKey, view));
  if (k != keys_.end())
    for (const auto& [key, value] : k->second.values) names.push_back(value.name);
  return names;
}

bool FakeRegistry::DeleteValue(RootKey root, const std::string& subKey, const std::string& name, RegView view) {
  if (mayChange && !mayChange()) return false;
  auto k = keys_.find(KeyPath(root, subKey, view));
  return k != keys_.end() && k->second.values.erase(UpperCase(name)) > 0;
}

bool FakeRegistry::HasSubKeys(const std::string& path) const {
  auto next = keys_.upper_bound(path + "\\");
  return next != keys_.end() && next->first.compare(0, path.size() + 1, path + "\\") == 0;
}

bool FakeRegistry::DeleteKey(RootKey root, const std::string& subKey, RegView view) {
  if (mayChange && !mayChange()) return false;
  const std::string path = KeyPath(root, subKey, view);
  return !HasSubKeys(path) && keys_.erase(path) > 0;
}

bool FakeRegistry::DeleteKeyTree(RootKey root, const std::string& subKey, RegView view) {
  if (mayChange && !mayChange()) return false;
  if (NamesNoKey(subKey)) return false;
  const std::string path = KeyPath(root, subKey, view);
  bool found = keys_.erase(path) > 0;
  for (auto it = keys_.lower_bound(path + "\\"); it != keys_.end() && it->first.rfind(path + "\\", 0) == 0;) {
    it = keys_.erase(it);
    found = true;
  }
  return found;
}

std::string FakeRegistry::Dump() const {
  std::string out;
  for (const auto& [path, key] : keys_) {
    out += path + "\n";
    for (const auto& [name, v] : key.values)
      out += "  " + v.name + "=" + std::to_string(int(v.type)) + ":" + v.text + ":" + std::to_string(v.dword) + "\n";
  }
  return out;
}

}  // namespace ostravel::platform
