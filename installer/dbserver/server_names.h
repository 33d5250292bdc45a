#pragma once
// Names the database-server code shares: the version it installs, its archive,
// registry keys and server programs.
namespace ostravel::dbserver {

// The only server version installed; every version test compares with it.
inline constexpr const char* kTargetVersion = "2.5.4.26856";
inline constexpr const char* kServerArchive = "firebird.dat";

inline constexpr const char* kInterBaseKey = "SOFTWARE\\Borland\\InterBase\\CurrentVersion";
inline constexpr const char* kInstancesKey = "SOFTWARE\\Firebird Project\\Firebird Server\\Instances";
inline constexpr const char* kDefaultInstance = "DefaultInstance";
inline constexpr const char* kWindowsVersionKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

inline constexpr const char* kSuperServer = "fbserver.exe";
inline constexpr const char* kGuardian = "fbguard.exe";
inline constexpr const char* kClassicServer = "fb_inet_server.exe";

inline constexpr const char* kGuardianService = "FirebirdGuardianDefaultInstance";
inline constexpr const char* kServerService = "FirebirdServerDefaultInstance";
inline constexpr const char* kInterBaseService = "InterBaseServer";
// In the order they are stopped: the guardian first, or it starts the server again.
inline constexpr const char* kServerServices[] = {kGuardianService, kServerService, kInterBaseService};
inline constexpr const char* kServerWindowClasses[] = {"IB_Server", "FB_Server"};

}  // namespace ostravel::dbserver
