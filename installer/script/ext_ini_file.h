#pragma once
// The whole-file, in-memory INI reader and writer used for every INI file of the
// installer: setup script, update-state file, description files, application ini.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "installer/platform/platform.h"

namespace ostravel {

class TExtIniFile {
 public:
  // Loads the file at once; a missing file is an empty one. With autoUpdate the
  // content is written back when the object is destroyed.
  TExtIniFile(platform::FileSystem& fs, std::string fileName, bool autoUpdate = true);
  // Writes back (autoUpdate). A failure raises InstallerError, unless the reader is
  // being released while another error is already on its way.
  ~TExtIniFile() noexcept(false);
  TExtIniFile(const TExtIniFile&) = delete;
  TExtIniFile& operator=(const TExtIniFile&) = delete;

  const std::string& FileName() const { return fileName_; }

  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;
  // Date-time number (days since 1899-12-30).
  double ReadDateTime(const std::string& section, const std::string& key, double def) const;
  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;
  // The first section's lines, unchanged, in order.
  void ReadSectionValues(const std::string& section, std::vector<std::string>& list) const;
  // Key names of the first section of that name.
  void ReadSection(const std::string& section, std::vector<std::string>& keys) const;
  void ReadSections(std::vector<std::string>& sections) const;
  // A numbered list's count, bounded: past the highest number written after
  // `prefix` every entry would be all defaults, so a script that claims millions
  // of entries does not make callers read (or hold) millions of empty ones.
  // Reasonable counts come back as given.
  int BoundedCount(const std::string& section, const std::string& prefix, int count) const;
  // "Line0" .. "Line<Count-1>"; maxCount 0 means no limit. Bounded as above.
  void ReadLines(const std::string& section, std::vector<std::string>& list, int maxCount = 0) const;

  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int32_t value);
  void WriteBool(const std::string& section, const std::string& key, bool value);
  void WriteDateTime(const std::string& section, const std::string& key, double value);
  void EraseSection(const std::string& section);
  void DeleteKey(const std::string& section, const std::string& key);

  // The text UpdateFile writes.
  std::string ContentText() const;
  // Writes the content back: to a temporary file first, then replacing the file,
  // so a process that dies mid-write never leaves a truncated script. Skipped when
  // the file already holds exactly these bytes. Raises InstallerError on failure.
  void UpdateFile();

 private:
  struct Section {
    std::string name;
    std::vector<std::string> lines;
    // Upper-cased key -> index of its first line; scripts hold thousands of keys.
    std::unordered_map<std::string, int> keyIndex;
  };
  static void IndexKeys(Section& section);
  void Load();
  const Section* FindSection(const std::string& name) const;
  Section* FindSection(const std::string& name);
  // Index of the first line whose key equals `key`, or -1.
  static int FindKey(const Section& section, const std::string& key);

  platform::FileSystem& fs_;
  std::string fileName_;
  bool autoUpdate_;
  int uncaughtAtCreation_;
  std::vector<Section> sections_;
};

}  // namespace ostravel
