#pragma once
// Names of the wizard window's controls. The page logic addresses controls by these
// names through the view; the Win32 window gives every control its name so that test
// tools can find it.
namespace ostravel::wizard::ctl {

// Window bands.
inline constexpr const char* kInstallTitleLabel = "InstallTitleLabel";
inline constexpr const char* kInstallDescriptionLabel = "InstallDescriptionLabel";
inline constexpr const char* kNotebook = "Notebook";
inline constexpr const char* kInformationButton = "InformationButton";
inline constexpr const char* kBackButton = "BackButton";
inline constexpr const char* kNextButton = "NextButton";
inline constexpr const char* kCancelButton = "CancelButton";
inline constexpr const char* kBuildInfoLabel = "BuildInfoLabel";
inline constexpr const char* kDebugLabel = "DebugLabel";
inline constexpr const char* kProcessingPanel = "ProcessingPanel";

// Welcome, License, Notes, Readme.
inline constexpr const char* kWelcomeImage = "WelcomeImage";
inline constexpr const char* kSlWelcome = "slWelcome";
inline constexpr const char* kReLicense = "reLicense";
inline constexpr const char* kReNotes = "reNotes";
inline constexpr const char* kReReadme = "reReadme";

// InstallKind.
inline constexpr const char* kInstallKindInfoLabel = "InstallKindInfoLabel";
inline constexpr const char* kCxInstallKind = "cxInstallKind";
inline constexpr const char* kInstallKindPanel = "InstallKindPanel";
inline constexpr const char* kSlInstallKind = "slInstallKind";
inline constexpr const char* kProgramYearLabel = "ProgramYearLabel";
inline constexpr const char* kCxProgramYear = "cxProgramYear";
inline constexpr const char* kOpSystemLabel = "OpSystemLabel";
inline constexpr const char* kCxOpSystem = "cxOpSystem";
inline constexpr const char* kProxySettingsButton = "ProxySettingsButton";

// Destination.
inline constexpr const char* kDestinationInfoLabel = "DestinationInfoLabel";
inline constexpr const char* kEDestination = "eDestination";
inline constexpr const char* kChangeButton = "ChangeButton";
inline constexpr const char* kDestinationListLabel = "DestinationListLabel";
inline constexpr const char* kLvDestinations = "lvDestinations";
inline constexpr const char* kNetworkInstallLabel = "NetworkInstallLabel";
inline constexpr const char* kENetworkInstall = "eNetworkInstall";
inline constexpr const char* kNetworkBrowseButton = "NetworkBrowseButton";

// Customize.
inline constexpr const char* kCustomizeInfoLabel = "CustomizeInfoLabel";
inline constexpr const char* kClbComponents = "clbComponents";
inline constexpr const char* kCustomizeInfoPanel = "CustomizeInfoPanel";
inline constexpr const char* kSlCustomize = "slCustomize";
inline constexpr const char* kCustomizeSizePanel = "CustomizeSizePanel";
inline constexpr const char* kDownloadSizeLabel = "DownloadSizeLabel";
inline constexpr const char* kDnSizeLabel = "DnSizeLabel";
inline constexpr const char* kRequiredSpaceLabel = "RequiredSpaceLabel";
inline constexpr const char* kRqSpaceLabel = "RqSpaceLabel";
inline constexpr const char* kAvailableSpaceLabel = "AvailableSpaceLabel";
inline constexpr const char* kAvSpaceLabel = "AvSpaceLabel";

// CreateIcon.
inline constexpr const char* kIconInfoLabel = "IconInfoLabel";
inline constexpr const char* kEIcon = "eIcon";
inline constexpr const char* kIconsList = "IconsList";
inline constexpr const char* kCbDoNotCreateIcons = "cbDoNotCreateIcons";

// Question1.
inline constexpr const char* kQuestion1Label = "Question1Label";
inline constexpr const char* kNeedLUMBRAIcon = "NeedLUMBRAIcon";
inline constexpr const char* kLabel3 = "Label3";
inline constexpr const char* kNeedORVELIcon = "NeedORVELIcon";
inline constexpr const char* kLabel4 = "Label4";

// Summary.
inline constexpr const char* kSummaryInfoLabel = "SummaryInfoLabel";
inline constexpr const char* kSummaryMemo = "SummaryMemo";
inline constexpr const char* kSummaryNextLabel = "SummaryNextLabel";

// CopyFiles.
inline constexpr const char* kCopyFilesInfoLabel = "CopyFilesInfoLabel";
inline constexpr const char* kProgressStatusLabel = "ProgressStatusLabel";
inline constexpr const char* kProgressBar = "ProgressBar";
// The file being written, under the bar, and the hidden percentage beside it.
inline constexpr const char* kLabel2 = "Label2";
inline constexpr const char* kProgressPercentLabel = "ProgressPercentLabel";
inline constexpr const char* kGbDownloadStatistics = "gbDownloadStatistics";
inline constexpr const char* kWUStatCurrentPackageCaption = "WUStatCurrentPackageCaption";
inline constexpr const char* kDownloadPackagePathLabel = "DownloadPackagePathLabel";
inline constexpr const char* kWUStatPackageSizeCaption = "WUStatPackageSizeCaption";
inline constexpr const char* kDownloadPackageSizeKBLabel = "DownloadPackageSizeKBLabel";
inline constexpr const char* kWUStatDownloadedCaption = "WUStatDownloadedCaption";
inline constexpr const char* kDownloadPackageDoneKBLabel = "DownloadPackageDoneKBLabel";
inline constexpr const char* kWUStatAvgSpeedCaption = "WUStatAvgSpeedCaption";
inline constexpr const char* kDownloadPackageSpeedKBLabel = "DownloadPackageSpeedKBLabel";

// Finished, ErrorFinish.
inline constexpr const char* kFinishedLabel = "FinishedLabel";
inline constexpr const char* kFinishedPanel = "FinishedPanel";
inline constexpr const char* kErrorFinishInfoLabel = "ErrorFinishInfoLabel";
inline constexpr const char* kErrorFinishMemo = "ErrorFinishMemo";
inline constexpr const char* kWebBrowserButton = "WebBrowserButton";

// TDestinationChangeForm.
namespace destination_dialog {
inline constexpr const char* kFolderByTypeLabel = "FolderByTypeLabel";
inline constexpr const char* kEFolder = "eFolder";
inline constexpr const char* kFoldersLabel = "FoldersLabel";
inline constexpr const char* kFolderList = "FolderList";
inline constexpr const char* kDrivesLabel = "DrivesLabel";
inline constexpr const char* kDriveList = "DriveList";
inline constexpr const char* kAvailableSpaceLabel = "AvailableSpaceLabel";
inline constexpr const char* kLabel5 = "Label5";
inline constexpr const char* kRequiredSpaceLabel = "RequiredSpaceLabel";
inline constexpr const char* kLabel6 = "Label6";
inline constexpr const char* kOKButton = "OKButton";
inline constexpr const char* kCancelButton = "CancelButton";
}  // namespace destination_dialog

// TProxySettingsForm.
namespace proxy_dialog {
inline constexpr const char* kGroupBox1 = "GroupBox1";
inline constexpr const char* kServerLabel = "ServerLabel";
inline constexpr const char* kProxyServer = "ProxyServer";
inline constexpr const char* kPortLabel = "PortLabel";
inline constexpr const char* kProxyPort = "ProxyPort";
inline constexpr const char* kUsernameLabel = "UsernameLabel";
inline constexpr const char* kProxyUsername = "ProxyUsername";
inline constexpr const char* kPasswordLabel = "PasswordLabel";
inline constexpr const char* kProxyPassword = "ProxyPassword";
inline constexpr const char* kOKButton = "OKButton";
inline constexpr const char* kCancelButton = "CancelButton";
}  // namespace proxy_dialog

}  // namespace ostravel::wizard::ctl
