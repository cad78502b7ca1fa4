// Small shared services: geometry, team colours, screenshots, weapon icons,
// the debug log writer and the clipboard.
#include "core/services.h"

#include <algorithm>
#include <cmath>

#include "core/resources.h"
#include "core/settings.h"
#include "core/text.h"
#include "frontend/weaponset.h"
#include "platform/draw.h"
#include "platform/files.h"
#include "platform/pixmap.h"
#include "scripting/script_objects.h"

StreamPtr debugstream;

ImagePtr (*grabimages_source)(int image_id) = &Tres::getimage;

double dist(int x1, int y1, int x2, int y2) {
    // In doubles, so no pair of points can overflow: the differences are
    // exact, and so are the squares and their sum wherever the sum fits in
    // 32 bits, which then gives the same distance as integer arithmetic.
    const double dx = (double)x1 - x2, dy = (double)y1 - y2;
    return std::sqrt(dx * dx + dy * dy);
}

int pointintri(double px, double py, double x1, double y1, double x2, double y2, double x3, double y3) {
    // P = P1 + u*(P2 - P1) + v*(P3 - P1), solved with the full 2x2 system so a
    // triangle whose first and third corners share x works like any other.
    // u = a/d and v = b/d; the bounds are tested on the numerators so points
    // exactly on an edge are decided without rounding: on P1-P2 b = 0, on
    // P1-P3 a = 0 (outside), on P2-P3 a + b = d (inside).
    const double ex1 = x2 - x1, ey1 = y2 - y1;
    const double ex2 = x3 - x1, ey2 = y3 - y1;
    const double dx = px - x1, dy = py - y1;
    double d = ex1 * ey2 - ey1 * ex2;
    double a = dx * ey2 - dy * ex2;
    double b = ex1 * dy - ey1 * dx;
    if (!(d != 0)) return 0;  // degenerate (or not a number)
    if (d < 0) {
        d = -d;
        a = -a;
        b = -b;
    }
    const double s = a + b;
    return a > 0 && a <= d && b > 0 && b <= d && s > 0 && s <= d ? 1 : 0;
}

int teamcolor(int team) {
    static const int kColors[8][3] = {
        {0, 255, 0},    {255, 255, 0}, {255, 0, 0}, {80, 200, 255},
        {180, 60, 255}, {255, 180, 0}, {0, 180, 0}, {50, 100, 255},
    };
    if (team >= 0 && team < 8)
        SetColor(kColors[team][0], kColors[team][1], kColors[team][2]);
    else
        SetColor(255, 255, 255);
    return 0;
}

int screenshot() {
    // The drawing state is left like this afterwards.
    SetBlend(SOLIDBLEND);
    SetAlpha(1);
    SetTransform(0, 1, 1);
    SetColor(255, 255, 255);
    ImagePtr shot = CreateImage(set_scrx, set_scry, 1, DYNAMICIMAGE);
    if (!shot) return 0;
    GrabImage(shot, 0, 0);
    PixmapPtr pixels = LockImage(shot);
    if (!pixels) return 0;
    if (FileType("screens") != FILETYPE_DIR) CreateDir("screens");
    std::string name;
    for (int n = 0;; n++) {
        name = "screens/shot_" + zerofill(n, 5) + ".png";
        if (FileType(name) == FILETYPE_NONE) break;
    }
    SavePixmapPNG(*pixels, name, 5);
    UnlockImage(shot);
    return 0;
}

std::string grabimages_file(const std::string& weapon_name) {
    std::string clean = filename(weapon_name);
    if (clean.empty()) return "";
    for (char& c : clean) {
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
        else if (c == ' ')
            c = '_';
    }
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

int debugwrite(const std::string& text) {
    if (!debugstream) return 0;
    debugstream->WriteLine(text);
    debugstream->Flush();
    return 0;
}

std::string GetClipboardText() { return ""; }

int SetClipboardText(const std::string&) { return 0; }
