#include "installer/wizard/control_table.h"

#include <cstring>

#include "base/win32/shared_names.h"
#include "installer/wizard/control_names.h"
#include "installer/wizard/page.h"

namespace ostravel::wizard {

namespace {
using K = ControlKind;
constexpr int P(Page page) { return int(page); }
constexpr int kBand = -1;

ControlSpec OnWhite(ControlSpec spec) {
  spec.onWhite = true;
  return spec;
}

ControlSpec Sorted(ControlSpec spec) {
  spec.sorted = true;
  return spec;
}

const std::vector<ControlSpec>& MainFormControls() {
  static const std::vector<ControlSpec> kControls = {
      // Header band.
      OnWhite({ctl::kInstallTitleLabel, kBand, K::TitleLabel, 16, 9, 515, 17, ""}),
      OnWhite({ctl::kInstallDescriptionLabel, kBand, K::Label, 32, 28, 499, 28, ""}),
      // Bottom band; the buttons are no tab stops.
      {ctl::kDebugLabel, kBand, K::GreyLabel, 8, 356, 250, 14, ""},
      {ctl::kBuildInfoLabel, kBand, K::GreyLabel, 262, 356, 277, 14, ""},
      {ctl::kInformationButton, kBand, K::Button, 8, 385, 170, 25, "Telepítési &információk", true, false},
      {ctl::kBackButton, kBand, K::Button, 285, 385, 80, 25, "Back", true, false},
      {ctl::kNextButton, kBand, K::Button, 365, 385, 80, 25, "Next", true, false},
      {ctl::kCancelButton, kBand, K::Button, 457, 385, 80, 25, "Close", true, false},
      {ctl::kProcessingPanel, kBand, K::Panel, 123, 170, 300, 50, "", false},

      // Welcome.
      {ctl::kWelcomeImage, P(Page::Welcome), K::Picture, 0, 0, 164, kNotebookHeight, ""},
      {ctl::kSlWelcome, P(Page::Welcome), K::TaggedLabel, 176, 8, 360, 280, ""},
      // License, Notes, Readme.
      {ctl::kReLicense, P(Page::License), K::Memo, 24, 10, 499, 275, ""},
      {ctl::kReNotes, P(Page::Notes), K::Memo, 24, 10, 499, 275, ""},
      {ctl::kReReadme, P(Page::Readme), K::Memo, 24, 10, 499, 275, ""},

      // InstallKind.
      {ctl::kInstallKindInfoLabel, P(Page::InstallKind), K::Label, 24, 10, 499, 30, ""},
      {ctl::kCxInstallKind, P(Page::InstallKind), K::OwnerDrawDropDown, 24, 44, 300, 200, ""},
      {ctl::kInstallKindPanel, P(Page::InstallKind), K::Panel, 24, 76, 499, 140, ""},
      {ctl::kSlInstallKind, P(Page::InstallKind), K::TaggedLabel, 26, 78, 495, 136, ""},
      {ctl::kProgramYearLabel, P(Page::InstallKind), K::Label, 24, 232, 80, 16, "Programév.", false},
      {ctl::kCxProgramYear, P(Page::InstallKind), K::DropDown, 108, 228, 80, 300, "", false},
      {ctl::kOpSystemLabel, P(Page::InstallKind), K::Label, 212, 232, 70, 16, "Rendszer:", false},
      {ctl::kCxOpSystem, P(Page::InstallKind), K::DropDown, 286, 228, 100, 200, "", false},
      {ctl::kProxySettingsButton, P(Page::InstallKind), K::Button, 24, 260, 330, 25,
       "Proxy-kiszolgáló beállításai (csak szakembereknek!)", false},

      // Destination.
      {ctl::kDestinationInfoLabel, P(Page::Destination), K::Label, 24, 10, 499, 30, ""},
      {ctl::kEDestination, P(Page::Destination), K::ReadOnlyEdit, 24, 45, 400, 23, ""},
      {ctl::kChangeButton, P(Page::Destination), K::Button, 432, 44, 91, 25, "Change"},
      {ctl::kDestinationListLabel, P(Page::Destination), K::Label, 24, 80, 499, 16, ""},
      {ctl::kLvDestinations, P(Page::Destination), K::ListView, 24, 100, 499, 150, ""},
      {ctl::kNetworkInstallLabel, P(Page::Destination), K::Label, 24, 258, 140, 16, "", false},
      {ctl::kENetworkInstall, P(Page::Destination), K::Edit, 168, 255, 260, 23, "", false},
      {ctl::kNetworkBrowseButton, P(Page::Destination), K::Button, 432, 254, 91, 25, "...", false},

      // Customize.
      {ctl::kCustomizeInfoLabel, P(Page::Customize), K::Label, 24, 6, 499, 28, ""},
      {ctl::kClbComponents, P(Page::Customize), K::CheckList, 24, 38, 260, 190, ""},
      {ctl::kCustomizeInfoPanel, P(Page::Customize), K::Panel, 292, 38, 231, 190, ""},
      {ctl::kSlCustomize, P(Page::Customize), K::TaggedLabel, 294, 40, 227, 186, ""},
      {ctl::kCustomizeSizePanel, P(Page::Customize), K::Panel, 24, 234, 499, 56, ""},
      {ctl::kDownloadSizeLabel, P(Page::Customize), K::Label, 32, 238, 250, 15, ""},
      {ctl::kDnSizeLabel, P(Page::Customize), K::ValueLabel, 290, 238, 225, 15, ""},
      {ctl::kRequiredSpaceLabel, P(Page::Customize), K::Label, 32, 255, 250, 15, ""},
      {ctl::kRqSpaceLabel, P(Page::Customize), K::ValueLabel, 290, 255, 225, 15, ""},
      {ctl::kAvailableSpaceLabel, P(Page::Customize), K::Label, 32, 272, 250, 15, ""},
      {ctl::kAvSpaceLabel, P(Page::Customize), K::ValueLabel, 290, 272, 225, 15, ""},

      // CreateIcon.
      {ctl::kIconInfoLabel, P(Page::CreateIcon), K::Label, 24, 10, 499, 30, ""},
      {ctl::kEIcon, P(Page::CreateIcon), K::Edit, 24, 44, 499, 23, ""},
      Sorted({ctl::kIconsList, P(Page::CreateIcon), K::OwnerDrawListBox, 24, 74, 499, 180, ""}),
      {ctl::kCbDoNotCreateIcons, P(Page::CreateIcon), K::CheckBox, 24, 262, 499, 20, ""},

      // Question1: fixed Hungarian texts.
      {ctl::kQuestion1Label, P(Page::Question1), K::Label, 24, 12, 499, 34,
       "Kérem válassza ki, hogy melyik különálló programmodulhoz kiván parancsikont elhelyezni az Asztalra:"},
      {ctl::kNeedLUMBRAIcon, P(Page::Question1), K::CheckBox, 40, 60, 300, 20, "Lumbra", true, true, true, true},
      {ctl::kLabel3, P(Page::Question1), K::Label, 58, 82, 465, 30,
       "A teljes programrendszer (könyvelés, bérszámfejtés, számlázás stb.)"},
      {ctl::kNeedORVELIcon, P(Page::Question1), K::CheckBox, 40, 124, 300, 20, "Orvel"},
      {ctl::kLabel4, P(Page::Question1), K::Label, 58, 146, 465, 30,
       "Egyszerű bizonylatrögzítő program, a könyvelési anyag előkészítéséhez"},

      // Summary.
      {ctl::kSummaryInfoLabel, P(Page::Summary), K::Label, 24, 6, 499, 30, ""},
      {ctl::kSummaryMemo, P(Page::Summary), K::Memo, 24, 38, 499, 210, ""},
      {ctl::kSummaryNextLabel, P(Page::Summary), K::Label, 24, 254, 499, 34, ""},

      // CopyFiles.
      {ctl::kCopyFilesInfoLabel, P(Page::CopyFiles), K::Label, 24, 10, 499, 30, ""},
      {ctl::kProgressStatusLabel, P(Page::CopyFiles), K::Label, 24, 50, 499, 16, ""},
      {ctl::kProgressBar, P(Page::CopyFiles), K::ProgressBar, 24, 70, 499, 20, ""},
      {ctl::kLabel2, P(Page::CopyFiles), K::Label, 24, 94, 440, 16, ""},
      {ctl::kProgressPercentLabel, P(Page::CopyFiles), K::ValueLabel, 468, 94, 55, 16, "", false},
      {ctl::kGbDownloadStatistics, P(Page::CopyFiles), K::GroupBox, 24, 104, 499, 100, "", false},
      {ctl::kWUStatCurrentPackageCaption, P(Page::CopyFiles), K::Label, 36, 124, 160, 16, "", false},
      {ctl::kDownloadPackagePathLabel, P(Page::CopyFiles), K::Label, 200, 124, 315, 16, "", false},
      {ctl::kWUStatPackageSizeCaption, P(Page::CopyFiles), K::Label, 36, 143, 160, 16, "", false},
      {ctl::kDownloadPackageSizeKBLabel, P(Page::CopyFiles), K::Label, 200, 143, 315, 16, "", false},
      {ctl::kWUStatDownloadedCaption, P(Page::CopyFiles), K::Label, 36, 162, 160, 16, "", false},
      {ctl::kDownloadPackageDoneKBLabel, P(Page::CopyFiles), K::Label, 200, 162, 315, 16, "", false},
      {ctl::kWUStatAvgSpeedCaption, P(Page::CopyFiles), K::Label, 36, 181, 160, 16, "", false},
      {ctl::kDownloadPackageSpeedKBLabel, P(Page::CopyFiles), K::Label, 200, 181, 315, 16, "", false},

      // Finished, ErrorFinish.
      {ctl::kFinishedLabel, P(Page::Finished), K::Label, 24, 12, 499, 90, ""},
      {ctl::kFinishedPanel, P(Page::Finished), K::Label, 24, 110, 499, 170, ""},
      {ctl::kErrorFinishInfoLabel, P(Page::ErrorFinish), K::Label, 24, 6, 499, 30, ""},
      {ctl::kErrorFinishMemo, P(Page::ErrorFinish), K::Memo, 24, 38, 499, 210, ""},
      {ctl::kWebBrowserButton, P(Page::ErrorFinish), K::Button, 24, 256, 499, 25,
       "Hibaüzenetben megadott hivatkozás megnyitása Internet böngészőben", false},
  };
  return kControls;
}

namespace dlg = ctl::destination_dialog;

const std::vector<ControlSpec>& DestinationChangeControls() {
  static const std::vector<ControlSpec> kControls = {
      {dlg::kFolderByTypeLabel, kBand, K::Label, 8, 6, 215, 15, "Selected folder:"},
      {dlg::kEFolder, kBand, K::Edit, 8, 22, 215, 21, "", true, true, false},
      {dlg::kFoldersLabel, kBand, K::Label, 8, 48, 215, 15, "Folders:"},
      {dlg::kFolderList, kBand, K::FolderTree, 8, 64, 215, 136, ""},
      {dlg::kDrivesLabel, kBand, K::Label, 8, 206, 215, 15, "Drives:"},
      {dlg::kDriveList, kBand, K::DropDown, 8, 222, 215, 200, ""},
      {dlg::kAvailableSpaceLabel, kBand, K::Label, 8, 252, 120, 15, "Available space:"},
      {dlg::kLabel5, kBand, K::ValueLabel, 128, 252, 95, 15, "0 K"},
      {dlg::kRequiredSpaceLabel, kBand, K::Label, 8, 268, 120, 15, "Required space:"},
      {dlg::kLabel6, kBand, K::ValueLabel, 128, 268, 95, 15, "0 K"},
      {dlg::kOKButton, kBand, K::Button, 68, 288, 75, 23, "OK"},
      {dlg::kCancelButton, kBand, K::Button, 148, 288, 75, 23, "Cancel"},
  };
  return kControls;
}

namespace proxy = ctl::proxy_dialog;
constexpr const char* kProxyCaption = "Proxy-kiszolgáló beállításai";

// The buttons are no tab stops: Tab walks the four fields only.
const std::vector<ControlSpec>& ProxySettingsControls() {
  static const std::vector<ControlSpec> kControls = {
      {proxy::kGroupBox1, kBand, K::GroupBox, 8, 6, 399, 124, kProxyCaption},
      {proxy::kServerLabel, kBand, K::Label, 20, 31, 105, 16, "Kiszolgáló"},
      {proxy::kProxyServer, kBand, K::Edit, 130, 27, 265, 22, ""},
      {proxy::kPortLabel, kBand, K::Label, 20, 57, 105, 16, "Port"},
      {proxy::kProxyPort, kBand, K::SpinEdit, 130, 53, 80, 22, "80"},
      {proxy::kUsernameLabel, kBand, K::Label, 20, 83, 105, 16, "Felhasználónév"},
      {proxy::kProxyUsername, kBand, K::Edit, 130, 79, 265, 22, ""},
      {proxy::kPasswordLabel, kBand, K::Label, 20, 109, 105, 16, "Jelszó"},
      {proxy::kProxyPassword, kBand, K::PasswordEdit, 130, 105, 265, 22, ""},
      {proxy::kOKButton, kBand, K::Button, 251, 136, 75, 25, "OK", true, false},
      {proxy::kCancelButton, kBand, K::Button, 332, 136, 75, 25, "Mégsem", true, false},
  };
  return kControls;
}

}  // namespace

const std::vector<ControlSpec>& FormControls(FormId form) {
  switch (form) {
    case FormId::DestinationChange:
      return DestinationChangeControls();
    case FormId::ProxySettings:
      return ProxySettingsControls();
    case FormId::MainForm:
      break;
  }
  return MainFormControls();
}

const FormFrame& FormFrameOf(FormId form) {
  static const FormFrame kMain{.className = names::kWizardClass,
                               .caption = "Ostravel",
                               .clientWidth = kClientWidth,
                               .clientHeight = kClientHeight,
                               .closeBox = true};
  static const FormFrame kDestination{.className = "TDestinationChangeForm",
                                      .caption = "Select Destination",
                                      .clientWidth = 231,
                                      .clientHeight = 316,
                                      .enterButton = dlg::kOKButton,
                                      .cancelButton = dlg::kCancelButton};
  // Enter presses nothing: only Escape has a button of its own.
  static const FormFrame kProxy{.className = "TProxySettingsForm",
                                .caption = kProxyCaption,
                                .clientWidth = 415,
                                .clientHeight = 167,
                                .closeBox = true,
                                .cancelButton = proxy::kCancelButton};
  switch (form) {
    case FormId::DestinationChange:
      return kDestination;
    case FormId::ProxySettings:
      return kProxy;
    case FormId::MainForm:
      break;
  }
  return kMain;
}

const ControlSpec* FindControl(FormId form, const char* name) {
  for (const ControlSpec& spec : FormControls(form))
    if (std::strcmp(spec.name, name) == 0) return &spec;
  return nullptr;
}

}  // namespace ostravel::wizard
