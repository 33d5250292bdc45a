#pragma once
// TDestinationChangeForm: a folder tree, a drive combo and the space figures; the
// script can lock the drive and the folder. OK refuses CD-ROM and removable drives
// and only warns about too little space.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "installer/platform/files.h"
#include "installer/script/path_variables.h"
#include "installer/ui/message_dialog.h"
#include "installer/wizard/control_view.h"

namespace ostravel::wizard {

struct DestinationDialogServices {
  platform::FileSystem& files;
  ui::MessageDialogs& dialogs;
  const PathVariables& variables;
  std::string scriptPath;
  int dialogLanguage = 0;
  bool adminFreedom = false;  // the page lifted the script's locks
};

class DestinationDialog : public FormLogic {
 public:
  explicit DestinationDialog(DestinationDialogServices services) : s_(std::move(services)) {}

  // Both may come before the dialog shows; they take effect once it exists.
  void SetRequiredSize(int64_t bytes);
  void SetFolder(const std::string& path);
  const std::string& ChosenFolder() const { return chosen_; }
  // A handler's failure ends the dialog; its text is for the wizard's error jump.
  const std::optional<std::string>& Failure() const { return failure_; }

  void FormCreate(FormView& view) override;
  void OnEvent(const std::string& control, ControlEvent event) override;
  ItemDrawing DrawItem(const std::string& control, int index) override;

 private:
  struct FolderItem {
    std::string path, name;
    int depth = 0;
  };
  void FillDrives();
  void SelectDrive(char letter);
  char SelectedDrive();
  void DriveListChange();
  void ListFolder(const std::string& folder);
  void FolderListChange();
  void OKButtonClick();
  void ApplyFolder(const std::string& path);
  void HandleEvent(const std::string& control, ControlEvent event);

  DestinationDialogServices s_;
  FormView* view_ = nullptr;
  std::vector<char> drives_;
  std::vector<FolderItem> folders_;
  std::string listed_;  // the existing folder the tree shows
  std::string chosen_;
  std::optional<std::string> pendingFolder_, failure_;
  int64_t required_ = 0;
  bool folderLocked_ = false, keepLastFolder_ = false;
  std::string lastFolderName_;
};

}  // namespace ostravel::wizard
