// Resource catalogue: the fonts, images and sounds of the whole program.
//
// The load order is fixed and part of the behaviour: the load state (mask
// colour, automatic centre handle) in force when an image loads applies to
// it, and a missing file ends the program at its row, so everything before
// it has loaded and nothing after it has. The mask colour is black for the
// sky and water and the meat chunks and magenta for everything else; the
// state left at the end (magenta, centre handle off) stays in force for the
// rest of the program.
#include "core/catalogue.h"

#include <algorithm>
#include <memory>
#include <type_traits>

#include "core/graphics_setup.h"
#include "core/random.h"
#include "core/shared_state.h"
#include "core/text.h"

#define GF_CATALOGUE_DEFINE_ONE(type, name) type name;
#define GF_CATALOGUE_DEFINE_MANY(type, name, count) type name[count];
GF_CATALOGUE(GF_CATALOGUE_DEFINE_ONE, GF_CATALOGUE_DEFINE_MANY)
#undef GF_CATALOGUE_DEFINE_ONE
#undef GF_CATALOGUE_DEFINE_MANY

// Calls f("name[i]", name[i]) on every element of an array of globals.
template <class F, class T, size_t N>
void elements(F& f, const char* name, T (&array)[N]) {
    for (size_t i = 0; i < N; i++) f(std::string(name) + "[" + std::to_string(i) + "]", array[i]);
}

// Calls f(name, global) on every global above, array elements included.
template <class F>
void each_global(F f) {
#define GF_CATALOGUE_WALK_ONE(type, name) f(#name, name);
#define GF_CATALOGUE_WALK_MANY(type, name, count) elements(f, #name, name);
    GF_CATALOGUE(GF_CATALOGUE_WALK_ONE, GF_CATALOGUE_WALK_MANY)
#undef GF_CATALOGUE_WALK_ONE
#undef GF_CATALOGUE_WALK_MANY
}

