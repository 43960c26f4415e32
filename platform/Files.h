#pragma once
// Game paths: Windows-style relative paths ("gfx\\fonts\\arial8.bmp") under
// the game folder, which is the current directory. Each component is matched
// against the folder's entries without regard to ASCII case; folder listings
// are cached so that a lookup touches the disk once per folder.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The host path of a game path: "\\" becomes "/", every existing component is
// replaced by the entry that matches it case-blind; components that do not
// exist are kept as given (so a new file is created with the name as given,
// under the resolved folder). An absolute host path is used unchanged.
std::string ResolveGamePath(std::string_view gamePath);

// fopen on the resolved path (binary and text modes alike). A file created
// here is added to the cached listing of its folder.
std::FILE* OpenGameFile(std::string_view gamePath, const char* mode);

// True when the game path names an existing regular file.
bool GameFileExists(std::string_view gamePath);

// Names (not paths) of the files in a folder matching a wildcard pattern with
// "*" and "?", compared case-blind, sorted by name. The pattern is a game
// path: "scenarios\\*.ovg".
std::vector<std::string> ListGameFiles(std::string_view pattern);

// Puts the file `from` in the place of the file `to` (both game paths, in
// the same folder) in one step: `to` is replaced whole or, on failure, left
// as it was. False when it failed.
bool ReplaceGameFile(std::string_view from, std::string_view to);

// Deletes a file; false when it failed.
bool RemoveGameFile(std::string_view gamePath);

// An entry of a host folder: its name and whether it is a folder.
struct FolderEntry {
    std::string name;
    bool isFolder = false;
};

// The entries of a host folder (an absolute or relative host path), sorted
// by name; empty when it cannot be read.
std::vector<FolderEntry> ListHostFolder(const std::string& hostPath);

// The process's current directory as a host path.
std::string CurrentHostFolder();

// Drops every cached folder listing (after files were changed behind the
// game's back, or the current directory changed).
void ForgetPathCache();

} // namespace platform
