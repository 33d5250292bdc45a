#include "installer/net/package_download.h"

#include <algorithm>
#include <climits>

#include "base/cp1250.h"
#include "base/regional.h"
#include "base/text.h"
#include "installer/net/file_fetch.h"
#include "installer/net/package_freshness.h"
#include "installer/script/script_lists.h"
#include "installer/script/setup_script.h"

namespace ostravel::net {

namespace {

constexpr int kSpeedTimerMs = 1000;

std::optional<bool> ModelCheck(const model::Selection& selection, const std::string& name) {
  // The list holds the entries of non-zero size (all of them in a web update);
  // entries of one name share the line of the first.
  for (const auto& c : selection.components)
    if (c.size != 0 && c.name == name) return c.selected;
  return std::nullopt;
}

bool TakesPart(DownloadRun& run, const model::ComponentEntry& c) {
  const std::optional<bool> checked = run.listCheck ? run.listCheck(c.name) : ModelCheck(run.selection, c.name);
  return checked.value_or(false);
}

// The update script comes from the network: a pack name is a file name and never a
// path, so no download can land outside the temporary folder or the copy target.
bool PlainFileName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (unsigned char c : name)
    if (c < ' ' || c == '\\' || c == '/' || c == ':' || c == '?' || c == '#' || c == '*' || c == '"' || c == '<' ||
        c == '>' || c == '|' || c == '%')
      return false;
  return true;
}

std::string ArchiveAddress(const DownloadRun& run, const model::ComponentEntry& c) {
  return FileAddress(run.web.webUpdateUrl, c.packName + ".dat");
}

struct PassTexts {
  std::string downloadFiles;
  std::vector<std::string> sha256;  // per component; empty when not given
};

PassTexts ReadPassTexts(const DownloadRun& run) {
  return WithScript(run.net.services.machine.files, run.net.services.process.scriptPath, [&](const TExtIniFile& ini) {
    PassTexts texts;
    texts.downloadFiles = ReadCopyFilesPageSection(ini).downloadFiles;
    for (const auto& c : run.selection.components) {
      const std::string section = ModuleSection(c.module, ComponentList().section);
      const std::string key = KeyName(ComponentList(), c.number, &ComponentKeys::packSHA256Checksum);
      texts.sha256.push_back(Trim(ini.ReadString(section, key, "")));
    }
    return texts;
  });
}

bool IsSha256Text(const std::string& text) {
  return text.size() == 64 && text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
}

std::string UnsignedArchiveText(const std::string& packName) {
  return "Az aláírt frissítés " + packName + " csomagjához nincs SHA-256 ellenőrzőösszeg (PackSHA256Checksum).";
}

// A download failure: the box (or exit code 1), then the error page.
void Report(DownloadRun& run, const std::string& boxText, const std::string& pageText) {
  ShowDownloadBox(run.net, boxText);
  run.errorJump(pageText);
}

void ShowEmptyPackage(DownloadRun& run, const std::string& status) {
  run.progress.SetStatus(status);
  run.statistics.SetPackagePath(run.statistics.PackagePathCaption());
  run.statistics.SetPackageSize(KiloBytes(0));
  run.statistics.SetPackageDone(KiloBytes(0));
  run.progress.ProcessMessages();
}

}  // namespace

std::string KiloBytes(int64_t bytes) { return FormatNumber2(double(bytes) / 1024.0) + " KB"; }

std::string SizeMismatchText(const std::string& packName, int64_t packSize, int64_t announcedSize) {
  return "Hiba történt a fájlok Internetről való letöltése közben.\r\n\r\nMéret eltérés (" + packName +
         ")\r\n\r\nVárt méret " + std::to_string(packSize) + " byte\r\nValós méret " + std::to_string(announcedSize) +
         " byte\r\n\r\nKérem próbálja később letölteni a frissítéseket!";
}

