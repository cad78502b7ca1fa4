// Script resource tables (first cut: storage only).
#include "core/resources.h"

std::vector<std::shared_ptr<Tres>> Tres::gfx(300);
std::vector<std::shared_ptr<Tres>> Tres::sfx(300);

int Tres::countarray(const std::vector<std::shared_ptr<Tres>>&) { return 0; }
int Tres::clear() { return 0; }
int Tres::loadgfx(const std::string&) { return 0; }
int Tres::loadsfx(const std::string&) { return 0; }
ImagePtr Tres::getimage(int) { return nullptr; }

BankPtr getresbank(const std::string&) { return nullptr; }
int getrescrc32(const std::string&) { return 0; }
int getressize(const std::string&) { return -1; }
