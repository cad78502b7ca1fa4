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

FontPtr font_main;
FontPtr font_small;
FontPtr font_button;
FontPtr font_title;
ImagePtr gfx_load;
ImagePtr gfx_bg;
ImagePtr gfx_water[1];
ImagePtr gfx_clouds;
ImagePtr gfx_bubbles[3];
ImagePtr gfx_waterray;
ImagePtr gfx_waterimpact;
ImagePtr gfx_wateranim;
ImagePtr gfx_pl;
ImagePtr gfx_pl_t;
ImagePtr gfx_pl_f;
ImagePtr gfx_pl_accessory_head;
ImagePtr gfx_pl_accessory_body;
ImagePtr gfx_pl_snorkel;
ImagePtr gfx_crosshair;
ImagePtr gfx_pl_col;
ImagePtr gfx_coldot1;
ImagePtr gfx_coldot2;
ImagePtr gfx_coldot3;
ImagePtr gfx_coldot4;
ImagePtr gfx_coldot5;
ImagePtr gfx_coldot10;
ImagePtr gfx_coldot20;
ImagePtr gfx_coldot30;
ImagePtr gfx_ring;
ImagePtr gfx_lightray;
ImagePtr gfx_puff[4];
ImagePtr gfx_par[4];
ImagePtr gfx_flare[3];
ImagePtr gfx_bullet;
ImagePtr gfx_expl[1];
ImagePtr gfx_explring;
ImagePtr gfx_fire;
ImagePtr gfx_dust[5];
ImagePtr gfx_dirtfall[1];
ImagePtr gfx_toplight;
ImagePtr gfx_bottomshade;
ImagePtr gfx_grass;
ImagePtr gfx_desertgrass;
ImagePtr gfx_snowgrass;
ImagePtr gfx_nograss;
ImagePtr gfx_crater25;
ImagePtr gfx_crater50;
ImagePtr gfx_crater75;
ImagePtr gfx_crater100;
ImagePtr gfx_crater125;
ImagePtr gfx_crater150;
ImagePtr gfx_crater175;
ImagePtr gfx_crater200;
ImagePtr gfx_blood25[3];
ImagePtr gfx_blood50[3];
ImagePtr gfx_blood75[3];
ImagePtr gfx_drop;
ImagePtr gfx_dropimpact[16];
ImagePtr gfx_meat[19];
ImagePtr gfx_inearth[16];
ImagePtr gfx_hassock[4];
ImagePtr gfx_foliage[6];
ImagePtr gfx_roots[8];
ImagePtr gfx_reed[3];
ImagePtr gfx_treeleaves;
ImagePtr gfx_branches[12];
ImagePtr gfx_rocks[9];
ImagePtr gfx_supply;
ImagePtr gfx_mine;
ImagePtr gfx_beartrap0;
ImagePtr gfx_beartrap1;
ImagePtr gfx_medikit;
ImagePtr gfx_border_h;
ImagePtr gfx_border_v;
ImagePtr gfx_border_d1;
ImagePtr gfx_border_d2;
ImagePtr gfx_border_c;
ImagePtr gfx_attention;
ImagePtr gfx_title_bigg;
ImagePtr gfx_title_smallf;
ImagePtr gfx_title_bigg_glow;
ImagePtr gfx_title_smallf_glow;
ImagePtr gfx_title_rombat;
ImagePtr gfx_title_raycup;
ImagePtr gfx_qv;
ImagePtr gfx_check[2];
ImagePtr gfx_input;
ImagePtr gfx_selectlist;
ImagePtr gfx_mbutton;
ImagePtr gfx_ping;
ImagePtr gfx_ready;
ImagePtr gfx_storm;
ImagePtr gfx_storm_thingy;
ImagePtr gfx_clock;
ImagePtr gfx_healthbar;
ImagePtr gfx_wpnsel;
ImagePtr gfx_controls;
ImagePtr gfx_arrow;
ImagePtr gfx_extra;
ImagePtr gfx_editoricon;
ImagePtr gfx_pointer;
ImagePtr gfx_pointer_click;
ImagePtr gfx_pw;
ImagePtr gfx_action;
ImagePtr gfx_wset;
ImagePtr gfx_mbl;
ImagePtr gfx_mbr;
ImagePtr gfx_gyes;
ImagePtr gfx_gno;
ImagePtr gfx_gameender;
ImagePtr gfx_score;
ImagePtr gfx_menu_hotseat;
ImagePtr gfx_menu_host;
ImagePtr gfx_menu_join;
ImagePtr gfx_menu_mission;
ImagePtr gfx_editor_grid;
ImagePtr gfx_icon_x;
ImagePtr gfx_icon_ok;
ImagePtr gfx_icon_weapons;
ImagePtr gfx_icon_tools;
ImagePtr gfx_icon_supply;
ImagePtr gfx_icon_medikit;
ImagePtr gfx_icon_movement;
ImagePtr gfx_terrain_style;
ImagePtr gfx_terrain_form;
ImagePtr gfx_tile[252];
SoundPtr sfx_explosion[7];
SoundPtr sfx_explosionbass0;
SoundPtr sfx_explosionbass1;
SoundPtr sfx_firefragment;
SoundPtr sfx_ric;
SoundPtr sfx_title;
ChannelPtr sfx_musicchan;
SoundPtr sfx_click[2];
SoundPtr sfx_wpnsel_fail;
SoundPtr sfx_wpnsel_ok;
SoundPtr sfx_timeout_tick;
SoundPtr sfx_timeout_over;
SoundPtr sfx_tick;
SoundPtr sfx_turn_next;
SoundPtr sfx_turn_you;
SoundPtr sfx_turn_roundgong;
SoundPtr sfx_stats_done;
SoundPtr sfx_move[3];
SoundPtr sfx_watermove;
SoundPtr sfx_fall[4];
SoundPtr sfx_hitwater[5];
SoundPtr sfx_splish;
SoundPtr sfx_splatter[5];
SoundPtr sfx_meat[8];
SoundPtr sfx_burn[3];
SoundPtr sfx_firehit;
SoundPtr sfx_steam;
SoundPtr sfx_supplyincoming;
SoundPtr sfx_supplycollect;
SoundPtr sfx_supplyland;
SoundPtr sfx_minebeep;
SoundPtr sfx_bounce;
SoundPtr sfx_beartrap;
SoundPtr sfx_v_playerjoined;
SoundPtr sfx_v_playerleft;
SoundPtr sfx_v_yourturn;
SoundPtr sfx_v_notify;
SoundPtr sfx_end_flood;
SoundPtr sfx_end_laser;
SoundPtr sfx_mission_death;
SoundPtr sfx_msgbox1;
SoundPtr sfx_msgbox2;

