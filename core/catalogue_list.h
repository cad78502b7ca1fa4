// The catalogue: every font, image, sound and channel that start-up loads into
// a program-wide global, in load order, each written once with its file, its
// cells, its image flags and the handle or mask step applied after loading.
//
// The load order is part of the behaviour: the load state (mask colour,
// automatic centre handle) in force when an image loads applies to it, and a
// missing checked file ends the program at its row. STATE rows change that
// state between loads.
//
// GF_CATALOGUE(FONT, IMAGE, PLAIN, ANIM, IMAGES, SOUND, SOUNDS, CUSTOM1,
// CUSTOMN, STATE) calls one macro per row:
//   FONT(name, path, size, style)
//   IMAGE(name, path, flags, after)          checked: a missing file ends the program
//   PLAIN(name, path, after)                 unchecked: a missing file leaves it empty
//   ANIM(name, path, cell_w, cell_h, cells, flags, after)
//   IMAGES(name, count, prefix, ext, flags, after)   name[i] from prefix + i + ext
//   SOUND(name, path)
//   SOUNDS(name, count, prefix, ext)
//   CUSTOM1(type, name, load), CUSTOMN(type, name, count, load)   loaded by a step of its own
//   STATE(step)                              a change of the load state
// Flags -1 take the default image flags; `after` is applied to every image
// the row loads. The steps and `after` functions live in catalogue.cpp;
// catalogue.h declares the globals from this list (GF_CATALOGUE_GLOBALS),
// catalogue.cpp defines them, walks them and loads them from it, and
// catalogue_files() lists the files for the asset generator and its test.
#pragma once

