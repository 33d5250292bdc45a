#pragma once
// In-memory registry for host tests: keys are case-insensitive paths per root and
// view; values keep their type so wrong-type reads can be tested.
#include <functional>
#include <map>
#include <string>

#include "installer/platform/registry.h"

namespace ostravel::platform {

class FakeRegistry : public Registry {
 public:
  enum class Type { String, Dword, Binary };
  struct Value {
    Type type = Type::String;
    std::string text;
    uint32_t dword = 0;
    std::string name;  // as first written
  };

  // Test setup: creates the key on the way.
  void Set(RootKey root, const std::string& subKey, const std::string& name, const std::string& text,
           RegView view = RegView::Wow32);
  void SetDword(RootKey root, const std::string& subKey, const std::string& name, uint32_t value,
                RegView view = RegView::Wow32);
  void SetBinary(RootKey root, const std::string& subKey, const std::string& name, RegView view = RegView::Wow32);
  const Value* Get(RootKey root, const std::string& subKey, const std::string& name,
                   RegView view = RegView::Wow32) const;
  // Keys under which CanOpenForWrite / CreateKey fail, as for a user without rights.
  void DenyWrites(RootKey root) { denied_[int(root)] = true; }
  // Asked before every change; once it says no, nothing changes any more, as on a
  // machine whose installer was killed (shared with the file system's).
  std::function<bool()> mayChange;

  bool KeyExists(RootKey root, const std::string& subKey, RegView view) override;
  RegRead ReadString(RootKey root, const std::string& subKey, const std::string& name, std::string& value,
                     RegView view) override;
  RegRead ReadDword(RootKey root, const std::string& subKey, const std::string& name, uint32_t& value,
                    RegView view) override;
  bool CreateKey(RootKey root, const std::string& subKey, RegView view) override;
  bool CanOpenForWrite(RootKey root, const std::string& subKey, RegView view) override;
  bool WriteString(RootKey root, const std::string& subKey, const std::string& name, const std::string& value,
                   RegView view) override;
  bool WriteDword(RootKey root, const std::string& subKey, const std::string& name, uint32_t value,
                  RegView view) override;
  std::vector<std::string> ValueNames(RootKey root, const std::string& subKey, RegView view) override;
  bool DeleteValue(RootKey root, const std::string& subKey, const std::string& name, RegView view) override;
  bool DeleteKey(RootKey root, const std::string& subKey, RegView view) override;
  bool DeleteKeyTree(RootKey root, const std::string& subKey, RegView view) override;

  // Every key with its values, both views: a whole state to compare.
  std::string Dump() const;

  // Number of value reads so far (expansion reads anew every time).
  int reads = 0;

 private:
  struct Key {
    std::map<std::string, Value> values;  // upper-cased name
  };
  Key& Touch(const std::string& path);
  static std::string KeyPath(RootKey root, const std::string& subKey, RegView view);
  // Keys strictly below `path` (a KeyPath).
  bool HasSubKeys(const std::string& path) const;
  std::map<std::string, Key> keys_;  // upper-cased "root|view|path"
  std::map<int, bool> denied_;
};

}  // namespace ostravel::platform
