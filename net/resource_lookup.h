// Transfer lookups: the compressed copy, checksum and size that the file
// transfer sends for a resource or script file.
#pragma once

#include <string>

#include "platform/bank.h"

// Transfer lookups by transfer name ("gfx/" + path, "sfx/" + path or a script
// path): images, then sounds, then script files; the first match decides even
// when its field is empty. No match: null, 0, and for the size the size of a
// file of that name on disk (-1 when there is none).
BankPtr getresbank(const std::string& name);
int getrescrc32(const std::string& name);
int getressize(const std::string& name);
