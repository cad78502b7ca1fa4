// Resource catalogue: the fonts, images and sounds loaded at start-up into
// program-wide globals, in one fixed order (catalogue_load).
#pragma once

#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/draw.h"
#include "platform/image.h"

extern FontPtr font_main;
extern FontPtr font_small;
extern FontPtr font_button;
extern FontPtr font_title;
extern ImagePtr gfx_load;
extern ImagePtr gfx_bg;
extern ImagePtr gfx_water[1];
extern ImagePtr gfx_clouds;
extern ImagePtr gfx_bubbles[3];
extern ImagePtr gfx_waterray;
extern ImagePtr gfx_waterimpact;
extern ImagePtr gfx_wateranim;
extern ImagePtr gfx_pl;
extern ImagePtr gfx_pl_t;
extern ImagePtr gfx_pl_f;
extern ImagePtr gfx_pl_accessory_head;
extern ImagePtr gfx_pl_accessory_body;
extern ImagePtr gfx_pl_snorkel;
extern ImagePtr gfx_crosshair;
extern ImagePtr gfx_pl_col;
extern ImagePtr gfx_coldot1;
extern ImagePtr gfx_coldot2;
extern ImagePtr gfx_coldot3;
extern ImagePtr gfx_coldot4;
extern ImagePtr gfx_coldot5;
extern ImagePtr gfx_coldot10;
extern ImagePtr gfx_coldot20;
extern ImagePtr gfx_coldot30;
extern ImagePtr gfx_ring;
extern ImagePtr gfx_lightray;
extern ImagePtr gfx_puff[4];
extern ImagePtr gfx_par[4];
extern ImagePtr gfx_flare[3];
extern ImagePtr gfx_bullet;
extern ImagePtr gfx_expl[1];
extern ImagePtr gfx_explring;
extern ImagePtr gfx_fire;
extern ImagePtr gfx_dust[5];
extern ImagePtr gfx_dirtfall[1];
extern ImagePtr gfx_toplight;
extern ImagePtr gfx_bottomshade;
extern ImagePtr gfx_grass;
extern ImagePtr gfx_desertgrass;
extern ImagePtr gfx_snowgrass;
extern ImagePtr gfx_nograss;
extern ImagePtr gfx_crater25;
extern ImagePtr gfx_crater50;
extern ImagePtr gfx_crater75;
extern ImagePtr gfx_crater100;
extern ImagePtr gfx_crater125;
extern ImagePtr gfx_crater150;
extern ImagePtr gfx_crater175;
extern ImagePtr gfx_crater200;
extern ImagePtr gfx_blood25[3];
extern ImagePtr gfx_blood50[3];
extern ImagePtr gfx_blood75[3];
extern ImagePtr gfx_drop;
extern ImagePtr gfx_dropimpact[16];
extern ImagePtr gfx_meat[19];
extern ImagePtr gfx_inearth[16];
extern ImagePtr gfx_hassock[4];
extern ImagePtr gfx_foliage[6];
extern ImagePtr gfx_roots[8];
extern ImagePtr gfx_reed[3];
extern ImagePtr gfx_treeleaves;
extern ImagePtr gfx_branches[12];
extern ImagePtr gfx_rocks[9];
extern ImagePtr gfx_supply;
extern ImagePtr gfx_mine;
extern ImagePtr gfx_beartrap0;
extern ImagePtr gfx_beartrap1;
extern ImagePtr gfx_medikit;
extern ImagePtr gfx_border_h;
extern ImagePtr gfx_border_v;
extern ImagePtr gfx_border_d1;
extern ImagePtr gfx_border_d2;
extern ImagePtr gfx_border_c;
extern ImagePtr gfx_attention;
extern ImagePtr gfx_title_bigg;
extern ImagePtr gfx_title_smallf;
extern ImagePtr gfx_title_bigg_glow;
extern ImagePtr gfx_title_smallf_glow;
extern ImagePtr gfx_title_rombat;
extern ImagePtr gfx_title_raycup;
extern ImagePtr gfx_qv;
extern ImagePtr gfx_check[2];
extern ImagePtr gfx_input;
extern ImagePtr gfx_selectlist;
extern ImagePtr gfx_mbutton;
extern ImagePtr gfx_ping;
extern ImagePtr gfx_ready;
extern ImagePtr gfx_storm;
extern ImagePtr gfx_storm_thingy;
extern ImagePtr gfx_clock;
extern ImagePtr gfx_healthbar;
extern ImagePtr gfx_wpnsel;
extern ImagePtr gfx_controls;
extern ImagePtr gfx_arrow;
extern ImagePtr gfx_extra;
extern ImagePtr gfx_editoricon;
extern ImagePtr gfx_pointer;
extern ImagePtr gfx_pointer_click;
extern ImagePtr gfx_pw;
extern ImagePtr gfx_action;
extern ImagePtr gfx_wset;
extern ImagePtr gfx_mbl;
extern ImagePtr gfx_mbr;
extern ImagePtr gfx_gyes;
extern ImagePtr gfx_gno;
extern ImagePtr gfx_gameender;
extern ImagePtr gfx_score;
extern ImagePtr gfx_menu_hotseat;
extern ImagePtr gfx_menu_host;
extern ImagePtr gfx_menu_join;
extern ImagePtr gfx_menu_mission;
extern ImagePtr gfx_editor_grid;
extern ImagePtr gfx_icon_x;
extern ImagePtr gfx_icon_ok;
extern ImagePtr gfx_icon_weapons;
extern ImagePtr gfx_icon_tools;
extern ImagePtr gfx_icon_supply;
extern ImagePtr gfx_icon_medikit;
extern ImagePtr gfx_icon_movement;
extern ImagePtr gfx_terrain_style;
extern ImagePtr gfx_terrain_form;
extern ImagePtr gfx_tile[252];
extern SoundPtr sfx_explosion[7];
extern SoundPtr sfx_explosionbass0;
extern SoundPtr sfx_explosionbass1;
extern SoundPtr sfx_firefragment;
extern SoundPtr sfx_ric;
extern SoundPtr sfx_title;
extern ChannelPtr sfx_musicchan;
extern SoundPtr sfx_click[2];
extern SoundPtr sfx_wpnsel_fail;
extern SoundPtr sfx_wpnsel_ok;
extern SoundPtr sfx_timeout_tick;
extern SoundPtr sfx_timeout_over;
extern SoundPtr sfx_tick;
extern SoundPtr sfx_turn_next;
extern SoundPtr sfx_turn_you;
extern SoundPtr sfx_turn_roundgong;
extern SoundPtr sfx_stats_done;
extern SoundPtr sfx_move[3];
extern SoundPtr sfx_watermove;
extern SoundPtr sfx_fall[4];
extern SoundPtr sfx_hitwater[5];
extern SoundPtr sfx_splish;
extern SoundPtr sfx_splatter[5];
extern SoundPtr sfx_meat[8];
extern SoundPtr sfx_burn[3];
extern SoundPtr sfx_firehit;
extern SoundPtr sfx_steam;
extern SoundPtr sfx_supplyincoming;
extern SoundPtr sfx_supplycollect;
extern SoundPtr sfx_supplyland;
extern SoundPtr sfx_minebeep;
extern SoundPtr sfx_bounce;
extern SoundPtr sfx_beartrap;
extern SoundPtr sfx_v_playerjoined;
extern SoundPtr sfx_v_playerleft;
extern SoundPtr sfx_v_yourturn;
extern SoundPtr sfx_v_notify;
extern SoundPtr sfx_end_flood;
extern SoundPtr sfx_end_laser;
extern SoundPtr sfx_mission_death;
extern SoundPtr sfx_msgbox1;
extern SoundPtr sfx_msgbox2;

// Loads everything in catalogue order under the two load screens; images
// and fonts that cannot be loaded end the program through the strict loaders.
// Also gives the three particle layers new empty lists.
int catalogue_load();

// Empties every global above (tests load the catalogue more than once).
void catalogue_free();
// The names of the globals above that hold nothing ("gfx_tile[43]", ...).
std::vector<std::string> catalogue_empty();

// One file that catalogue_load opens.
struct CatalogueFile {
    enum Kind { IMAGE, ANIM, FONT, SOUND } kind;
    std::string path;      // as passed to the loader ("incbin::" for built-ins)
    bool strict;           // a missing file ends the program
    int cell_w = 0, cell_h = 0, cells = 0;   // ANIM: the strip's cells
};
// Every file catalogue_load opens, in load order, without loading anything.
// All four title tunes are listed, although a start loads one of them.
std::vector<CatalogueFile> catalogue_files();
