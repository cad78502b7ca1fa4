// File prompt (stand-in until the front end exists).
#include "frontend/file_prompt.h"

int menu_file = 0;
int menu_file_mpos[3];
std::list<std::string> menu_file_files;

int fileprompt_prepare() { return 0; }
int fileprompt_draw() { return 0; }
