// The catalogue's globals, in catalogue order: every font, image, sound and
// channel that start-up loads into a program-wide global, written once.
//
// GF_CATALOGUE(ONE, MANY) calls ONE(type, name) for a single global and
// MANY(type, name, count) for an array; catalogue.h makes the declarations,
// catalogue.cpp the definitions and the walk over every global from it. The
// files each global is loaded from are named by the load code in
// catalogue.cpp alone; catalogue_files() lists them for the asset generator
// and the assets test.
#pragma once

#define GF_CATALOGUE(ONE, MANY) \
    ONE(FontPtr, font_main)              \
    ONE(FontPtr, font_small)             \
    ONE(FontPtr, font_button)            \
    ONE(FontPtr, font_title)             \
    ONE(ImagePtr, gfx_load)              \
    ONE(ImagePtr, gfx_bg)                \
    MANY(ImagePtr, gfx_water, 1)         \
    ONE(ImagePtr, gfx_clouds)            \
    MANY(ImagePtr, gfx_bubbles, 3)       \
    ONE(ImagePtr, gfx_waterray)          \
    ONE(ImagePtr, gfx_waterimpact)       \
    ONE(ImagePtr, gfx_wateranim)         \
    ONE(ImagePtr, gfx_pl)                \
    ONE(ImagePtr, gfx_pl_t)              \
    ONE(ImagePtr, gfx_pl_f)              \
    ONE(ImagePtr, gfx_pl_accessory_head) \
    ONE(ImagePtr, gfx_pl_accessory_body) \
    ONE(ImagePtr, gfx_pl_snorkel)        \
    ONE(ImagePtr, gfx_crosshair)         \
    ONE(ImagePtr, gfx_pl_col)            \
    ONE(ImagePtr, gfx_coldot1)           \
    ONE(ImagePtr, gfx_coldot2)           \
    ONE(ImagePtr, gfx_coldot3)           \
    ONE(ImagePtr, gfx_coldot4)           \
    ONE(ImagePtr, gfx_coldot5)           \
    ONE(ImagePtr, gfx_coldot10)          \
    ONE(ImagePtr, gfx_coldot20)          \
    ONE(ImagePtr, gfx_coldot30)          \
    ONE(ImagePtr, gfx_ring)              \
    ONE(ImagePtr, gfx_lightray)          \
    MANY(ImagePtr, gfx_puff, 4)          \
    MANY(ImagePtr, gfx_par, 4)           \
    MANY(ImagePtr, gfx_flare, 3)         \
    ONE(ImagePtr, gfx_bullet)            \
    MANY(ImagePtr, gfx_expl, 1)          \
    ONE(ImagePtr, gfx_explring)          \
    ONE(ImagePtr, gfx_fire)              \
    MANY(ImagePtr, gfx_dust, 5)          \
    MANY(ImagePtr, gfx_dirtfall, 1)      \
    ONE(ImagePtr, gfx_toplight)          \
    ONE(ImagePtr, gfx_bottomshade)       \
    ONE(ImagePtr, gfx_grass)             \
    ONE(ImagePtr, gfx_desertgrass)       \
    ONE(ImagePtr, gfx_snowgrass)         \
    ONE(ImagePtr, gfx_nograss)           \
    ONE(ImagePtr, gfx_crater25)          \
    ONE(ImagePtr, gfx_crater50)          \
    ONE(ImagePtr, gfx_crater75)          \
    ONE(ImagePtr, gfx_crater100)         \
    ONE(ImagePtr, gfx_crater125)         \
    ONE(ImagePtr, gfx_crater150)         \
    ONE(ImagePtr, gfx_crater175)         \
    ONE(ImagePtr, gfx_crater200)         \
    MANY(ImagePtr, gfx_blood25, 3)       \
    MANY(ImagePtr, gfx_blood50, 3)       \
    MANY(ImagePtr, gfx_blood75, 3)       \
    ONE(ImagePtr, gfx_drop)              \
    MANY(ImagePtr, gfx_dropimpact, 16)   \
    MANY(ImagePtr, gfx_meat, 19)         \
    MANY(ImagePtr, gfx_inearth, 16)      \
    MANY(ImagePtr, gfx_hassock, 4)       \
    MANY(ImagePtr, gfx_foliage, 6)       \
    MANY(ImagePtr, gfx_roots, 8)         \
    MANY(ImagePtr, gfx_reed, 3)          \
    ONE(ImagePtr, gfx_treeleaves)        \
    MANY(ImagePtr, gfx_branches, 12)     \
    MANY(ImagePtr, gfx_rocks, 9)         \
    ONE(ImagePtr, gfx_supply)            \
    ONE(ImagePtr, gfx_mine)              \
    ONE(ImagePtr, gfx_beartrap0)         \
    ONE(ImagePtr, gfx_beartrap1)         \
    ONE(ImagePtr, gfx_medikit)           \
    ONE(ImagePtr, gfx_border_h)          \
    ONE(ImagePtr, gfx_border_v)          \
    ONE(ImagePtr, gfx_border_d1)         \
    ONE(ImagePtr, gfx_border_d2)         \
    ONE(ImagePtr, gfx_border_c)          \
    ONE(ImagePtr, gfx_attention)         \
    ONE(ImagePtr, gfx_title_bigg)        \
    ONE(ImagePtr, gfx_title_smallf)      \
    ONE(ImagePtr, gfx_title_bigg_glow)   \
    ONE(ImagePtr, gfx_title_smallf_glow) \
    ONE(ImagePtr, gfx_title_rombat)      \
    ONE(ImagePtr, gfx_title_raycup)      \
    ONE(ImagePtr, gfx_qv)                \
    MANY(ImagePtr, gfx_check, 2)         \
    ONE(ImagePtr, gfx_input)             \
    ONE(ImagePtr, gfx_selectlist)        \
    ONE(ImagePtr, gfx_mbutton)           \
    ONE(ImagePtr, gfx_ping)              \
    ONE(ImagePtr, gfx_ready)             \
    ONE(ImagePtr, gfx_storm)             \
    ONE(ImagePtr, gfx_storm_thingy)      \
    ONE(ImagePtr, gfx_clock)             \
    ONE(ImagePtr, gfx_healthbar)         \
    ONE(ImagePtr, gfx_wpnsel)            \
    ONE(ImagePtr, gfx_controls)          \
    ONE(ImagePtr, gfx_arrow)             \
    ONE(ImagePtr, gfx_extra)             \
    ONE(ImagePtr, gfx_editoricon)        \
    ONE(ImagePtr, gfx_pointer)           \
    ONE(ImagePtr, gfx_pointer_click)     \
    ONE(ImagePtr, gfx_pw)                \
    ONE(ImagePtr, gfx_action)            \
    ONE(ImagePtr, gfx_wset)              \
    ONE(ImagePtr, gfx_mbl)               \
    ONE(ImagePtr, gfx_mbr)               \
    ONE(ImagePtr, gfx_gyes)              \
    ONE(ImagePtr, gfx_gno)               \
    ONE(ImagePtr, gfx_gameender)         \
    ONE(ImagePtr, gfx_score)             \
    ONE(ImagePtr, gfx_menu_hotseat)      \
    ONE(ImagePtr, gfx_menu_host)         \
    ONE(ImagePtr, gfx_menu_join)         \
    ONE(ImagePtr, gfx_menu_mission)      \
    ONE(ImagePtr, gfx_editor_grid)       \
    ONE(ImagePtr, gfx_icon_x)            \
    ONE(ImagePtr, gfx_icon_ok)           \
    ONE(ImagePtr, gfx_icon_weapons)      \
    ONE(ImagePtr, gfx_icon_tools)        \
    ONE(ImagePtr, gfx_icon_supply)       \
    ONE(ImagePtr, gfx_icon_medikit)      \
    ONE(ImagePtr, gfx_icon_movement)     \
    ONE(ImagePtr, gfx_terrain_style)     \
    ONE(ImagePtr, gfx_terrain_form)      \
    MANY(ImagePtr, gfx_tile, 252)        \
    MANY(SoundPtr, sfx_explosion, 7)     \
    ONE(SoundPtr, sfx_explosionbass0)    \
    ONE(SoundPtr, sfx_explosionbass1)    \
    ONE(SoundPtr, sfx_firefragment)      \
    ONE(SoundPtr, sfx_ric)               \
    ONE(SoundPtr, sfx_title)             \
    ONE(ChannelPtr, sfx_musicchan)       \
    MANY(SoundPtr, sfx_click, 2)         \
    ONE(SoundPtr, sfx_wpnsel_fail)       \
    ONE(SoundPtr, sfx_wpnsel_ok)         \
    ONE(SoundPtr, sfx_timeout_tick)      \
    ONE(SoundPtr, sfx_timeout_over)      \
    ONE(SoundPtr, sfx_tick)              \
    ONE(SoundPtr, sfx_turn_next)         \
    ONE(SoundPtr, sfx_turn_you)          \
    ONE(SoundPtr, sfx_turn_roundgong)    \
    ONE(SoundPtr, sfx_stats_done)        \
    MANY(SoundPtr, sfx_move, 3)          \
    ONE(SoundPtr, sfx_watermove)         \
    MANY(SoundPtr, sfx_fall, 4)          \
    MANY(SoundPtr, sfx_hitwater, 5)      \
    ONE(SoundPtr, sfx_splish)            \
    MANY(SoundPtr, sfx_splatter, 5)      \
    MANY(SoundPtr, sfx_meat, 8)          \
    MANY(SoundPtr, sfx_burn, 3)          \
    ONE(SoundPtr, sfx_firehit)           \
    ONE(SoundPtr, sfx_steam)             \
    ONE(SoundPtr, sfx_supplyincoming)    \
    ONE(SoundPtr, sfx_supplycollect)     \
    ONE(SoundPtr, sfx_supplyland)        \
    ONE(SoundPtr, sfx_minebeep)          \
    ONE(SoundPtr, sfx_bounce)            \
    ONE(SoundPtr, sfx_beartrap)          \
    ONE(SoundPtr, sfx_v_playerjoined)    \
    ONE(SoundPtr, sfx_v_playerleft)      \
    ONE(SoundPtr, sfx_v_yourturn)        \
    ONE(SoundPtr, sfx_v_notify)          \
    ONE(SoundPtr, sfx_end_flood)         \
    ONE(SoundPtr, sfx_end_laser)         \
    ONE(SoundPtr, sfx_mission_death)     \
    ONE(SoundPtr, sfx_msgbox1)           \
    ONE(SoundPtr, sfx_msgbox2)          
