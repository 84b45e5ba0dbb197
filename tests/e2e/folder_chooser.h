// Drives the shell's folder chooser (SHBrowseForFolder) of another process
// as a user does: expands the folders of its tree down to a path, clicks
// the last one and presses OK. Wine's chooser returns the folder selected
// in its tree and does not read its edit field, so the tree is the way in.
//
// The tree's items are read through a buffer in the chooser's process (a
// tree view reads and writes its item records through the pointer it is
// given, which must be valid there).
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// The visible folder chooser among the windows of the thread, waiting up
// to `timeoutMs`; null when none appears.
HWND FindFolderChooser(DWORD threadId, DWORD timeoutMs);

// The prompt the chooser shows above its tree (its first static text).
std::string FolderChooserPrompt(HWND chooser);

// Selects `path` ("C:\a\b", system ANSI code page) in the chooser's tree by
// clicking it; false with a reason when a part of the path is not found.
bool SelectFolderInChooser(HWND chooser, const std::string& path, std::string& error);

// Presses OK; the chooser closes and its caller gets the selected folder.
bool AcceptFolderChooser(HWND chooser);

}  // namespace e2e
