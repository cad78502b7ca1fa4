// Small shared services: geometry, team colours, screenshots, the debug log
// writer and the clipboard.
#include "core/services.h"

#include <algorithm>
#include <cmath>

#include "core/resources.h"
#include "core/settings.h"
#include "core/text.h"
#include "platform/draw.h"
#include "platform/files.h"
#include "platform/pixmap.h"

StreamPtr debugstream;

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

int debugwrite(const std::string& text) {
    if (!debugstream) return 0;
    debugstream->WriteLine(text);
    debugstream->Flush();
    return 0;
}

std::string GetClipboardText() { return ""; }

int SetClipboardText(const std::string&) { return 0; }
