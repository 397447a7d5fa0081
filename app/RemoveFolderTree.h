#pragma once

#include <string>

// Deletes a folder with everything below it ("/uninstall" removes the data folder this way).
// Refuses an empty path, a path of MAX_PATH (260) characters or more, a path with wildcards and a
// drive root. Read-only folders and files are made writable first; a file that cannot be deleted
// is scheduled for deletion at the next restart; each emptied folder goes with the shell's silent
// delete (never to the recycle bin).
//
// Links are never followed out of the tree: a junction or symbolic link (the folder itself or any
// entry below it) is removed as a link and its target is left untouched. Where the system cannot
// address a link without following it (Wine resolves Unix symbolic links whatever the open flags
// say), the link is left in place, and so are the folders that hold it.
//
// Returns true when the folder no longer exists afterwards. Failures are logged, never shown.
bool RemoveFolderTree(const std::wstring& folder);
