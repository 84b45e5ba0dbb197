// A drive-mapped, case-insensitive file system for the simulated platform:
// each drive letter is a host folder; Windows paths (GBK bytes) are looked
// up in it component by component, letter case ignored.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "support/text.h"

namespace sim {

void MapDrive(char letter, const std::filesystem::path& hostFolder);
void UnmapAllDrives();
// The drive that a path without a drive letter starts on (C: by default).
void SetCurrentDrive(char letter);

// The host path of an existing file or folder, if the Windows path names one.
std::optional<std::filesystem::path> FindHostPath(const Text& windowsPath);

// Creates the folder and any missing parents; the drive must be mapped.
void CreateDirectories(const Text& windowsPath);
// Creates an empty file; its folder must exist.
void CreateFile(const Text& windowsPath);

// Case-insensitive comparison of two Windows paths after normalising
// separators ('/' as '\', repeated ones as one).
bool SamePath(const Text& a, const Text& b);

std::string GbkToUtf8(const Text& gbk);
Text Utf8ToGbk(const std::string& utf8);

}  // namespace sim