bool HeaderCheck(DownloadRun& run, std::vector<PackageState>& states) {
  const auto& components = run.selection.components;
  states.assign(components.size(), PackageState{});
  const PassTexts texts = ReadPassTexts(run);
  for (size_t i = 0; i < components.size(); ++i) {
    const auto& c = components[i];
    if (!TakesPart(run, c)) continue;
    ShowEmptyPackage(run, texts.downloadFiles);
    const std::string url = ArchiveAddress(run, c);
    if (!PlainFileName(c.packName)) {
      const std::string text = run.web.downloadGeneral + "\r\n\r\nThe package name \"" + c.packName +
                               "\" is not a file name(File URL: " + url + ")";
      Report(run, text, text);
      return false;
    }
    if (run.web.SignedSite() && !IsSha256Text(texts.sha256[i])) {
      const std::string text = run.web.downloadGeneral + "\r\n\r\n" + UnsignedArchiveText(c.packName);
      Report(run, text, text);
      return false;
    }
    run.net.services.log.WriteLog("Download header start:" + url);
    const platform::HttpResult head = run.net.services.machine.http.Head(url);
    run.net.services.log.WriteLog("Download header done:" + url);
    if (!head.ok()) {
      const std::string text = run.web.downloadGeneral + "\r\n\r\n" + head.error + "(File URL: " + url + ")";
      Report(run, text, text);
      return false;
    }
    states[i].announcedSize = head.contentLength.value_or(0);
  }
  const std::string temp = TempFolder(run.net);
  for (size_t i = 0; i < components.size(); ++i) {
    const auto& c = components[i];
    if (!TakesPart(run, c)) continue;
    platform::FileSystem& fs = run.net.services.machine.files;
    // A signed site vouches for the SHA-256 only: a copy matching the MD5 alone is not its archive.
    if (LocalCopyCurrent(fs, run.copyTargetFolder, temp, c.packName, c.packChecksum) &&
        (!run.web.SignedSite() ||
         FileSha256(fs, run.copyTargetFolder + c.packName + ".dat") == UpperCase(texts.sha256[i])))
      states[i].needsDownload = false;
    if (states[i].announcedSize != c.packSize) {
      // No box, as ever; but an unattended run that installed nothing must not end
      // with the exit code of success.
      if (run.net.services.process.SilentMode()) run.net.services.process.exitCode = 1;
      run.errorJump(SizeMismatchText(c.packName, c.packSize, states[i].announcedSize));
      return false;
    }
  }
  return true;
}

namespace {

// One archive into the temporary folder; false after reporting its failure.
bool DownloadOne(DownloadRun& run, const model::ComponentEntry& c, const std::string& sha256, const std::string& status,
                 const std::string& target) {
  platform::FileSystem& fs = run.net.services.machine.files;
  if (fs.FileExists(target)) fs.DeleteFile(target);
  const std::string url = ArchiveAddress(run, c);
  const std::string packageStatus = status + " ( " + c.name + " )";
  run.progress.SetStatus(packageStatus);
  run.statistics.SetPackagePath(run.statistics.PackagePathCaption() + url);
  run.statistics.SetPackageSize(KiloBytes(c.packSize));
  run.statistics.SetPackageDone(KiloBytes(0));
  run.progress.ProcessMessages();

  const int base = run.progress.BaseOffset();
  auto progress = [&](int64_t received) {
    run.progress.SetPosition(int(std::min<int64_t>(base + received, INT_MAX)));
    run.statistics.SetPackageDone(KiloBytes(received));
    run.progress.ProcessMessages();
  };
  FetchOptions options;
  options.retries = DownloadRetries(run.net);
  // The archive is the announced size: a longer body is not it, and must not fill the disk.
  options.maxBytes = std::max<int64_t>(c.packSize, 0);
  options.onRetry = [&](int attempt, int retries, int64_t resumeFrom) {
    run.progress.SetStatus(packageStatus + " - újrapróbálkozás " + std::to_string(attempt) + "/" +
                           std::to_string(retries) + (resumeFrom > 0 ? ", folytatás" : ""));
    run.progress.ProcessMessages();
  };
  run.net.services.log.WriteLog("Download start: " + url);
  const platform::HttpResult got = FetchToFile(fs, run.net.services.machine.http, url, target, progress, options);
  run.net.services.log.WriteLog("Download done:" + url);
  if (!got.ok()) {
    Report(run, run.web.downloadGeneral + "\r\n\r\n" + got.error, run.web.downloadGeneral + "\r\n\n" + got.error);
    return false;
  }
  run.progress.SetBaseOffset(run.progress.Position());
  // An archive that is not the one described never leaves the temporary folder.
  if (FileMd5(fs, target) != std::optional<std::string>(c.packChecksum)) {
    Report(run, run.web.md5ChecksumFailed, run.web.md5ChecksumFailed);
    return false;
  }
  if ((run.web.SignedSite() || !sha256.empty()) &&
      FileSha256(fs, target) != std::optional<std::string>(UpperCase(sha256))) {
    const std::string text = "SHA-256 checksum failed! (" + c.packName + ")";
    Report(run, text, text);
    return false;
  }
  return true;
}

// Every finished download into the copy target, in order. An archive that cannot
// take the place of the old one fails the pass: the stale copy there must not be
// installed as if it were the update. Returns the failure's text, or empty.
std::string MoveIntoCopyTarget(DownloadRun& run, const std::vector<std::string>& finished) {
  platform::FileSystem& fs = run.net.services.machine.files;
  fs.CreateDirectories(run.copyTargetFolder);
  std::string failed;
  for (const std::string& path : finished) {
    const std::string target = run.copyTargetFolder + path.substr(path.find_last_of('\\') + 1);
    if ((fs.FileExists(target) && !fs.DeleteFile(target)) || !fs.MoveFile(path, target)) {
      if (failed.empty()) failed = "A letöltött fájl nem helyezhető át ide: " + target + "\r\n" + fs.LastErrorText();
    }
  }
  return failed;
}

}  // namespace

