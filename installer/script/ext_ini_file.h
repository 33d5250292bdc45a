#pragma once
// The whole-file, in-memory INI reader and writer used for every INI file of the
// installer: setup script, update-state file, description files, application ini.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "installer/platform/platform.h"

namespace ostravel {

class TExtIniFile {
 public:
  // Loads the file at once; a missing file is an empty one. With autoUpdate a
  // reader that was not committed is written back when it is destroyed.
  TExtIniFile(platform::FileSystem& fs, std::string fileName, bool autoUpdate = true);
  // Never throws: a reader released by an error, or held in a member or a
  // container, must not end the program. Failures surface through UpdateFile.
  ~TExtIniFile();
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
  // Commits the write-back: to a temporary file first, then replacing the file, so
  // a process that dies mid-write never leaves a truncated script. Skipped when the
  // file already holds exactly these bytes. When another reader has written the
  // file since this one loaded it, this one loads that content and applies only its
  // own changes to it, none whose key or section the other reader changed (its
  // write came later); a reader with no changes then writes nothing. Raises
  // InstallerError on failure.
  void UpdateFile();

 private:
  // Names compared without regard to case, looked up without an upper-cased copy.
  struct NoCaseHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const;
  };
  struct NoCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  template <typename T>
  using NoCaseMap = std::unordered_map<std::string, T, NoCaseHash, NoCaseEqual>;
  struct Section {
    std::string name;
    std::vector<std::string> lines;
    // Key -> index of its first line; scripts hold thousands of keys.
    NoCaseMap<int> keyIndex;
  };
  // The sections as parsed, with their name index; shared by readers of the same
  // bytes until one of them changes its copy.
  struct Parsed {
    std::vector<Section> sections;
    NoCaseMap<size_t> index;  // name -> the first section of that name
  };
  struct Change {
    enum class Kind { Write, EraseSection, DeleteKey } kind;
    std::string section, key, value;
  };
  // The file as last read: missing, its bytes, or there but unreadable.
  // The bytes are shared with the kept parse of the same file: under Windows a fresh
  // buffer of megabytes costs more than reading the file again.
  struct DiskState {
    enum class Kind { Missing, Read, Unreadable } kind = Kind::Missing;
    std::shared_ptr<const std::string> bytes;
    const std::string& Data() const;
    bool operator==(const DiskState& other) const;
  };
  static void IndexKeys(Section& section);
  // A state file holds a section per installed file.
  static void IndexSections(Parsed& parsed);
  static std::vector<Section> Parse(const std::string& data);
  // The parse of `data`, shared with earlier readers of the same bytes where one is
  // kept (the wizard opens the setup script, megabytes at large products, for every
  // page it enters or leaves).
  static std::shared_ptr<Parsed> ParseShared(const std::string& fileName, const DiskState& disk);
  // A parse kept for later readers of the same bytes, and whether writing it back
  // gives those bytes again (then an unchanged reader's commit need not build the text).
  struct Kept {
    std::string fileName;
    std::shared_ptr<const std::string> data;
    std::shared_ptr<Parsed> parsed;
    std::optional<bool> canonical;
  };
  // Most recent first; no two threads read INI files.
  static std::vector<Kept>& KeptParses();
  static Kept* FindKept(const std::string& fileName, const std::string& data);
  static void Keep(const std::string& fileName, std::shared_ptr<const std::string> data, std::shared_ptr<Parsed> parsed,
                   std::optional<bool> canonical);
  // This reader's own sections, copied first when they are shared.
  Parsed& Own();
  static const Section* FindIn(const std::vector<Section>& sections, const std::string& name);
  // What a change touches (the key's line, or the section's lines), as it stands in `sections`.
  static std::optional<std::vector<std::string>> Target(const std::vector<Section>& sections, const Change& change);
  DiskState ReadDisk() const;
  void Apply(const Change& change);
  void Record(Change change);
  // Takes the content another reader wrote and applies this reader's own changes to it.
  void Rebase(const DiskState& now);
  const Section* FindSection(const std::string& name) const;
  Section* FindSection(const std::string& name);
  // Index of the first line whose key equals `key`, or -1.
  static int FindKey(const Section& section, const std::string& key);

  platform::FileSystem& fs_;
  std::string fileName_;
  bool autoUpdate_;
  std::shared_ptr<Parsed> parsed_;
  DiskState loaded_;
  std::vector<Change> changes_;  // since the last commit, in order
  bool pending_ = true;          // not committed since loading or the last change
};

}  // namespace ostravel
