// Files and folders: types, sizes, times, listing, creating and deleting,
// whole-file loading and saving, and path pieces. Paths use "/"; a "\" in a
// path is taken as "/".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/bank.h"

enum { FILETYPE_NONE = 0, FILETYPE_FILE = 1, FILETYPE_DIR = 2 };

int FileType(const std::string& path);          // 0 none, 1 file, 2 folder
int64_t FileSize(const std::string& path);      // -1 when it does not exist
int64_t FileTime(const std::string& path);      // modification time in seconds, 0 when unknown
bool CreateDir(const std::string& path, bool recurse = false);
bool DeleteDir(const std::string& path, bool recurse = false);
bool DeleteFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);
bool CopyFile(const std::string& from, const std::string& to);
// Entry names of a folder without "." and "..", sorted by byte value so that
// every machine sees the same order; empty when the folder cannot be read.
std::vector<std::string> LoadDir(const std::string& path);
std::string CurrentDir();
bool ChangeDir(const std::string& path);
std::string RealPath(const std::string& path);

// The whole file as a bank, or null when it cannot be read ("incbin::" works).
BankPtr LoadBank(const std::string& path);
// Writes the bank to a temporary file beside path and renames it over path,
// so a failed write never leaves a half-written file. False on failure. A
// path that is a symbolic link is written through to the file it points at
// (false for a loop of links); a replaced file keeps its permission bits, and
// a new file is made with new_mode (less the umask).
bool SaveBank(const Bank& bank, const std::string& path, int new_mode = 0666);
// The same for text: lines written with CR LF endings.
bool SaveLines(const std::vector<std::string>& lines, const std::string& path);

// Path pieces: "a/b/c.txt" -> ExtractDir "a/b", StripDir "c.txt",
// ExtractExt "txt", StripExt "a/b/c", StripAll "c".
std::string ExtractDir(const std::string& path);
std::string StripDir(const std::string& path);
std::string ExtractExt(const std::string& path);
std::string StripExt(const std::string& path);
std::string StripAll(const std::string& path);
// "\" to "/".
std::string NormalizePath(const std::string& path);
