// Received-file cache (first cut: storage only).
#include "core/temp_files.h"

std::list<std::shared_ptr<Ttemp>> Ttemp::list;

std::shared_ptr<Ttemp> Ttemp::get(const std::string&) { return nullptr; }
std::shared_ptr<Ttemp> Ttemp::getCheck(const std::string&, int, int) { return nullptr; }
int Ttemp::add(const std::string&, const Bank&, int) { return 0; }
int Ttemp::free(const std::string&) { return 0; }
int Ttemp::freeall() { return 0; }
