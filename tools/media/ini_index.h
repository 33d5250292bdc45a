#pragma once
// Where every section and key of an INI text stands, by line number, loaded with the
// rules of TExtIniFile (trimmed lines, ";" comments, text before the first "="), so
// the maker's tool can point at a line. Values are read through TExtIniFile itself.
#include <memory>
#include <string>
#include <vector>

#include "installer/platform/platform.h"
#include "installer/script/ext_ini_file.h"

namespace ostravel::media {

struct IniKeyLine {
  std::string key;  // as written, trimmed
  int line = 0;     // 1-based
};

struct IniSectionLines {
  std::string name;    // between the brackets, trimmed
  std::string header;  // the header line exactly as written (untrimmed)
  int line = 0;
  std::vector<IniKeyLine> keys;  // lines with "=", in order
};

class IniIndex {
 public:
  explicit IniIndex(std::string_view text);
  const std::vector<IniSectionLines>& Sections() const { return sections_; }
  // Line of the first key of that name in the first section of that name; 0 when none.
  int LineOf(const std::string& section, const std::string& key) const;
  int SectionLine(const std::string& section) const;
  // Whether some line, untrimmed, is exactly `text`.
  bool HasExactLine(const std::string& text) const;

 private:
  std::vector<IniSectionLines> sections_;
  std::vector<std::string> rawLines_;
};

// A file system holding one text file, read only: lets TExtIniFile read text that
// never was on disk (a de-scrambled script, a script being built).
class OneFileSystem : public platform::FileSystem {
 public:
  OneFileSystem(std::string path, std::string text) : path_(std::move(path)), text_(std::move(text)) {}
  std::optional<platform::FileInfo> Find(const std::string& p) override;
  bool ReadFile(const std::string& p, std::string& d) override;
  bool CreateDirectories(const std::string&) override { return false; }
  bool RemoveDirectory(const std::string&) override { return false; }
  bool DeleteFile(const std::string&) override { return false; }
  bool CopyFile(const std::string&, const std::string&, bool) override { return false; }
  bool ReplaceFile(const std::string&, const std::string&) override { return false; }
  std::unique_ptr<platform::InputFile> OpenRead(const std::string&) override { return nullptr; }
  std::unique_ptr<platform::OutputFile> OpenWrite(const std::string&) override { return nullptr; }
  std::unique_ptr<platform::OutputFile> OpenAppend(const std::string&) override { return nullptr; }
  bool SetAttributes(const std::string&, uint32_t) override { return false; }
  bool SetDosTime(const std::string&, uint32_t) override { return false; }
  std::vector<std::string> List(const std::string&) override { return {}; }
  platform::DriveType GetDriveType(const std::string&) override { return platform::DriveType::Unknown; }
  std::optional<Space> GetDiskSpace(const std::string&) override { return std::nullopt; }
  std::string LastErrorText() override { return "read only"; }

 private:
  std::string path_, text_;
};

// A reader of `text` that never writes back.
struct IniText {
  OneFileSystem files;
  TExtIniFile ini;
  explicit IniText(const std::string& text) : files("script", text), ini(files, "script", false) {}
};

}  // namespace ostravel::media
