#pragma once
// The folder the panel works in: host.ini, freq.ini and serve.ini, and on
// Windows ravolin.log. It is the folder the program is started in, as
// always, with one exception: an installed copy (its uninstaller beside it)
// started in its own program folder, as Explorer starts a program opened
// there. That folder holds the program, not the operator's files, so the
// copy works in the user's folder for the panel instead, which is made the
// way a first start finds it when it is missing: host.ini with an empty first
// line (nothing to follow) and freq.ini holding the panel's own start state.
// Files already there are never replaced.

#include <filesystem>

// The name of the uninstaller that marks an installed copy.
inline constexpr char kUninstallerName[] = "Uninstall.exe";

// Changes into userFolder when the exception above holds, and returns the
// folder the panel works in. When userFolder can't be made or entered, the
// panel stays where it was started.
std::filesystem::path SettleWorkingFolder(const std::filesystem::path& programFile,
                                          const std::filesystem::path& userFolder);

// Makes folder and its first-start files where they are missing; false when
// the folder can't be made.
bool PrepareUserFolder(const std::filesystem::path& folder);
