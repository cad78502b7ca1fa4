// Weapon icon export: each weapon's image drawn into a 40x40 icon and saved.
#include "frontend/grabimages.h"

#include <algorithm>
#include <memory>

#include "core/resources.h"
#include "core/text.h"
#include "frontend/weaponset.h"
#include "platform/draw.h"
#include "platform/files.h"
#include "platform/pixmap.h"
#include "scripting/script_objects.h"

ImagePtr (*grabimages_source)(int image_id) = &Tres::getimage;

std::string grabimages_file(const std::string& weapon_name) {
    std::string clean = text_lower(filename(weapon_name));
    if (clean.empty()) return "";
    std::replace(clean.begin(), clean.end(), ' ', '_');
    return "grabimages/" + clean + ".png";
}

int grabimages() {
    if (FileType("grabimages") != FILETYPE_DIR) CreateDir("grabimages");
    for (int cat = 0; cat < 3; cat++) {
        for (int row = 0; row < 9; row++) {
            for (int col = 0; col < 14; col++) {
                const int index = g_weaponseti[cat][col][row];
                if (index <= 0 || (size_t)index >= Tscro::weapon.size()) continue;
                const std::shared_ptr<Tscro>& weapon = Tscro::weapon[(size_t)index];
                if (!weapon) continue;
                // Looked up first: some built-in ids draw from the shared
                // random generator, and every counted weapon takes its draw.
                ImagePtr image = grabimages_source(weapon->image);
                if (!image) continue;
                // Weapon names come from scripts: only a cleaned name may
                // become a file name, and a name with nothing left is skipped.
                const std::string path = grabimages_file(weapon->name);
                if (path.empty()) continue;
                ImagePtr icon = CreateImage(40, 40, 1, DYNAMICIMAGE);
                if (!icon) continue;
                Cls();
                SetRotation(0);
                SetScale(1, 1);
                SetBlend(ALPHABLEND);
                SetColor(0, 0, 0);
                SetAlpha(0.2f);
                DrawRect(0, 0, 40, 40);
                SetAlpha(1);
                SetColor(255, 255, 255);
                const int m = std::max(ImageWidth(image), ImageHeight(image));
                const float s = m > 35 ? 35.0f / (float)m : 1.0f;
                SetScale(s, s);
                DrawImage(image, 20, 20);
                GrabImage(icon, 0, 0);
                PixmapPtr pixels = LockImage(icon);
                if (pixels) SavePixmapPNG(*pixels, path, 9);
                UnlockImage(icon);
            }
        }
    }
    return 0;
}
