// Small services: distance, point in triangle, team colours, screenshot file
// numbering, weapon icon export, the debug log writer and the clipboard.
#include "core/services.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "core/settings.h"
#include "frontend/grabimages.h"
#include "frontend/weaponset.h"
#include "platform/draw.h"
#include "platform/files.h"
#include "scripting/script_objects.h"

namespace fs = std::filesystem;

namespace {

// Runs a test inside a fresh temporary folder and removes it afterwards.
struct TempDir {
    fs::path old = fs::current_path();
    fs::path dir;
    TempDir() {
        char tmpl[] = "/tmp/grombat_core_XXXXXX";
        dir = mkdtemp(tmpl);
        fs::current_path(dir);
    }
    ~TempDir() {
        fs::current_path(old);
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

void touch(const std::string& path) { std::ofstream(path) << "x"; }

}  // namespace

TEST(Services, Dist) {
    struct Case {
        int x1, y1, x2, y2;
        double d;
    };
    for (auto c : {Case{0, 0, 3, 4, 5},
                   {3, 4, 0, 0, 5},
                   {7, 7, 7, 7, 0},
                   {-1, -1, 2, 3, 5},
                   // squares beyond 32 bits
                   {-30000, -30000, 30000, 30000, 60000 * std::sqrt(2.0)},
                   // and beyond 64 bits
                   {INT_MIN, INT_MIN, INT_MAX, INT_MAX, 4294967295.0 * std::sqrt(2.0)},
                   {INT_MAX, 0, INT_MIN, 0, 4294967295.0}})
        EXPECT_DOUBLE_EQ(dist(c.x1, c.y1, c.x2, c.y2), c.d) << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
}

TEST(Services, PointInTriangle) {
    struct Tri {
        double x1, y1, x2, y2, x3, y3;
    };
    struct Case {
        const char* what;
        Tri t;
        double px, py;
        int inside;
    };
    const Tri worked{0, 0, 10, 0, 2, 10};
    const Tri mirrored{0, 0, 2, 10, 10, 0};  // same corners, other winding
    const Tri upright{0, 0, 10, 5, 0, 10};   // first and third corners share x
    const Tri flat{0, 0, 5, 5, 10, 10};      // no area
    const Case cases[] = {
        {"inside (u .26, v .2)", worked, 3, 2, 1},
        {"on edge P1-P2", worked, 5, 0, 0},
        {"on edge P2-P3 (u = v = .5)", worked, 6, 5, 1},
        {"on edge P1-P3", worked, 1, 5, 0},
        {"corner P1", worked, 0, 0, 0},
        {"corner P2", worked, 10, 0, 0},
        {"corner P3", worked, 2, 10, 0},
        {"outside", worked, 9, 9, 0},
        {"below", worked, 3, -0.001, 0},
        {"mirrored inside", mirrored, 3, 2, 1},
        {"mirrored edge P1-P3", mirrored, 5, 0, 0},
        {"mirrored edge P2-P3", mirrored, 6, 5, 1},
        {"upright inside", upright, 3, 5, 1},
        {"upright edge P1-P3", upright, 0, 5, 0},
        {"upright edge P1-P2", upright, 4, 2, 0},
        {"upright edge P2-P3", upright, 5, 7.5, 1},
        {"upright corner P3", upright, 0, 10, 0},
        {"upright outside", upright, -1, 5, 0},
        {"upright beyond P2-P3", upright, 6, 8, 0},
        {"flat", flat, 5, 5, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pointintri(c.px, c.py, c.t.x1, c.t.y1, c.t.x2, c.t.y2, c.t.x3, c.t.y3), c.inside) << c.what;
}

TEST(Services, TeamColors) {
    struct Case {
        int team, r, g, b;
    };
    const Case cases[] = {
        {0, 0, 255, 0},   {1, 255, 255, 0}, {2, 255, 0, 0},    {3, 80, 200, 255},   {4, 180, 60, 255},
        {5, 255, 180, 0}, {6, 0, 180, 0},   {7, 50, 100, 255}, {-1, 255, 255, 255}, {8, 255, 255, 255},
    };
    for (const Case& c : cases) {
        SetColor(1, 2, 3);
        EXPECT_EQ(teamcolor(c.team), 0);
        int r, g, b;
        GetColor(r, g, b);
        EXPECT_EQ(r, c.r) << c.team;
        EXPECT_EQ(g, c.g) << c.team;
        EXPECT_EQ(b, c.b) << c.team;
    }
}

TEST(Services, ScreenshotTakesFirstFreeNumber) {
    TempDir tmp;
    const int old_x = set_scrx, old_y = set_scry;
    set_scrx = 16;
    set_scry = 12;

    screenshot();  // creates the folder
    EXPECT_EQ(FileType("screens"), FILETYPE_DIR);
    EXPECT_EQ(FileType("screens/shot_00000.png"), FILETYPE_FILE);

    touch("screens/shot_00001.png");
    screenshot();
    EXPECT_EQ(FileType("screens/shot_00002.png"), FILETYPE_FILE);

    // A gap is filled first; a folder of that name counts as taken.
    fs::remove("screens/shot_00000.png");
    fs::remove("screens/shot_00001.png");
    fs::create_directory("screens/shot_00000.png");
    screenshot();
    EXPECT_EQ(FileType("screens/shot_00001.png"), FILETYPE_FILE);
    EXPECT_EQ(FileType("screens/shot_00003.png"), FILETYPE_NONE);

    // The drawing state is left solid, opaque, unscaled and white.
    EXPECT_EQ(GetBlend(), SOLIDBLEND);
    EXPECT_EQ(GetAlpha(), 1.0f);
    set_scrx = old_x;
    set_scry = old_y;
}

namespace {

std::map<int, ImagePtr> g_icons;
std::vector<int> g_asked;

ImagePtr icon_by_id(int id) {
    g_asked.push_back(id);
    auto it = g_icons.find(id);
    return it == g_icons.end() ? nullptr : it->second;
}

std::shared_ptr<Tscro> weapon(const std::string& name, int image) {
    auto w = std::make_shared<Tscro>();
    w->name = name;
    w->image = image;
    return w;
}

}  // namespace

TEST(Services, GrabImagesExportsEachWeaponIcon) {
    TempDir tmp;
    const auto old_weapons = Tscro::weapon;
    const auto old_source = grabimages_source;
    g_icons = {{1, CreateImage(70, 20)}, {2, CreateImage(30, 30)}, {3, CreateImage(10, 10)}, {4, CreateImage(8, 8)}};
    g_asked.clear();
    grabimages_source = &icon_by_id;

    Tscro::weapon[5] = weapon("Big Gun", 1);
    Tscro::weapon[6] = weapon("Small Knife", 2);
    Tscro::weapon[7] = weapon("../../Escape Hatch", 3);  // must stay inside grabimages/
    Tscro::weapon[8] = weapon("***", 4);                 // nothing left of the name
    Tscro::weapon[9] = weapon("No Icon", 99);
    std::memset(g_weaponseti, 0, sizeof g_weaponseti);
    // Walk order: category, then row, then column.
    g_weaponseti[0][5][0] = 6;  // category 0, column 5, row 0
    g_weaponseti[0][0][1] = 5;  // category 0, column 0, row 1
    g_weaponseti[1][0][0] = 7;
    g_weaponseti[1][1][0] = 8;
    g_weaponseti[1][2][0] = 9;
    g_weaponseti[2][0][0] = 10;  // an empty weapon slot
    g_weaponseti[2][1][0] = 6;   // the same weapon again

    DrawRecord(true);
    DrawRecorded().clear();
    grabimages();
    DrawRecord(false);

    EXPECT_EQ(g_asked, (std::vector<int>{2, 1, 3, 4, 99, 2}));
    EXPECT_EQ(FileType("grabimages"), FILETYPE_DIR);
    std::vector<std::string> files = LoadDir("grabimages");
    EXPECT_EQ(files, (std::vector<std::string>{"big_gun.png", "escape_hatch.png", "small_knife.png"}));
    EXPECT_EQ(FileType("Escape Hatch.png"), FILETYPE_NONE);

    // Icons: a 70 x 20 icon at half size, a 30 x 30 one at full size, each
    // drawn at 20, 20 over a black 0.2-alpha square.
    std::map<const TImage*, float> scale_of;
    int squares = 0;
    for (const DrawCall& c : DrawRecorded()) {
        if (c.kind == DrawCall::IMAGE) {
            EXPECT_EQ(c.x, 20.0f);
            EXPECT_EQ(c.y, 20.0f);
            EXPECT_EQ(c.scale_x, c.scale_y);
            EXPECT_EQ(c.alpha, 1.0f);
            scale_of[c.image] = c.scale_x;
        } else if (c.kind == DrawCall::RECT) {
            EXPECT_EQ(c.w, 40.0f);
            EXPECT_EQ(c.alpha, 0.2f);
            EXPECT_EQ(c.r + c.g + c.b, 0);
            squares++;
        }
    }
    EXPECT_EQ(squares, 4);  // big gun, small knife, escape hatch, small knife again
    EXPECT_EQ(scale_of[g_icons[1].get()], 0.5f);
    EXPECT_EQ(scale_of[g_icons[2].get()], 1.0f);
    EXPECT_EQ(scale_of.count(g_icons[4].get()), 0u);

    Tscro::weapon = old_weapons;
    std::memset(g_weaponseti, 0, sizeof g_weaponseti);
    grabimages_source = old_source;
}

TEST(Services, GrabImagesFileNames) {
    struct Case {
        std::string name, file;
    };
    const Case cases[] = {
        {"Big Gun", "grabimages/big_gun.png"},
        {"Holy Hand-Grenade!", "grabimages/holy_hand-grenade!.png"},
        {"../../../home/x/.bashrc", "grabimages/homexbashrc.png"},
        {"C:\\Windows\\evil", "grabimages/cwindowsevil.png"},
        {"/", ""},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(grabimages_file(c.name), c.file) << c.name;
}

TEST(Services, DebugWriteEndsLinesWithCrLf) {
    EXPECT_EQ(debugwrite("nobody listens"), 0);  // log not open: nothing happens
    auto bank = std::make_shared<Bank>();
    debugstream = CreateBankStream(bank);
    debugwrite("turn 3");
    debugwrite("caf\xE9");
    debugstream = nullptr;
    const std::string expect = "turn 3\r\ncaf\xE9\r\n";
    EXPECT_EQ(std::string(bank->Bytes().begin(), bank->Bytes().end()), expect);
}

TEST(Services, ClipboardDoesNothing) {
    EXPECT_EQ(SetClipboardText("copied"), 0);
    EXPECT_EQ(GetClipboardText(), "");
}
