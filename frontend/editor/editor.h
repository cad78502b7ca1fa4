// Map editor: the editing state that terrain code reads. (Stand-in: the chosen
// object id; the editor fills this file.)
#pragma once

#include <string>

// Id of the object kind chosen for placing ("{Mine}" or a script path).
extern std::string menu_editorobjectid;