// clang-format off
#define GF_CATALOGUE(FONT, IMAGE, PLAIN, ANIM, IMAGES, SOUND, SOUNDS, CUSTOM1, CUSTOMN, STATE) \
    FONT(font_main, "gfx/font_main.ttf", 17, 5) \
    FONT(font_small, "gfx/font_main.ttf", 12, 4) \
    FONT(font_button, "gfx/font_button.ttf", 25, 4) \
    FONT(font_title, "gfx/font_button.ttf", 35, 4) \
    /* Drawn with font_main, just loaded; the spinning mark comes later. */ \
    STATE(screen_graphics) \
    /* Sky and water: mask black, no automatic centre handle. */ \
    STATE(mask_black) \
    STATE(automid_off) \
    IMAGE(gfx_bg, "gfx/backgradient.bmp", -1, none) \
    IMAGES(gfx_water, 1, "gfx/waves", ".png", -1, none) \
    IMAGE(gfx_clouds, "gfx/clouds.png", -1, none) \
    IMAGES(gfx_bubbles, 3, "gfx/water_bubble", ".png", -1, none) \
    IMAGE(gfx_waterray, "gfx/water_ray.png", -1, at(19, 0)) \
    IMAGE(gfx_waterimpact, "gfx/water_impact.png", -1, at(25, 60)) \
    ANIM(gfx_wateranim, "gfx/water_animation.png", 128, 128, 8, -1, none) \
    /* Players and effects: magenta from here on, centre handles on. */ \
    STATE(mask_magenta) \
    STATE(automid_on) \
    ANIM(gfx_pl, "gfx/players/player.bmp", 32, 32, 12, -1, none) \
    ANIM(gfx_pl_t, "gfx/players/playert.bmp", 32, 32, 12, -1, none) \
    ANIM(gfx_pl_f, "gfx/players/playerf.bmp", 32, 32, 12, -1, none) \
    ANIM(gfx_pl_accessory_head, "gfx/players/accessory_head.bmp", 32, 40, 38, -1, at(16, 20)) \
    ANIM(gfx_pl_accessory_body, "gfx/players/accessory_body.bmp", 32, 40, 38, -1, at(16, 20)) \
    IMAGE(gfx_pl_snorkel, "gfx/players/snorkel.bmp", -1, at(16, 20)) \
    IMAGE(gfx_crosshair, "gfx/crosshair.bmp", -1, grey_alpha) \
    IMAGE(gfx_pl_col, "incbin::incgfx/playercol.bmp", -1, none) \
    IMAGE(gfx_coldot1, "incbin::incgfx/coldot1.bmp", -1, none) \
    IMAGE(gfx_coldot2, "incbin::incgfx/coldot2.bmp", -1, none) \
    IMAGE(gfx_coldot3, "incbin::incgfx/coldot3.bmp", -1, none) \
    IMAGE(gfx_coldot4, "incbin::incgfx/coldot4.bmp", -1, none) \
    IMAGE(gfx_coldot5, "incbin::incgfx/coldot5.bmp", -1, none) \
    IMAGE(gfx_coldot10, "incbin::incgfx/coldot10.bmp", -1, none) \
    IMAGE(gfx_coldot20, "incbin::incgfx/coldot20.bmp", -1, none) \
    IMAGE(gfx_coldot30, "incbin::incgfx/coldot30.bmp", -1, none) \
    IMAGE(gfx_ring, "gfx/ring.png", -1, none) \
    IMAGE(gfx_lightray, "gfx/lightray.png", -1, none) \
    IMAGES(gfx_puff, 4, "gfx/puff", ".bmp", -1, grey_alpha) \
    IMAGES(gfx_par, 4, "gfx/par", ".png", -1, none) \
    IMAGES(gfx_flare, 3, "gfx/flare", ".bmp", -1, none) \
    IMAGE(gfx_bullet, "gfx/bullet.bmp", MASKEDIMAGE, none) \
    IMAGES(gfx_expl, 1, "gfx/expl", ".png", -1, none) \
    IMAGE(gfx_explring, "gfx/explosion_ring.png", -1, none) \
    IMAGE(gfx_fire, "gfx/fire.png", -1, at(15, 54)) \
    IMAGES(gfx_dust, 5, "gfx/dust", ".png", -1, none) \
    IMAGES(gfx_dirtfall, 1, "gfx/dirtfall", ".png", -1, none) \
    /* Terrain modifiers: the texturer draws into them. */ \
    IMAGE(gfx_toplight, "gfx/modifiers/toplight.png", DYNAMICIMAGE, none) \
    IMAGE(gfx_bottomshade, "gfx/modifiers/bottomshade.png", DYNAMICIMAGE, none) \
    IMAGE(gfx_grass, "gfx/modifiers/grass.png", DYNAMICIMAGE, none) \
    IMAGE(gfx_desertgrass, "gfx/modifiers/desertgrass.png", DYNAMICIMAGE, none) \
    IMAGE(gfx_snowgrass, "gfx/modifiers/snowgrass.png", DYNAMICIMAGE, none) \
    IMAGE(gfx_nograss, "gfx/modifiers/nograss.png", DYNAMICIMAGE, none) \
    IMAGE(gfx_crater25, "gfx/modifiers/crater25.png", DYNAMICIMAGE, none) \
    IMAGE(gfx_crater50, "gfx/modifiers/crater50.png", DYNAMICIMAGE, none) \
    IMAGE(gfx_crater75, "gfx/modifiers/crater75.png", DYNAMICIMAGE, none) \
    IMAGE(gfx_crater100, "gfx/modifiers/crater100.png", DYNAMICIMAGE, none) \
    IMAGE(gfx_crater125, "gfx/modifiers/crater125.png", DYNAMICIMAGE, none) \
    IMAGE(gfx_crater150, "gfx/modifiers/crater150.png", DYNAMICIMAGE, none) \
    IMAGE(gfx_crater175, "gfx/modifiers/crater175.png", DYNAMICIMAGE, none) \
    IMAGE(gfx_crater200, "gfx/modifiers/crater200.png", DYNAMICIMAGE, none) \
    /* Index i of all three sizes before index i + 1. */ \
    CUSTOMN(ImagePtr, gfx_blood25, 3, load_blood) \
    CUSTOMN(ImagePtr, gfx_blood50, 3, loaded_with_blood25) \
    CUSTOMN(ImagePtr, gfx_blood75, 3, loaded_with_blood25) \
    IMAGE(gfx_drop, "gfx/drop.png", -1, at(16, 0)) \
    IMAGES(gfx_dropimpact, 16, "gfx/modifiers/dropimpact_", ".png", DYNAMICIMAGE, none) \
    STATE(mask_black) \
    IMAGES(gfx_meat, 19, "gfx/splatter/meat", ".bmp", -1, at(16, 16)) \
    STATE(mask_magenta) \
    /* Scenery. */ \
    IMAGES(gfx_inearth, 16, "gfx/modifiers/inearth", ".png", DYNAMICIMAGE, none) \
    IMAGES(gfx_hassock, 4, "gfx/modifiers/hassock", ".png", FILTEREDIMAGE, bottom4) \
    IMAGES(gfx_foliage, 6, "gfx/modifiers/foliage", ".png", FILTEREDIMAGE, bottom4) \
    IMAGES(gfx_roots, 8, "gfx/modifiers/root", ".png", FILTEREDIMAGE, root_top) \
    IMAGES(gfx_reed, 3, "gfx/modifiers/reed", ".png", FILTEREDIMAGE, bottom2) \
    IMAGE(gfx_treeleaves, "gfx/modifiers/treeleaves.png", FILTEREDIMAGE, none) \
    IMAGES(gfx_branches, 12, "incbin::incgfx/terrain/branches", ".bmp", MASKEDIMAGE | DYNAMICIMAGE, none) \
    IMAGES(gfx_rocks, 9, "incbin::incgfx/terrain/rock", ".bmp", MASKEDIMAGE | DYNAMICIMAGE, none) \
    /* Objects and borders. */ \
    IMAGE(gfx_supply, "incbin::incgfx/supply.bmp", -1, half) \
    IMAGE(gfx_mine, "incbin::incgfx/mine.bmp", -1, at(5, 3)) \
    IMAGE(gfx_beartrap0, "incbin::incgfx/beartrap0.bmp", -1, at(7, 9)) \
    IMAGE(gfx_beartrap1, "incbin::incgfx/beartrap1.bmp", -1, at(7, 9)) \
    IMAGE(gfx_medikit, "incbin::incgfx/medikit.bmp", -1, half) \
    IMAGE(gfx_border_h, "incbin::incgfx/terrain/bar_h.bmp", -1, none) \
    IMAGE(gfx_border_v, "incbin::incgfx/terrain/bar_v.bmp", -1, none) \
    IMAGE(gfx_border_d1, "incbin::incgfx/terrain/bar_d1.bmp", -1, none) \
    IMAGE(gfx_border_d2, "incbin::incgfx/terrain/bar_d2.bmp", -1, none) \
    IMAGE(gfx_border_c, "incbin::incgfx/terrain/bar_c.bmp", -1, none) \
    STATE(automid_on) \
    IMAGE(gfx_attention, "gfx/attention.png", -1, none) \
    STATE(automid_off) \
    /* Interface. */ \
    IMAGE(gfx_title_bigg, "gfx/title_bigg.png", -1, none) \
    IMAGE(gfx_title_smallf, "gfx/title_smallf.png", -1, none) \
    IMAGE(gfx_title_bigg_glow, "gfx/title_bigg_glow.png", -1, none) \
    IMAGE(gfx_title_smallf_glow, "gfx/title_smallf_glow.png", -1, none) \
    IMAGE(gfx_title_rombat, "gfx/title_rombat.png", -1, none) \
    IMAGE(gfx_title_raycup, "gfx/title_raycup.png", -1, none) \
    IMAGE(gfx_qv, "gfx/quorvanesoftware.png", -1, none) \
    IMAGES(gfx_check, 2, "gfx/check", ".png", -1, none) \
    IMAGE(gfx_input, "gfx/gui_input.png", -1, none) \
    IMAGE(gfx_selectlist, "gfx/gui_selectlist.png", -1, none) \
    IMAGE(gfx_mbutton, "gfx/gui_mbutton.png", -1, none) \
    IMAGE(gfx_ping, "gfx/ping.png", -1, none) \
    IMAGE(gfx_ready, "gfx/ready.png", -1, none) \
    IMAGE(gfx_storm, "gfx/gui_storm.png", -1, none) \
    ANIM(gfx_storm_thingy, "gfx/gui_storm_thingy.png", 2, 16, 13, -1, none) \
    IMAGE(gfx_clock, "gfx/gui_clock.png", -1, none) \
    IMAGE(gfx_healthbar, "gfx/healthbar.bmp", -1, none) \
    IMAGE(gfx_wpnsel, "gfx/gui_wpnsel.png", -1, none) \
    IMAGE(gfx_controls, "gfx/controls.png", -1, none) \
    IMAGE(gfx_arrow, "gfx/arrow.png", -1, mid) \
    ANIM(gfx_extra, "gfx/gui_extra.bmp", 13, 13, 12, -1, none) \
    ANIM(gfx_editoricon, "gfx/gui_editor.bmp", 13, 13, 15, -1, none) \
    IMAGE(gfx_pointer, "gfx/pointer.png", -1, at(4, 4)) \
    IMAGE(gfx_pointer_click, "gfx/pointer_click.png", -1, at(4, 4)) \
    IMAGE(gfx_pw, "gfx/gui_pw.bmp", -1, none) \
    IMAGE(gfx_action, "gfx/action.png", -1, none) \
    ANIM(gfx_wset, "gfx/gui_wset.bmp", 7, 7, 10, -1, grey_alpha_10) \
    IMAGE(gfx_mbl, "gfx/gui_mbl.png", -1, mid) \
    IMAGE(gfx_mbr, "gfx/gui_mbr.png", -1, mid) \
    IMAGE(gfx_gyes, "gfx/gui_yes.png", -1, mid) \
    IMAGE(gfx_gno, "gfx/gui_no.png", -1, mid) \
    IMAGE(gfx_gameender, "gfx/gui_gameender.png", -1, mid) \
    ANIM(gfx_score, "gfx/gui_score.bmp", 14, 18, 3, -1, mid) \
    /* A missing main-menu picture simply is not drawn. */ \
    PLAIN(gfx_menu_hotseat, "gfx/menu_hotseat.png", mid) \
    PLAIN(gfx_menu_host, "gfx/menu_host.png", mid) \
    PLAIN(gfx_menu_join, "gfx/menu_join.png", mid) \
    PLAIN(gfx_menu_mission, "gfx/menu_mission.png", mid) \
    IMAGE(gfx_load, "gfx/gui_load.bmp", -1, grey_alpha_mid) \
    IMAGE(gfx_editor_grid, "gfx/editor_grid.bmp", -1, grey_alpha) \
    IMAGE(gfx_icon_x, "gfx/icon_x.png", -1, none) \
    IMAGE(gfx_icon_ok, "gfx/icon_ok.png", -1, none) \
    IMAGE(gfx_icon_weapons, "gfx/icon_weapons.png", -1, mid) \
    IMAGE(gfx_icon_tools, "gfx/icon_tools.png", -1, mid) \
    IMAGE(gfx_icon_supply, "gfx/icon_supply.png", -1, mid) \
    IMAGE(gfx_icon_medikit, "gfx/icon_medikit.png", -1, mid) \
    IMAGE(gfx_icon_movement, "gfx/icon_movement.png", -1, mid) \
    ANIM(gfx_terrain_style, "gfx/terrain_style.bmp", 13, 13, 9, -1, none) \
    ANIM(gfx_terrain_form, "gfx/terrain_form.bmp", 13, 13, 6, -1, none) \
    /* The tile set of shape maps and the editor (see fill_tiles). */ \
    CUSTOMN(ImagePtr, gfx_tile, 252, fill_tiles) \
    STATE(screen_sounds) \
    SOUNDS(sfx_explosion, 7, "sfx/explosion", ".wav") \
    SOUND(sfx_explosionbass0, "sfx/explosionbass0.wav") \
    SOUND(sfx_explosionbass1, "sfx/explosionbass1.wav") \
    SOUND(sfx_firefragment, "sfx/firefragment.wav") \
    SOUND(sfx_ric, "sfx/ric1.ogg") \
    /* One of four title tunes, and the music channel holding it. */ \
    CUSTOM1(SoundPtr, sfx_title, load_title) \
    CUSTOM1(ChannelPtr, sfx_musicchan, cue_title) \
    SOUNDS(sfx_click, 2, "sfx/click", ".wav") \
    SOUND(sfx_wpnsel_fail, "sfx/wpnsel_fail.wav") \
    SOUND(sfx_wpnsel_ok, "sfx/wpnsel_ok.wav") \
    SOUND(sfx_timeout_tick, "sfx/timeout_tick.wav") \
    SOUND(sfx_timeout_over, "sfx/timeout_over.wav") \
    SOUND(sfx_tick, "sfx/tick.ogg") \
    SOUND(sfx_turn_next, "sfx/turn_next.wav") \
    SOUND(sfx_turn_you, "sfx/turn_you.wav") \
    SOUND(sfx_turn_roundgong, "sfx/roundgong.ogg") \
    SOUND(sfx_stats_done, "sfx/stats_done.ogg") \
    SOUNDS(sfx_move, 3, "sfx/move", ".ogg") \
    SOUND(sfx_watermove, "sfx/waterstep.wav") \
    SOUNDS(sfx_fall, 4, "sfx/fall", ".ogg") \
    SOUNDS(sfx_hitwater, 5, "sfx/hitwater", ".wav") \
    SOUND(sfx_splish, "sfx/splish.ogg") \
    SOUNDS(sfx_splatter, 5, "sfx/splatter", ".wav") \
    SOUNDS(sfx_meat, 8, "sfx/meat", ".ogg") \
    SOUNDS(sfx_burn, 3, "sfx/burn", ".ogg") \
    SOUND(sfx_firehit, "sfx/firehit.ogg") \
    SOUND(sfx_steam, "sfx/steam.ogg") \
    SOUND(sfx_supplyincoming, "sfx/supplyincoming.ogg") \
    SOUND(sfx_supplycollect, "sfx/supplycollect.ogg") \
    SOUND(sfx_supplyland, "sfx/supplyland.ogg") \
    SOUND(sfx_minebeep, "sfx/mine.ogg") \
    SOUND(sfx_bounce, "sfx/bounce.wav") \
    SOUND(sfx_beartrap, "sfx/beartrap.ogg") \
    SOUND(sfx_v_playerjoined, "sfx/voice_playerjoined.ogg") \
    SOUND(sfx_v_playerleft, "sfx/voice_playerleft.ogg") \
    SOUND(sfx_v_yourturn, "sfx/voice_yourturn.ogg") \
    SOUND(sfx_v_notify, "sfx/voice_gfnotify.ogg") \
    SOUND(sfx_end_flood, "sfx/quickflood.ogg") \
    SOUND(sfx_end_laser, "sfx/superlaser.ogg") \
    SOUND(sfx_mission_death, "sfx/missiondeath.ogg") \
    SOUND(sfx_msgbox1, "sfx/msgbox1.ogg") \
    SOUND(sfx_msgbox2, "sfx/msgbox2.ogg")
