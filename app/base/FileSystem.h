#pragma once

#include <string>
#include <vector>

// The program's file-system questions, asked one way everywhere.

// A file (not a folder) at path.
bool FileExists(const std::wstring& path);
// A folder at path.
bool FolderExists(const std::wstring& path);
// Anything at path, file or folder.
bool PathExists(const std::wstring& path);
// Creates the folder and its missing parents; true when it is a folder afterwards.
bool CreateFolderTree(const std::wstring& folder);
// Everything before the last "\" or "/"; empty when there is none.
std::wstring ParentFolder(const std::wstring& path);
// The folder this program's executable is in, without a trailing "\".
std::wstring ExecutableFolder();
// Reads a file of 1 to 5242879 bytes whole into buffer.
bool ReadWholeFile(const wchar_t* path, std::vector<char>* buffer);
