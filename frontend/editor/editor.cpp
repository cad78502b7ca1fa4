// Map editor (stand-in: the chosen object id).
#include "frontend/editor/editor.h"

std::string menu_editorobjectid;
