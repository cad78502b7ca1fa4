// File prompt: the modal file chooser drawn over any screen.
#pragma once

#include <list>
#include <string>

extern int menu_file;               // non-zero while the prompt is open
extern int menu_file_mpos[3];
extern std::list<std::string> menu_file_files;

int fileprompt_prepare();
int fileprompt_draw();