bool PackageDownload(DownloadRun& run, std::vector<PackageState>& states) {
  auto& components = run.selection.components;
  states.resize(components.size());
  const PassTexts texts = ReadPassTexts(run);
  run.progress.SetStatus(texts.downloadFiles);
  run.progress.ProcessMessages();
  int64_t total = 0;
  for (size_t i = 0; i < components.size(); ++i) {
    auto& c = components[i];
    const auto checked = run.listCheck ? run.listCheck(c.name) : ModelCheck(run.selection, c.name);
    if (checked) c.selected = *checked;
    if (c.selected && states[i].needsDownload) total += c.packSize;
  }
  run.progress.SetRange(0, int(std::clamp<int64_t>(total, 0, INT_MAX)));
  run.progress.SetPosition(0);
  run.progress.SetBaseOffset(0);

  const uint32_t start = run.statistics.TickCount();
  run.statistics.StartTimer(kSpeedTimerMs, [&run, start] {
    const double seconds = double(run.statistics.TickCount() - start) / 1000.0;
    const double speed = seconds > 0 ? run.progress.Position() / 1024.0 / seconds : 0.0;
    run.statistics.SetSpeed(FormatNumber2(speed) + " KB/s");
    run.progress.ProcessMessages();
  });
  struct TimerStop {
    DownloadStatisticsSurface& s;
    ~TimerStop() { s.StopTimer(); }
  } timerStop{run.statistics};

  const std::string temp = TempFolder(run.net);
  run.net.services.machine.files.CreateDirectories(temp);
  std::vector<std::string> finished;
  for (size_t i = 0; i < components.size(); ++i) {
    const auto& c = components[i];
    if (!states[i].needsDownload || !TakesPart(run, c)) continue;
    const std::string target = temp + c.packName + ".dat";
    if (!DownloadOne(run, c, texts.sha256[i], texts.downloadFiles, target)) return false;
    finished.push_back(target);
  }
  run.statistics.StopTimer();
  const std::string moveFailure = MoveIntoCopyTarget(run, finished);
  if (!moveFailure.empty()) {
    Report(run, run.web.downloadGeneral + "\r\n\r\n" + moveFailure, run.web.downloadGeneral + "\r\n\n" + moveFailure);
    return false;
  }
  return true;
}

bool RunWebDownload(DownloadRun& run) {
  run.statistics.SetVisible(true);
  struct Hide {
    DownloadStatisticsSurface& s;
    ~Hide() { s.SetVisible(false); }
  } hide{run.statistics};
  std::vector<PackageState> states;
  return HeaderCheck(run, states) && PackageDownload(run, states);
}

}  // namespace ostravel::net
