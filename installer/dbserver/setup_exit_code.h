#pragma once
#include "installer/dbserver/server_context.h"

namespace ostravel::dbserver {

inline constexpr int kSetupRestartNeeded = 32767;

// 0 is success, 32767 success that wants a restart (not acted on), anything else
// a setup error.
inline bool SetupSucceeded(int exitCode) { return exitCode == 0 || exitCode == kSetupRestartNeeded; }

// A setup error is shown in an error box with its code, or, when silent, sets the
// process exit code to 1. The run goes on either way; the verification decides.
void ReportSetupExitCode(ServerContext& ctx, int exitCode);

// The box both the exit-code rule and the verification show: caption "Error",
// one "OK" button. Silent runs set the process exit code to 1 instead.
void ShowServerErrorBox(ServerContext& ctx, const std::string& text);

}  // namespace ostravel::dbserver