// clang-format on

// Every global of the list, as GF_ONE(type, name) or GF_MANY(type, name,
// count); the user defines those two macros first.
#define GF_CATALOGUE_GLOBAL_FONT(name, ...) GF_ONE(FontPtr, name)
#define GF_CATALOGUE_GLOBAL_IMAGE(name, ...) GF_ONE(ImagePtr, name)
#define GF_CATALOGUE_GLOBAL_ANIM(name, ...) GF_ONE(ImagePtr, name)
#define GF_CATALOGUE_GLOBAL_IMAGES(name, count, ...) GF_MANY(ImagePtr, name, count)
#define GF_CATALOGUE_GLOBAL_SOUND(name, ...) GF_ONE(SoundPtr, name)
#define GF_CATALOGUE_GLOBAL_SOUNDS(name, count, ...) GF_MANY(SoundPtr, name, count)
#define GF_CATALOGUE_GLOBAL_CUSTOM1(type, name, ...) GF_ONE(type, name)
#define GF_CATALOGUE_GLOBAL_CUSTOMN(type, name, count, ...) GF_MANY(type, name, count)
#define GF_CATALOGUE_GLOBAL_STATE(...)
#define GF_CATALOGUE_GLOBALS                                                                                  \
    GF_CATALOGUE(GF_CATALOGUE_GLOBAL_FONT, GF_CATALOGUE_GLOBAL_IMAGE, GF_CATALOGUE_GLOBAL_IMAGE,              \
                 GF_CATALOGUE_GLOBAL_ANIM, GF_CATALOGUE_GLOBAL_IMAGES, GF_CATALOGUE_GLOBAL_SOUND,             \
                 GF_CATALOGUE_GLOBAL_SOUNDS, GF_CATALOGUE_GLOBAL_CUSTOM1, GF_CATALOGUE_GLOBAL_CUSTOMN,        \
                 GF_CATALOGUE_GLOBAL_STATE)
