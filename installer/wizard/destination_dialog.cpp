#include "installer/wizard/destination_dialog.h"

#include <algorithm>

#include "base/cp1250.h"
#include "base/regional.h"
#include "base/text.h"
#include "installer/script/setup_script.h"
#include "installer/wizard/control_names.h"
#include "installer/wizard/control_table.h"

namespace ostravel::wizard {

namespace {

namespace dlg = ctl::destination_dialog;
constexpr const char* kDefaultTitle = "Select Destination";
constexpr const char* kNoCdRom = "Cannot install to CD-ROM / Nem telepíthet CD lemezre";
constexpr const char* kNoRemovable = "Cannot install to Removable media / Nem telepíthet eltávolítható lemezre";
constexpr int kIndentPerLevel = 10;

std::string Kilobytes(int64_t bytes) { return FormatGrouped(bytes / 1024) + " K"; }

std::string DesignText(const char* control) {
  const ControlSpec* spec = FindControl(FormId::DestinationChange, control);
  return spec ? spec->text : "";
}

// "C:\A\B" -> "C:\A" -> "C:\"; a root stays itself.
std::string ParentFolder(const std::string& path) {
  const std::string p = WithoutTrailing(path, '\\');
  const size_t slash = p.rfind('\\');
  if (slash == std::string::npos || slash <= 2) return p.substr(0, std::min<size_t>(p.size(), 2)) + "\\";
  return p.substr(0, slash);
}

std::string LastElement(const std::string& path) {
  const std::string p = WithoutTrailing(path, '\\');
  const size_t slash = p.rfind('\\');
  return slash == std::string::npos ? p : p.substr(slash + 1);
}

// A path typed or shown in upper case lists its folders as the disk names them.
std::string OnDiskName(platform::FileSystem& files, const std::string& parent, const std::string& name) {
  for (const std::string& folder : files.SubFolders(parent))
    if (SameText(folder, name)) return folder;
  return name;
}

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

void DestinationDialog::SetRequiredSize(int64_t bytes) {
  required_ = bytes;
  if (view_) view_->SetText(dlg::kLabel6, Kilobytes(bytes));
}

void DestinationDialog::SetFolder(const std::string& path) {
  if (path == chosen_) return;
  if (!view_) {
    pendingFolder_ = path;
    return;
  }
  ApplyFolder(path);
}

void DestinationDialog::ApplyFolder(const std::string& path) {
  chosen_ = path;
  if (!path.empty() && IsDriveLetter(path[0]) && UpperCaseChar(path[0]) != SelectedDrive())
    SelectDrive(UpperCaseChar(path[0]));
  std::string shown = path;
  while (!s_.files.DirectoryExists(shown) && shown.size() >= 4) shown = ParentFolder(shown);
  ListFolder(shown);
  view_->SetText(dlg::kEFolder, path);
}

void DestinationDialog::FormCreate(FormView& view) {
  view_ = &view;
  FillDrives();
  view.SetSelectedIndex(dlg::kDriveList, -1);
  DestinationDialogSection defaults{kDefaultTitle,
                                    DesignText(dlg::kFolderByTypeLabel),
                                    DesignText(dlg::kFoldersLabel),
                                    DesignText(dlg::kDrivesLabel),
                                    DesignText(dlg::kAvailableSpaceLabel),
                                    DesignText(dlg::kRequiredSpaceLabel),
                                    DesignText(dlg::kOKButton),
                                    DesignText(dlg::kCancelButton)};
  DestinationDialogSection texts;
  SetupOptionsSection options;
  std::string configuredPath;
  WithScript(s_.files, s_.scriptPath, [&](const TExtIniFile& script) {
    texts = ReadDestinationDialogSection(script, defaults);
    options = ReadSetupOptionsSection(script);
    configuredPath = s_.variables.ExpandVariables(ReadConfigurationSection(script).path);
  });
  view.SetCaption(texts.title);
  view.SetText(dlg::kFolderByTypeLabel, texts.selectedFolder);
  view.SetText(dlg::kFoldersLabel, texts.folders);
  view.SetText(dlg::kDrivesLabel, texts.drives);
  view.SetText(dlg::kAvailableSpaceLabel, texts.availableSpace);
  view.SetText(dlg::kRequiredSpaceLabel, texts.requiredSpace);
  view.SetText(dlg::kOKButton, texts.okButton);
  view.SetText(dlg::kCancelButton, texts.cancelButton);
  keepLastFolder_ = options.storedLastFolder;
  lastFolderName_ = LastElement(configuredPath);

  folderLocked_ = options.storedFolder && !s_.adminFreedom;
  if (folderLocked_) {
    view.SetEnabled(dlg::kFolderList, false);
    view.SetColour(dlg::kFolderList, Colour::ButtonFace);
    view.SetFocus(dlg::kDriveList);
  }
  if (options.storedDrive && !s_.adminFreedom) {
    view.SetEnabled(dlg::kDriveList, false);
    view.SetColour(dlg::kDriveList, Colour::ButtonFace);
    view.SetFocus(folderLocked_ ? dlg::kOKButton : dlg::kFolderList);
  } else {
    SelectDrive('C');
  }
  SetRequiredSize(required_);
  if (pendingFolder_) ApplyFolder(*pendingFolder_);
  pendingFolder_.reset();
}

void DestinationDialog::FillDrives() {
  drives_.clear();
  std::vector<std::string> items;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const std::string root = std::string(1, letter) + ":\\";
    const platform::DriveType type = s_.files.GetDriveType(root);
    if (type == platform::DriveType::NoRootDir || type == platform::DriveType::Unknown) continue;
    std::string item = std::string(1, letter) + ":";
    if (type == platform::DriveType::Remote) {
      if (auto remote = s_.files.NetworkRemoteName(item)) item += " " + *remote;
    } else if (type == platform::DriveType::Fixed || type == platform::DriveType::RamDisk) {
      const std::string label = s_.files.VolumeLabel(root);
      if (!label.empty()) item += " [" + label + "]";
    }
    drives_.push_back(letter);
    items.push_back(UpperCase(item));
  }
  view_->SetItems(dlg::kDriveList, items);
}

void DestinationDialog::SelectDrive(char letter) {
  const auto it = std::find(drives_.begin(), drives_.end(), letter);
  if (it == drives_.end()) return;
  view_->SetSelectedIndex(dlg::kDriveList, int(it - drives_.begin()));
  DriveListChange();
}

char DestinationDialog::SelectedDrive() {
  const int index = view_->SelectedIndex(dlg::kDriveList);
  return index >= 0 && size_t(index) < drives_.size() ? drives_[size_t(index)] : 0;
}

void DestinationDialog::DriveListChange() {
  const char letter = SelectedDrive();
  const auto space = letter ? s_.files.GetDiskSpace(std::string(1, letter) + ":\\") : std::nullopt;
  if (!space) {
    view_->SetText(dlg::kLabel5, Kilobytes(0));
    view_->SetText(dlg::kLabel6, Kilobytes(0));
    return;
  }
  // The drive's own folder is its root; a kept last folder is added by the list.
  ListFolder(std::string(1, letter) + ":\\");
  view_->SetText(dlg::kLabel5, Kilobytes(int64_t(space->freeBytes)));
  view_->SetText(dlg::kLabel6, Kilobytes(required_));
}

void DestinationDialog::ListFolder(const std::string& folder) {
  listed_ = folder.size() <= 3 ? WithTrailing(folder, '\\') : WithoutTrailing(folder, '\\');
  folders_.clear();
  std::string path = listed_.substr(0, 3);
  folders_.push_back({path, UpperCase(path), 0});
  std::string rest = listed_.size() > 3 ? listed_.substr(3) : "";
  int depth = 1;
  while (!rest.empty()) {
    const std::string name = OnDiskName(s_.files, path, NextToken(rest, '\\'));
    if (name.empty()) continue;
    path = WithTrailing(path, '\\') + name;
    folders_.push_back({path, name, depth++});
  }
  const int open = int(folders_.size()) - 1;
  std::vector<std::string> children = s_.files.SubFolders(listed_);
  std::sort(children.begin(), children.end(),
            [](const std::string& a, const std::string& b) { return UpperCase(a) < UpperCase(b); });
  for (const std::string& child : children) folders_.push_back({WithTrailing(listed_, '\\') + child, child, depth});
  std::vector<std::string> names;
  for (const FolderItem& item : folders_) names.push_back(item.name);
  view_->SetItems(dlg::kFolderList, names);
  view_->SetSelectedIndex(dlg::kFolderList, open);
  FolderListChange();
}

void DestinationDialog::FolderListChange() {
  view_->SetText(dlg::kEFolder, keepLastFolder_ ? WithTrailing(listed_, '\\') + lastFolderName_ : listed_);
  if (folderLocked_) view_->SetEnabled(dlg::kFolderList, false);
}

void DestinationDialog::OKButtonClick() {
  std::string folder = view_->Text(dlg::kEFolder);
  const char letter = SelectedDrive() ? SelectedDrive() : (folder.empty() ? 0 : UpperCaseChar(folder[0]));
  const std::string root = std::string(1, letter) + ":\\";
  const platform::DriveType type = s_.files.GetDriveType(root);
  if (type == platform::DriveType::CdRom) return view_->ShowSystemWarning(kNoCdRom);
  if (type == platform::DriveType::Removable) return view_->ShowSystemWarning(kNoRemovable);
  const auto space = s_.files.GetDiskSpace(root);
  if (!space || space->freeBytes < uint64_t(std::max<int64_t>(required_, 0))) {
    const std::string text = WithScript(s_.files, s_.scriptPath, [](const TExtIniFile& script) {
      return ReadErrorMessagesSection(script).notEnoughSpace;
    });
    s_.dialogs.ShowMessage(text, ui::MsgDlgType::Warning, ui::mbOK, s_.dialogLanguage);
  }
  chosen_ = folder;
  view_->EndModal(ui::mrOk);
}

// The window's message loop is no place for an error: it ends the dialog and
// travels on to the wizard.
void DestinationDialog::OnEvent(const std::string& control, ControlEvent event) {
  try {
    HandleEvent(control, event);
  } catch (const std::exception& e) {
    failure_ = e.what();
    view_->EndModal(ui::mrCancel);
  }
}

void DestinationDialog::HandleEvent(const std::string& control, ControlEvent event) {
  if (control == dlg::kDriveList && event == ControlEvent::Select) return DriveListChange();
  if (control == dlg::kFolderList && event == ControlEvent::Click) {
    const int index = view_->SelectedIndex(dlg::kFolderList);
    if (index >= 0 && size_t(index) < folders_.size()) ListFolder(folders_[size_t(index)].path);
    return;
  }
  if (control == dlg::kOKButton && event == ControlEvent::Click) return OKButtonClick();
  if (control == dlg::kCancelButton && event == ControlEvent::Click) view_->EndModal(ui::mrCancel);
}

ItemDrawing DestinationDialog::DrawItem(const std::string& control, int index) {
  if (control != dlg::kFolderList || index < 0 || size_t(index) >= folders_.size()) return {};
  const FolderItem& item = folders_[size_t(index)];
  return {item.name, 2 + item.depth * kIndentPerLevel, 1};
}

}  // namespace ostravel::wizard