// Calls f("name[i]", name[i]) on every element of an array of globals.
template <class F, class T, size_t N>
void elements(F& f, const char* name, T (&array)[N]) {
    for (size_t i = 0; i < N; i++) f(std::string(name) + "[" + std::to_string(i) + "]", array[i]);
}

// Calls f(name, global) on every global above, array elements included.
template <class F>
void each_global(F f) {
    f("font_main", font_main);
    f("font_small", font_small);
    f("font_button", font_button);
    f("font_title", font_title);
    f("gfx_load", gfx_load);
    f("gfx_bg", gfx_bg);
    elements(f, "gfx_water", gfx_water);
    f("gfx_clouds", gfx_clouds);
    elements(f, "gfx_bubbles", gfx_bubbles);
    f("gfx_waterray", gfx_waterray);
    f("gfx_waterimpact", gfx_waterimpact);
    f("gfx_wateranim", gfx_wateranim);
    f("gfx_pl", gfx_pl);
    f("gfx_pl_t", gfx_pl_t);
    f("gfx_pl_f", gfx_pl_f);
    f("gfx_pl_accessory_head", gfx_pl_accessory_head);
    f("gfx_pl_accessory_body", gfx_pl_accessory_body);
    f("gfx_pl_snorkel", gfx_pl_snorkel);
    f("gfx_crosshair", gfx_crosshair);
    f("gfx_pl_col", gfx_pl_col);
    f("gfx_coldot1", gfx_coldot1);
    f("gfx_coldot2", gfx_coldot2);
    f("gfx_coldot3", gfx_coldot3);
    f("gfx_coldot4", gfx_coldot4);
    f("gfx_coldot5", gfx_coldot5);
    f("gfx_coldot10", gfx_coldot10);
    f("gfx_coldot20", gfx_coldot20);
    f("gfx_coldot30", gfx_coldot30);
    f("gfx_ring", gfx_ring);
    f("gfx_lightray", gfx_lightray);
    elements(f, "gfx_puff", gfx_puff);
    elements(f, "gfx_par", gfx_par);
    elements(f, "gfx_flare", gfx_flare);
    f("gfx_bullet", gfx_bullet);
    elements(f, "gfx_expl", gfx_expl);
    f("gfx_explring", gfx_explring);
    f("gfx_fire", gfx_fire);
    elements(f, "gfx_dust", gfx_dust);
    elements(f, "gfx_dirtfall", gfx_dirtfall);
    f("gfx_toplight", gfx_toplight);
    f("gfx_bottomshade", gfx_bottomshade);
    f("gfx_grass", gfx_grass);
    f("gfx_desertgrass", gfx_desertgrass);
    f("gfx_snowgrass", gfx_snowgrass);
    f("gfx_nograss", gfx_nograss);
    f("gfx_crater25", gfx_crater25);
    f("gfx_crater50", gfx_crater50);
    f("gfx_crater75", gfx_crater75);
    f("gfx_crater100", gfx_crater100);
    f("gfx_crater125", gfx_crater125);
    f("gfx_crater150", gfx_crater150);
    f("gfx_crater175", gfx_crater175);
    f("gfx_crater200", gfx_crater200);
    elements(f, "gfx_blood25", gfx_blood25);
    elements(f, "gfx_blood50", gfx_blood50);
    elements(f, "gfx_blood75", gfx_blood75);
    f("gfx_drop", gfx_drop);
    elements(f, "gfx_dropimpact", gfx_dropimpact);
    elements(f, "gfx_meat", gfx_meat);
    elements(f, "gfx_inearth", gfx_inearth);
    elements(f, "gfx_hassock", gfx_hassock);
    elements(f, "gfx_foliage", gfx_foliage);
    elements(f, "gfx_roots", gfx_roots);
    elements(f, "gfx_reed", gfx_reed);
    f("gfx_treeleaves", gfx_treeleaves);
    elements(f, "gfx_branches", gfx_branches);
    elements(f, "gfx_rocks", gfx_rocks);
    f("gfx_supply", gfx_supply);
    f("gfx_mine", gfx_mine);
    f("gfx_beartrap0", gfx_beartrap0);
    f("gfx_beartrap1", gfx_beartrap1);
    f("gfx_medikit", gfx_medikit);
    f("gfx_border_h", gfx_border_h);
    f("gfx_border_v", gfx_border_v);
    f("gfx_border_d1", gfx_border_d1);
    f("gfx_border_d2", gfx_border_d2);
    f("gfx_border_c", gfx_border_c);
    f("gfx_attention", gfx_attention);
    f("gfx_title_bigg", gfx_title_bigg);
    f("gfx_title_smallf", gfx_title_smallf);
    f("gfx_title_bigg_glow", gfx_title_bigg_glow);
    f("gfx_title_smallf_glow", gfx_title_smallf_glow);
    f("gfx_title_rombat", gfx_title_rombat);
    f("gfx_title_raycup", gfx_title_raycup);
    f("gfx_qv", gfx_qv);
    elements(f, "gfx_check", gfx_check);
    f("gfx_input", gfx_input);
    f("gfx_selectlist", gfx_selectlist);
    f("gfx_mbutton", gfx_mbutton);
    f("gfx_ping", gfx_ping);
    f("gfx_ready", gfx_ready);
    f("gfx_storm", gfx_storm);
    f("gfx_storm_thingy", gfx_storm_thingy);
    f("gfx_clock", gfx_clock);
    f("gfx_healthbar", gfx_healthbar);
    f("gfx_wpnsel", gfx_wpnsel);
    f("gfx_controls", gfx_controls);
    f("gfx_arrow", gfx_arrow);
    f("gfx_extra", gfx_extra);
    f("gfx_editoricon", gfx_editoricon);
    f("gfx_pointer", gfx_pointer);
    f("gfx_pointer_click", gfx_pointer_click);
    f("gfx_pw", gfx_pw);
    f("gfx_action", gfx_action);
    f("gfx_wset", gfx_wset);
    f("gfx_mbl", gfx_mbl);
    f("gfx_mbr", gfx_mbr);
    f("gfx_gyes", gfx_gyes);
    f("gfx_gno", gfx_gno);
    f("gfx_gameender", gfx_gameender);
    f("gfx_score", gfx_score);
    f("gfx_menu_hotseat", gfx_menu_hotseat);
    f("gfx_menu_host", gfx_menu_host);
    f("gfx_menu_join", gfx_menu_join);
    f("gfx_menu_mission", gfx_menu_mission);
    f("gfx_editor_grid", gfx_editor_grid);
    f("gfx_icon_x", gfx_icon_x);
    f("gfx_icon_ok", gfx_icon_ok);
    f("gfx_icon_weapons", gfx_icon_weapons);
    f("gfx_icon_tools", gfx_icon_tools);
    f("gfx_icon_supply", gfx_icon_supply);
    f("gfx_icon_medikit", gfx_icon_medikit);
    f("gfx_icon_movement", gfx_icon_movement);
    f("gfx_terrain_style", gfx_terrain_style);
    f("gfx_terrain_form", gfx_terrain_form);
    elements(f, "gfx_tile", gfx_tile);
    elements(f, "sfx_explosion", sfx_explosion);
    f("sfx_explosionbass0", sfx_explosionbass0);
    f("sfx_explosionbass1", sfx_explosionbass1);
    f("sfx_firefragment", sfx_firefragment);
    f("sfx_ric", sfx_ric);
    f("sfx_title", sfx_title);
    f("sfx_musicchan", sfx_musicchan);
    elements(f, "sfx_click", sfx_click);
    f("sfx_wpnsel_fail", sfx_wpnsel_fail);
    f("sfx_wpnsel_ok", sfx_wpnsel_ok);
    f("sfx_timeout_tick", sfx_timeout_tick);
    f("sfx_timeout_over", sfx_timeout_over);
    f("sfx_tick", sfx_tick);
    f("sfx_turn_next", sfx_turn_next);
    f("sfx_turn_you", sfx_turn_you);
    f("sfx_turn_roundgong", sfx_turn_roundgong);
    f("sfx_stats_done", sfx_stats_done);
    elements(f, "sfx_move", sfx_move);
    f("sfx_watermove", sfx_watermove);
    elements(f, "sfx_fall", sfx_fall);
    elements(f, "sfx_hitwater", sfx_hitwater);
    f("sfx_splish", sfx_splish);
    elements(f, "sfx_splatter", sfx_splatter);
    elements(f, "sfx_meat", sfx_meat);
    elements(f, "sfx_burn", sfx_burn);
    f("sfx_firehit", sfx_firehit);
    f("sfx_steam", sfx_steam);
    f("sfx_supplyincoming", sfx_supplyincoming);
    f("sfx_supplycollect", sfx_supplycollect);
    f("sfx_supplyland", sfx_supplyland);
    f("sfx_minebeep", sfx_minebeep);
    f("sfx_bounce", sfx_bounce);
    f("sfx_beartrap", sfx_beartrap);
    f("sfx_v_playerjoined", sfx_v_playerjoined);
    f("sfx_v_playerleft", sfx_v_playerleft);
    f("sfx_v_yourturn", sfx_v_yourturn);
    f("sfx_v_notify", sfx_v_notify);
    f("sfx_end_flood", sfx_end_flood);
    f("sfx_end_laser", sfx_end_laser);
    f("sfx_mission_death", sfx_mission_death);
    f("sfx_msgbox1", sfx_msgbox1);
    f("sfx_msgbox2", sfx_msgbox2);
}

