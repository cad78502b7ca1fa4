#include "tools/makeassets/assets.h"
namespace ma {
void add_interface_art(Registry&) {}
void add_title_art(Registry&) {}
void add_builtin_art(Registry&) {}
void add_sounds(Registry&) {}
}