namespace {

// While listing, the loaders only note what they would open.
std::vector<CatalogueFile>* s_listing = nullptr;

ImagePtr placeholder() { return CreateImage(1, 1, 1, -1); }

// An image as the listing records it, with the load state in force.
CatalogueFile listed_image(CatalogueFile::Kind kind, const std::string& path, bool strict, int flags) {
    CatalogueFile f{kind, path, strict};
    f.flags = flags;
    GetMaskColor(f.mask_r, f.mask_g, f.mask_b);
    return f;
}

ImagePtr image(const std::string& path, int flags = -1) {
    if (s_listing) {
        s_listing->push_back(listed_image(CatalogueFile::IMAGE, path, true, flags));
        return placeholder();
    }
    return loadimagep(path, flags);
}

ImagePtr anim(const std::string& path, int cell_w, int cell_h, int cells, int flags = -1) {
    if (s_listing) {
        CatalogueFile f = listed_image(CatalogueFile::ANIM, path, true, flags);
        f.cell_w = cell_w, f.cell_h = cell_h, f.cells = cells;
        s_listing->push_back(f);
        return placeholder();
    }
    return loadanimimagep(path, cell_w, cell_h, 0, cells, flags);
}

// Not checked: a missing file leaves the global empty.
ImagePtr plain_image(const std::string& path) {
    if (s_listing) {
        s_listing->push_back(listed_image(CatalogueFile::IMAGE, path, false, -1));
        return placeholder();
    }
    return LoadImage(path, -1);
}

// Fonts are checked like the images: every screen draws text, and a missing
// font would only fail later, on the first text drawn.
FontPtr font(const std::string& path, int size, int style) {
    if (s_listing) {
        s_listing->push_back({CatalogueFile::FONT, path, true});
        return nullptr;
    }
    return loadfontp(path, size, style);
}

SoundPtr sound(const std::string& path) {
    if (s_listing) {
        s_listing->push_back({CatalogueFile::SOUND, path, false});
        return nullptr;
    }
    return LoadSound(path, 0);
}

void screen(const std::string& text) {
    if (!s_listing) loadscreen(text, 0);
}

std::string num(int i) { return std::to_string(i); }

template <size_t N>
void images(ImagePtr (&out)[N], const std::string& prefix, const std::string& ext, int flags = -1) {
    for (size_t i = 0; i < N; i++) out[i] = image(prefix + num((int)i) + ext, flags);
}

template <size_t N>
void sounds(SoundPtr (&out)[N], const std::string& prefix, const std::string& ext) {
    for (size_t i = 0; i < N; i++) out[i] = sound(prefix + num((int)i) + ext);
}

// Handles computed from the image's own size, halved toward zero.
void handle_bottom(const ImagePtr& img, int above) {
    SetImageHandle(img, (float)(ImageWidth(img) / 2), (float)(ImageHeight(img) - above));
}
void handle_half(const ImagePtr& img) {
    SetImageHandle(img, (float)(ImageWidth(img) / 2), (float)(ImageHeight(img) / 2));
}

void load_fonts() {
    font_main = font("gfx/font_main.ttf", 17, 5);
    font_small = font("gfx/font_main.ttf", 12, 4);
    font_button = font("gfx/font_button.ttf", 25, 4);
    font_title = font("gfx/font_button.ttf", 35, 4);
}

void load_sky_and_water() {
    SetMaskColor(0, 0, 0);
    AutoMidHandle(false);
    gfx_bg = image("gfx/backgradient.bmp");
    gfx_water[0] = image("gfx/waves0.png");
    gfx_clouds = image("gfx/clouds.png");
    images(gfx_bubbles, "gfx/water_bubble", ".png");
    gfx_waterray = image("gfx/water_ray.png");
    SetImageHandle(gfx_waterray, 19, 0);
    gfx_waterimpact = image("gfx/water_impact.png");
    SetImageHandle(gfx_waterimpact, 25, 60);
    gfx_wateranim = anim("gfx/water_animation.png", 128, 128, 8);
}

void load_players_and_effects() {
    gfx_pl = anim("gfx/players/player.bmp", 32, 32, 12);
    gfx_pl_t = anim("gfx/players/playert.bmp", 32, 32, 12);
    gfx_pl_f = anim("gfx/players/playerf.bmp", 32, 32, 12);
    gfx_pl_accessory_head = anim("gfx/players/accessory_head.bmp", 32, 40, 38);
    SetImageHandle(gfx_pl_accessory_head, 16, 20);
    gfx_pl_accessory_body = anim("gfx/players/accessory_body.bmp", 32, 40, 38);
    SetImageHandle(gfx_pl_accessory_body, 16, 20);
    gfx_pl_snorkel = image("gfx/players/snorkel.bmp");
    SetImageHandle(gfx_pl_snorkel, 16, 20);
    gfx_crosshair = image("gfx/crosshair.bmp");
    alphamask(gfx_crosshair, 1, 1);
    gfx_pl_col = image("incbin::incgfx/playercol.bmp");
    gfx_coldot1 = image("incbin::incgfx/coldot1.bmp");
    gfx_coldot2 = image("incbin::incgfx/coldot2.bmp");
    gfx_coldot3 = image("incbin::incgfx/coldot3.bmp");
    gfx_coldot4 = image("incbin::incgfx/coldot4.bmp");
    gfx_coldot5 = image("incbin::incgfx/coldot5.bmp");
    gfx_coldot10 = image("incbin::incgfx/coldot10.bmp");
    gfx_coldot20 = image("incbin::incgfx/coldot20.bmp");
    gfx_coldot30 = image("incbin::incgfx/coldot30.bmp");
    gfx_ring = image("gfx/ring.png");
    gfx_lightray = image("gfx/lightray.png");
    for (int i = 0; i < 4; i++) {
        gfx_puff[i] = image("gfx/puff" + num(i) + ".bmp");
        alphamask(gfx_puff[i], 1, 1);
    }
    images(gfx_par, "gfx/par", ".png");
    images(gfx_flare, "gfx/flare", ".bmp");
    gfx_bullet = image("gfx/bullet.bmp", MASKEDIMAGE);
    images(gfx_expl, "gfx/expl", ".png");
    gfx_explring = image("gfx/explosion_ring.png");
    gfx_fire = image("gfx/fire.png");
    SetImageHandle(gfx_fire, 15, 54);
    images(gfx_dust, "gfx/dust", ".png");
    images(gfx_dirtfall, "gfx/dirtfall", ".png");
}

void load_terrain_modifiers() {
    const std::string m = "gfx/modifiers/";
    gfx_toplight = image(m + "toplight.png", DYNAMICIMAGE);
    gfx_bottomshade = image(m + "bottomshade.png", DYNAMICIMAGE);
    gfx_grass = image(m + "grass.png", DYNAMICIMAGE);
    gfx_desertgrass = image(m + "desertgrass.png", DYNAMICIMAGE);
    gfx_snowgrass = image(m + "snowgrass.png", DYNAMICIMAGE);
    gfx_nograss = image(m + "nograss.png", DYNAMICIMAGE);
    gfx_crater25 = image(m + "crater25.png", DYNAMICIMAGE);
    gfx_crater50 = image(m + "crater50.png", DYNAMICIMAGE);
    gfx_crater75 = image(m + "crater75.png", DYNAMICIMAGE);
    gfx_crater100 = image(m + "crater100.png", DYNAMICIMAGE);
    gfx_crater125 = image(m + "crater125.png", DYNAMICIMAGE);
    gfx_crater150 = image(m + "crater150.png", DYNAMICIMAGE);
    gfx_crater175 = image(m + "crater175.png", DYNAMICIMAGE);
    gfx_crater200 = image(m + "crater200.png", DYNAMICIMAGE);
    // Index i of all three sizes before index i + 1.
    for (int i = 0; i < 3; i++) {
        gfx_blood25[i] = image(m + "blood25_" + num(i) + ".png", DYNAMICIMAGE);
        gfx_blood50[i] = image(m + "blood50_" + num(i) + ".png", DYNAMICIMAGE);
        gfx_blood75[i] = image(m + "blood75_" + num(i) + ".png", DYNAMICIMAGE);
    }
    gfx_drop = image("gfx/drop.png");
    SetImageHandle(gfx_drop, 16, 0);
    images(gfx_dropimpact, m + "dropimpact_", ".png", DYNAMICIMAGE);

    SetMaskColor(0, 0, 0);
    for (int i = 0; i < 19; i++) {
        gfx_meat[i] = image("gfx/splatter/meat" + num(i) + ".bmp");
        SetImageHandle(gfx_meat[i], 16, 16);
    }
    SetMaskColor(255, 0, 255);
}

void load_scenery() {
    const std::string m = "gfx/modifiers/";
    images(gfx_inearth, m + "inearth", ".png", DYNAMICIMAGE);
    for (int i = 0; i < 4; i++) {
        gfx_hassock[i] = image(m + "hassock" + num(i) + ".png", FILTEREDIMAGE);
        handle_bottom(gfx_hassock[i], 4);
    }
    for (int i = 0; i < 6; i++) {
        gfx_foliage[i] = image(m + "foliage" + num(i) + ".png", FILTEREDIMAGE);
        handle_bottom(gfx_foliage[i], 4);
    }
    for (int i = 0; i < 8; i++) {
        gfx_roots[i] = image(m + "root" + num(i) + ".png", FILTEREDIMAGE);
        SetImageHandle(gfx_roots[i], (float)(ImageWidth(gfx_roots[i]) / 2), 2);
    }
    for (int i = 0; i < 3; i++) {
        gfx_reed[i] = image(m + "reed" + num(i) + ".png", FILTEREDIMAGE);
        handle_bottom(gfx_reed[i], 2);
    }
    gfx_treeleaves = image(m + "treeleaves.png", FILTEREDIMAGE);
    images(gfx_branches, "incbin::incgfx/terrain/branches", ".bmp", MASKEDIMAGE | DYNAMICIMAGE);
    images(gfx_rocks, "incbin::incgfx/terrain/rock", ".bmp", MASKEDIMAGE | DYNAMICIMAGE);
}

void load_objects_and_borders() {
    gfx_supply = image("incbin::incgfx/supply.bmp");
    handle_half(gfx_supply);
    gfx_mine = image("incbin::incgfx/mine.bmp");
    SetImageHandle(gfx_mine, 5, 3);
    gfx_beartrap0 = image("incbin::incgfx/beartrap0.bmp");
    SetImageHandle(gfx_beartrap0, 7, 9);
    gfx_beartrap1 = image("incbin::incgfx/beartrap1.bmp");
    SetImageHandle(gfx_beartrap1, 7, 9);
    gfx_medikit = image("incbin::incgfx/medikit.bmp");
    handle_half(gfx_medikit);
    gfx_border_h = image("incbin::incgfx/terrain/bar_h.bmp");
    gfx_border_v = image("incbin::incgfx/terrain/bar_v.bmp");
    gfx_border_d1 = image("incbin::incgfx/terrain/bar_d1.bmp");
    gfx_border_d2 = image("incbin::incgfx/terrain/bar_d2.bmp");
    gfx_border_c = image("incbin::incgfx/terrain/bar_c.bmp");

    AutoMidHandle(true);
    gfx_attention = image("gfx/attention.png");
    AutoMidHandle(false);
}

void load_interface() {
    gfx_title_bigg = image("gfx/title_bigg.png");
    gfx_title_smallf = image("gfx/title_smallf.png");
    gfx_title_bigg_glow = image("gfx/title_bigg_glow.png");
    gfx_title_smallf_glow = image("gfx/title_smallf_glow.png");
    gfx_title_rombat = image("gfx/title_rombat.png");
    gfx_title_raycup = image("gfx/title_raycup.png");
    gfx_qv = image("gfx/quorvanesoftware.png");
    images(gfx_check, "gfx/check", ".png");
    gfx_input = image("gfx/gui_input.png");
    gfx_selectlist = image("gfx/gui_selectlist.png");
    gfx_mbutton = image("gfx/gui_mbutton.png");
    gfx_ping = image("gfx/ping.png");
    gfx_ready = image("gfx/ready.png");
    gfx_storm = image("gfx/gui_storm.png");
    gfx_storm_thingy = anim("gfx/gui_storm_thingy.png", 2, 16, 13);
    gfx_clock = image("gfx/gui_clock.png");
    gfx_healthbar = image("gfx/healthbar.bmp");
    gfx_wpnsel = image("gfx/gui_wpnsel.png");
    gfx_controls = image("gfx/controls.png");
    gfx_arrow = image("gfx/arrow.png");
    MidHandleImage(gfx_arrow);
    gfx_extra = anim("gfx/gui_extra.bmp", 13, 13, 12);
    gfx_editoricon = anim("gfx/gui_editor.bmp", 13, 13, 15);
    gfx_pointer = image("gfx/pointer.png");
    SetImageHandle(gfx_pointer, 4, 4);
    gfx_pointer_click = image("gfx/pointer_click.png");
    SetImageHandle(gfx_pointer_click, 4, 4);
    gfx_pw = image("gfx/gui_pw.bmp");
    gfx_action = image("gfx/action.png");
    gfx_wset = anim("gfx/gui_wset.bmp", 7, 7, 10);
    alphamask(gfx_wset, 10, 1);
    gfx_mbl = image("gfx/gui_mbl.png");
    MidHandleImage(gfx_mbl);
    gfx_mbr = image("gfx/gui_mbr.png");
    MidHandleImage(gfx_mbr);
    gfx_gyes = image("gfx/gui_yes.png");
    MidHandleImage(gfx_gyes);
    gfx_gno = image("gfx/gui_no.png");
    MidHandleImage(gfx_gno);
    gfx_gameender = image("gfx/gui_gameender.png");
    MidHandleImage(gfx_gameender);
    gfx_score = anim("gfx/gui_score.bmp", 14, 18, 3);
    MidHandleImage(gfx_score);

    // A missing main-menu picture simply is not drawn.
    gfx_menu_hotseat = plain_image("gfx/menu_hotseat.png");
    MidHandleImage(gfx_menu_hotseat);
    gfx_menu_host = plain_image("gfx/menu_host.png");
    MidHandleImage(gfx_menu_host);
    gfx_menu_join = plain_image("gfx/menu_join.png");
    MidHandleImage(gfx_menu_join);
    gfx_menu_mission = plain_image("gfx/menu_mission.png");
    MidHandleImage(gfx_menu_mission);

    gfx_load = image("gfx/gui_load.bmp");
    alphamask(gfx_load, 1, 1);
    MidHandleImage(gfx_load);
    gfx_editor_grid = image("gfx/editor_grid.bmp");
    alphamask(gfx_editor_grid, 1, 1);
    gfx_icon_x = image("gfx/icon_x.png");
    gfx_icon_ok = image("gfx/icon_ok.png");
    gfx_icon_weapons = image("gfx/icon_weapons.png");
    MidHandleImage(gfx_icon_weapons);
    gfx_icon_tools = image("gfx/icon_tools.png");
    MidHandleImage(gfx_icon_tools);
    gfx_icon_supply = image("gfx/icon_supply.png");
    MidHandleImage(gfx_icon_supply);
    gfx_icon_medikit = image("gfx/icon_medikit.png");
    MidHandleImage(gfx_icon_medikit);
    gfx_icon_movement = image("gfx/icon_movement.png");
    MidHandleImage(gfx_icon_movement);
    gfx_terrain_style = anim("gfx/terrain_style.bmp", 13, 13, 9);
    gfx_terrain_form = anim("gfx/terrain_form.bmp", 13, 13, 6);
}

// The tile set of shape maps and the editor: rocks, branches, border pieces
// and the built-in tiles 000..016; entries 43..251 stay empty.
void fill_tiles() {
    std::fill(std::begin(gfx_tile), std::end(gfx_tile), nullptr);
    for (int i = 0; i < 9; i++) gfx_tile[i] = gfx_rocks[i];
    for (int i = 0; i < 12; i++) gfx_tile[9 + i] = gfx_branches[i];
    gfx_tile[21] = gfx_border_h;
    gfx_tile[22] = gfx_border_v;
    gfx_tile[23] = gfx_border_d1;
    gfx_tile[24] = gfx_border_d2;
    gfx_tile[25] = gfx_border_c;
    for (int n = 0; n <= 16; n++) {
        gfx_tile[26 + n] = plain_image("incbin::incgfx/tiles/" + zerofill(n, 3) + ".bmp");
        MidHandleImage(gfx_tile[26 + n]);
    }
}

void load_sounds() {
    sounds(sfx_explosion, "sfx/explosion", ".wav");
    sfx_explosionbass0 = sound("sfx/explosionbass0.wav");
    sfx_explosionbass1 = sound("sfx/explosionbass1.wav");
    sfx_firefragment = sound("sfx/firefragment.wav");
    sfx_ric = sound("sfx/ric1.ogg");
    if (s_listing) {
        for (int i = 1; i <= 4; i++) sound("sfx/title" + num(i) + ".ogg");
    } else {
        // One of four title tunes, picked afresh at every start.
        sfx_title = sound("sfx/title" + num(Rand(1, 4)) + ".ogg");
    }
    // The music channel holds the title tune, not playing.
    sfx_musicchan = Cue(sfx_title);
    sounds(sfx_click, "sfx/click", ".wav");
    sfx_wpnsel_fail = sound("sfx/wpnsel_fail.wav");
    sfx_wpnsel_ok = sound("sfx/wpnsel_ok.wav");
    sfx_timeout_tick = sound("sfx/timeout_tick.wav");
    sfx_timeout_over = sound("sfx/timeout_over.wav");
    sfx_tick = sound("sfx/tick.ogg");
    sfx_turn_next = sound("sfx/turn_next.wav");
    sfx_turn_you = sound("sfx/turn_you.wav");
    sfx_turn_roundgong = sound("sfx/roundgong.ogg");
    sfx_stats_done = sound("sfx/stats_done.ogg");
    sounds(sfx_move, "sfx/move", ".ogg");
    sfx_watermove = sound("sfx/waterstep.wav");
    sounds(sfx_fall, "sfx/fall", ".ogg");
    sounds(sfx_hitwater, "sfx/hitwater", ".wav");
    sfx_splish = sound("sfx/splish.ogg");
    sounds(sfx_splatter, "sfx/splatter", ".wav");
    sounds(sfx_meat, "sfx/meat", ".ogg");
    sounds(sfx_burn, "sfx/burn", ".ogg");
    sfx_firehit = sound("sfx/firehit.ogg");
    sfx_steam = sound("sfx/steam.ogg");
    sfx_supplyincoming = sound("sfx/supplyincoming.ogg");
    sfx_supplycollect = sound("sfx/supplycollect.ogg");
    sfx_supplyland = sound("sfx/supplyland.ogg");
    sfx_minebeep = sound("sfx/mine.ogg");
    sfx_bounce = sound("sfx/bounce.wav");
    sfx_beartrap = sound("sfx/beartrap.ogg");
    sfx_v_playerjoined = sound("sfx/voice_playerjoined.ogg");
    sfx_v_playerleft = sound("sfx/voice_playerleft.ogg");
    sfx_v_yourturn = sound("sfx/voice_yourturn.ogg");
    sfx_v_notify = sound("sfx/voice_gfnotify.ogg");
    sfx_end_flood = sound("sfx/quickflood.ogg");
    sfx_end_laser = sound("sfx/superlaser.ogg");
    sfx_mission_death = sound("sfx/missiondeath.ogg");
    sfx_msgbox1 = sound("sfx/msgbox1.ogg");
    sfx_msgbox2 = sound("sfx/msgbox2.ogg");
}

void load_all() {
    load_fonts();
    // Drawn with font_main, just loaded; the spinning mark comes later.
    screen("Loading Graphics");
    load_sky_and_water();
    SetMaskColor(255, 0, 255);
    AutoMidHandle(true);
    load_players_and_effects();
    load_terrain_modifiers();
    load_scenery();
    load_objects_and_borders();
    load_interface();
    fill_tiles();
    screen("Loading Sounds");
    load_sounds();
    // The listing loads nothing, so the particles it would drop stay.
    if (!s_listing) particles_clear();
}

}  // namespace

int catalogue_load() {
    load_all();
    return 0;
}

void catalogue_free() {
    each_global([](const std::string&, auto& g) { g = nullptr; });
}

std::vector<std::string> catalogue_empty() {
    std::vector<std::string> names;
    each_global([&](const std::string& name, auto& g) {
        if (!g) names.push_back(name);
    });
    return names;
}

std::vector<CatalogueFile> catalogue_files() {
    // The listing runs the real load code, so everything it touches is put back.
    std::vector<std::shared_ptr<void>> saved;
    each_global([&](const std::string&, auto& g) {
        saved.push_back(std::move(g));
        g = nullptr;
    });
    int r, g, b;
    GetMaskColor(r, g, b);
    bool mid = AutoMidHandleOn();

    std::vector<CatalogueFile> files;
    s_listing = &files;
    load_all();
    s_listing = nullptr;

    size_t at = 0;
    each_global([&](const std::string&, auto& global) {
        using T = typename std::remove_reference_t<decltype(global)>::element_type;
        global = std::static_pointer_cast<T>(saved[at++]);
    });
    SetMaskColor(r, g, b);
    AutoMidHandle(mid);
    return files;
}