namespace {

// While listing, the loaders only note what they would open.
std::vector<CatalogueFile>* g_listing = nullptr;

ImagePtr placeholder() { return CreateImage(1, 1, 1, -1); }

ImagePtr image(const std::string& path, int flags = -1) {
    if (g_listing) {
        g_listing->push_back({CatalogueFile::IMAGE, path, true});
        return placeholder();
    }
    return loadimagep(path, flags);
}

ImagePtr anim(const std::string& path, int cell_w, int cell_h, int cells, int flags = -1) {
    if (g_listing) {
        g_listing->push_back({CatalogueFile::ANIM, path, true, cell_w, cell_h, cells});
        return placeholder();
    }
    return loadanimimagep(path, cell_w, cell_h, 0, cells, flags);
}

// Not checked: a missing file leaves the global empty.
ImagePtr plain_image(const std::string& path) {
    if (g_listing) {
        g_listing->push_back({CatalogueFile::IMAGE, path, false});
        return placeholder();
    }
    return LoadImage(path, -1);
}

// Fonts are checked like the images: every screen draws text, and a missing
// font would only fail later, on the first text drawn.
FontPtr font(const std::string& path, int size, int style) {
    if (g_listing) {
        g_listing->push_back({CatalogueFile::FONT, path, true});
        return nullptr;
    }
    return loadfontp(path, size, style);
}

SoundPtr sound(const std::string& path) {
    if (g_listing) {
        g_listing->push_back({CatalogueFile::SOUND, path, false});
        return nullptr;
    }
    return LoadSound(path, 0);
}

void screen(const std::string& text) {
    if (!g_listing) loadscreen(text, 0);
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
    if (g_listing) {
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
    if (!g_listing) particles_clear();
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
    g_listing = &files;
    load_all();
    g_listing = nullptr;

    size_t at = 0;
    each_global([&](const std::string&, auto& global) {
        using T = typename std::remove_reference_t<decltype(global)>::element_type;
        global = std::static_pointer_cast<T>(saved[at++]);
    });
    SetMaskColor(r, g, b);
    AutoMidHandle(mid);
    return files;
}
