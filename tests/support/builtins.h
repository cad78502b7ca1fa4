// The built-in images for tests, registered as start-up does, so tests load
// them by their "incbin::incgfx/..." names whatever their working folder.
#pragma once

#include "platform/incbin.h"

inline void register_builtin_images() {
    for (const IncbinFile* f = incbin_builtin_files; f->name; ++f)
        if (!IncbinFind(f->name)) IncbinRegister(f->name, f->data, f->size);
}
