// Projectile, particle, player, collision, object, AI and node functions:
// their worked values, records and the refusals in one-machine callbacks.
#include <climits>
#include <functional>

#include "world_script_fixture.h"

namespace {

using Fns = WorldScript;

// ---- Projectiles

TEST_F(Fns, ProjectileIdsCountOnAndFreeingWritesRecordEleven) {
    EXPECT_EQ(eval("createprojectile(3)"), "1");
    ASSERT_EQ(run("freeprojectile(1)"), "");
    EXPECT_EQ(eval("createprojectile(3)"), "2");
    EXPECT_GE(g_turn_idletimer, 50);
    EXPECT_EQ(eval("getprojectiletype(2)"), "3");
    EXPECT_EQ(eval("getprojectiletype(1)"), "0");
    clear_records();
    ASSERT_EQ(run("freeprojectile(70000) freeprojectile(999)"), "");
    EXPECT_EQ(frame(), (Bytes{0x0B, 0x70, 0x11, 0x0B, 0xE7, 0x03}));
    EXPECT_EQ(local(), frame());
    // Not the turn owner: removed all the same, no record.
    clear_records();
    g_player = 1;
    ASSERT_EQ(run("freeprojectile(2)"), "");
    EXPECT_TRUE(Tpro::list.empty());
    EXPECT_TRUE(frame().empty());
}

TEST_F(Fns, ANonPositiveTypeShowsTheDialogAndGivesZero) {
    EXPECT_EQ(eval("createprojectile(-1)"), "0");
    EXPECT_EQ(notes, (std::vector<std::string>{"Lua 'createprojectile' FAILED"}));
    EXPECT_TRUE(has_line("Lua 'createprojectile' FAILED"));
    EXPECT_TRUE(Tpro::list.empty());
    EXPECT_EQ(eval("projectileid()"), "0");
    EXPECT_TRUE(has_line("Lua 'getprojectileid'/'projectileid' FAILED"));
    EXPECT_NE(run("createprojectile()"), "");
}

TEST_F(Fns, ProjectileInfoByKeyInAnyCase) {
    world_define(Tscro::projectile, 4, "gun.shell");
    Tscro::projectile[4]->name = "gun";
    Tscro::projectile[4]->flags = "a b";
    EXPECT_EQ(eval("getprojectileinfo(4, 'TABLE')"), "gun.shell");
    EXPECT_EQ(eval("getprojectileinfo(4, 'flags')"), "a b");
    EXPECT_EQ(eval("getprojectileinfo(4, 'Weapon')"), "gun");
    for (const char* c : {"getprojectileinfo(4, 'x')", "getprojectileinfo(5, 'table')",
                          "getprojectileinfo(300, 'table')", "getprojectileinfo(-1, 'table')"})
        EXPECT_EQ(eval(c), "") << c;
}

// One pass: 1 frees 2 and creates 4, 3 frees itself; 4 runs in the pass.
TEST_F(Fns, APassVisitsCreatedAndSkipsFreedProjectiles) {
    world_define(Tscro::projectile, 1, "shell");
    ASSERT_EQ(run("log = '' shell = {draw = function() end, update = function(id)\n"
                  "  log = log .. id .. ',' .. projectileid() .. ';'\n"
                  "  if id == 1 then freeprojectile(2) createprojectile(1) end\n"
                  "  if id == 3 then freeprojectile(3) end end}\n"
                  "createprojectile(1) createprojectile(1) createprojectile(1)"),
              "");
    clear_records();
    Tpro::draw(0, 1);
    EXPECT_EQ(eval("log"), "1,1;3,3;4,4;");
    std::vector<int> left;
    for (auto& p : Tpro::list) left.push_back(p->id);
    EXPECT_EQ(left, (std::vector<int>{1, 4}));
    EXPECT_EQ(frame(), (Bytes{0x0B, 0x02, 0x00, 0x0B, 0x03, 0x00}));
    EXPECT_EQ(lua_pro, 0);
}

TEST_F(Fns, TheThousandAndFirstLiveProjectileIsRefused) {
    ASSERT_EQ(run("for i = 1, 1000 do assert(createprojectile(1) == i) end"), "");
    EXPECT_EQ(eval("createprojectile(1)"), "0");
    EXPECT_EQ(Tpro::list.size(), 1000u);
    EXPECT_TRUE(has_line("Lua 'createprojectile' FAILED"));
    EXPECT_TRUE(notes.empty());   // no dialog: every machine refuses alike
    ASSERT_EQ(run("freeprojectile(500)"), "");
    EXPECT_EQ(eval("createprojectile(1)"), "1001");
}

// ---- Players

TEST_F(Fns, PlayerRecordsCarryTheirWorkedBytes) {
    fighter(4, 0);
    auto dead = fighter(5, 0);
    dead->health = 0;
    struct Case {
        const char* call;
        Bytes bytes;
    };
    for (const Case& c : {Case{"playerdamage(4, -30)", {0x28, 0x04, 0x1E, 0, 0, 0}},
                          Case{"playerheal(4, 7)", {0x29, 0x04, 7, 0, 0, 0}},
                          Case{"playerdamage(4, -2147483648)", {0x28, 0x04, 0xFF, 0xFF, 0xFF, 0x7F}},
                          Case{"playerdamage(5, 10)", {}},
                          Case{"playerheal(5, 10)", {}},
                          Case{"playerdamage(9, 10)", {}},
                          Case{"playerstate(4, 3, 5)", {0x2B, 0x04, 0x03, 0x01}},
                          Case{"playerstate(4, 260, 0)", {0x2B, 0x04, 0x04, 0x00}},
                          Case{"playerswitch(4)", {0x2C, 0x04}}}) {
        clear_records();
        ASSERT_EQ(run(c.call), "") << c.call;
        EXPECT_EQ(frame(), c.bytes) << c.call;
        EXPECT_EQ(local(), c.bytes) << c.call;
    }
    // The acting player stands for 0; another machine writes nothing.
    lua_p = 4;
    clear_records();
    ASSERT_EQ(run("playerdamage(0, 3)"), "");
    EXPECT_EQ(frame(), (Bytes{0x28, 0x04, 3, 0, 0, 0}));
    g_player = 1;
    clear_records();
    ASSERT_EQ(run("playerdamage(4, 3) playerheal(4, 3) playerstate(4, 1, 1) playerswitch(4)"), "");
    EXPECT_TRUE(frame().empty());
    // The record applies after the step: the same callback still reads 100.
    EXPECT_EQ(eval("getplayerhealth(4)"), "100");
}

TEST_F(Fns, PushMoveAndForcedFrames) {
    auto p = fighter(1, 0);
    ASSERT_EQ(run("playerpush(1, 100, -100)"), "");
    EXPECT_EQ(p->fx, 30.0f);
    EXPECT_EQ(p->fy, -30.0f);
    EXPECT_EQ(p->action, 1);
    p->fx = p->fy = 0;
    ASSERT_EQ(run("playerpush(1, 5, 0) playerpush(1, 5, 0)"), "");
    EXPECT_EQ(p->fx, 10.0f);
    ASSERT_EQ(run("playerpush(1, 5, 1, 1, 0)"), "");
    EXPECT_EQ(p->fx, 5.0f);
    EXPECT_EQ(p->fy, 1.0f);
    EXPECT_EQ(p->action, 10);
    EXPECT_NE(run("playerpush(1, 0/0, 0)"), "");

    p->actualmovement = 0;
    p->movementinrow = 0;
    ASSERT_EQ(run("playerposition(1, 100, 100)"), "");
    EXPECT_EQ(p->actualmovement, 0);
    ASSERT_EQ(run("playerposition(1, 1e300, -1e300)"), "");
    EXPECT_EQ(p->x, 1e9f);
    EXPECT_EQ(p->y, -1e9f);
    EXPECT_EQ(p->actualmovement, 3);
    EXPECT_EQ(p->movementinrow, 5);

    p->forceframe = -1;
    ASSERT_EQ(run("playerforceframe(1, -5)"), "");
    EXPECT_EQ(p->forceframe, 5);
    ASSERT_EQ(run("playerforceframe(1, 12) playerforceframe(1, -2147483648)"), "");
    EXPECT_EQ(p->forceframe, 5);
}

TEST_F(Fns, GettersReadTheirFields) {
    auto p = fighter(1, 0);
    fighter(2, 3);
    struct Case {
        int wpnrot;
        const char* result;
    };
    for (const Case& c : {Case{370, "10"}, {-10, "-10"}, {-370, "-10"}, {45, "45"}}) {
        p->wpnrot = c.wpnrot;
        EXPECT_EQ(eval("getplayerrotation(1)"), c.result) << c.wpnrot;
    }
    p->state_frozen = 1;
    EXPECT_EQ(eval("getplayerstate(1, 4)"), "1");
    EXPECT_EQ(eval("getplayerstate(1, 3)"), "0");
    EXPECT_EQ(eval("getplayeralliance(1)"), "1");
    EXPECT_EQ(eval("getplayeralliance(2)"), "4");
    EXPECT_EQ(eval("getplayerteam(2)"), "3");
    EXPECT_EQ(eval("getplayerhealth(7)"), "0");
    EXPECT_EQ(eval("playercurrent()"), "0");
    EXPECT_EQ(eval("getplayerweapon()"), "");
    world_define(Tscro::weapon, 2, "guns.big");
    p->wpn = 2;
    lua_p = 1;
    EXPECT_EQ(eval("playercurrent()"), "1");
    EXPECT_EQ(eval("getplayerweapon()"), "guns.big");
    EXPECT_EQ(eval("getplayerx(0)"), "100");
}

TEST_F(Fns, PlayerTablesByMode) {
    fighter(1, 0);
    fighter(2, 0);
    fighter(3, 1)->health = 0;
    fighter(4, 2);
    Tteam::get(2)->color = 0;   // allied with team 0
    auto list = [&](const std::string& call) { return eval("table.concat(" + call + ", ',')"); };
    EXPECT_EQ(list("playertable()"), "1,2,3,4");
    EXPECT_EQ(list("playertable(0, 0)"), "1,2,4");
    EXPECT_EQ(list("playertable(1)"), "");   // no acting player
    EXPECT_EQ(list("playertable(7)"), "");
    lua_p = 1;
    EXPECT_EQ(list("playertable(1)"), "2");
    EXPECT_EQ(list("playertable(2)"), "2,4");
    EXPECT_EQ(list("playertable(3)"), "3");
    EXPECT_EQ(list("playertable(3, 0)"), "");
}

// ---- Refusals inside callbacks that run on one machine only

TEST_F(Fns, DirectFunctionsRefuseInsideOneMachineCallbacks) {
    auto p = fighter(1, 0);
    world_define(Tscro::weapon, 1, "gun");
    Tpro::Create()->typ = 1;   // id 1
    ASSERT_EQ(run("ai_move = function()\n"
                  "  playerpush(1, 10, -10) playerposition(1, 5, 5) playercontrol(0) playerweaponswitch(0)\n"
                  "  made = createprojectile(1) freeprojectile(1) endturn() useweapon()\n"
                  "end\n"
                  "gun = {draw = function() playerpush(1, 3, 3) made2 = createprojectile(1) end,\n"
                  "       attack = function() playerpush(1, 10, -10) end}"),
              "");
    g_turn_state = 1;
    lua_ai_call(1, "ai_move");
    EXPECT_EQ(p->fx, 0.0f);
    EXPECT_EQ(p->x, 100.0f);
    EXPECT_EQ(lua_allowplayercontrol, 1);
    EXPECT_EQ(lua_allowweaponswitch, 1);
    EXPECT_EQ(lua_getglobalint("made"), 0);
    EXPECT_EQ(Tpro::list.size(), 1u);                    // still there ...
    EXPECT_EQ(frame(), (Bytes{0x0B, 0x01, 0x00}));        // ... yet its record goes
    EXPECT_EQ(g_turn_state, 1);
    EXPECT_EQ(g_wpn_attacked, 0);
    for (const char* fn : {"playerpush", "playerposition", "playercontrol", "playerweaponswitch",
                           "createprojectile", "freeprojectile", "endturn", "useweapon"})
        EXPECT_TRUE(has_line(std::string("Lua '") + fn + "' refused: this callback does not run alike on every machine"))
            << fn;
    EXPECT_TRUE(world_luaerrors.empty());
    EXPECT_EQ(lua_in_local_callback(), 0);
    lua_weapon_draw(1);
    EXPECT_EQ(p->fx, 0.0f);
    EXPECT_EQ(lua_getglobalint("made2"), 0);
    // From attack it acts, alike on the turn owner and on another machine.
    lua_weapon_attack(1, 1);
    EXPECT_EQ(p->fx, 10.0f);
    g_player = 1;
    lua_weapon_attack(1, 1);
    EXPECT_EQ(p->fx, 20.0f);
    EXPECT_EQ(p->fy, -20.0f);
}

// Every kind of callback: the local ones refuse, the simulation ones act.
TEST_F(Fns, EachKindOfCallbackRefusesOrActsAsItRunsEverywhere) {
    world_define(Tscro::weapon, 1, "cb");
    world_define(Tscro::projectile, 1, "cb");
    world_define(Tscro::obj, 1, "cb");
    g_gamemodesi = {"m"};
    g_gameendersi = {"e"};
    const int ender = set[18], mode = set[19];
    set[18] = set[19] = 0;
    const char* names[] = {"attack", "draw", "update", "setup", "damage", "m_gm_start", "m_gm_update",
                           "m_gm_draw", "m_gm_endturn", "e_ge_run", "ai_init", "ai_move", "ai_back",
                           "mission_start", "mission_update", "mission_draw"};
    std::string code = "cb = {}\n";
    for (const char* n : names)
        code += (std::string(n).find('_') == std::string::npos ? "cb." : "") + std::string(n) +
                " = function() playercontrol(0) end\n";
    ASSERT_EQ(run(code), "");
    struct Case {
        const char* what;
        std::function<void()> call;
        bool local;
    };
    int winner;
    const Case cases[] = {
        {"weapon attack", [] { lua_weapon_attack(1, 1); }, false},
        {"weapon draw", [] { lua_weapon_draw(1); }, true},
        {"projectile update", [] { lua_projectile_update(1, 1); }, false},
        {"projectile draw", [] { lua_projectile_draw(1, 1); }, true},
        {"object setup", [] { lua_objectcall(1, "setup", 5, 0, "s"); }, false},
        {"object damage", [] { lua_objectcall(1, "damage", 5, 0, "s"); }, false},
        {"object update", [] { lua_object_update(1, 5, 0, 0); }, false},
        {"object draw", [] { lua_object_draw(1, 5, 0, 0); }, true},
        {"mode start", [] { lua_gm_start(); }, false},
        {"mode update", [] { lua_gm_update(); }, false},
        {"mode draw", [] { lua_gm_draw(); }, true},
        {"mode end turn", [&] { lua_gm_endturn(2, 1, false, winner); }, true},
        {"ender", [] { lua_ge_run(0); }, true},
        {"ai init", [] { lua_ai_call(1, "ai_init"); }, true},
        {"ai move", [] { lua_ai_call(1, "ai_move"); }, true},
        {"ai back", [] { lua_ai_call(1, "ai_back"); }, true},
        {"mission start", [] { lua_mission_call("mission_start"); }, false},
        {"mission update", [] { lua_mission_call("mission_update"); }, false},
        {"mission draw", [] { lua_mission_call("mission_draw"); }, true},
    };
    for (const Case& c : cases) {
        lua_allowplayercontrol = 1;
        c.call();
        EXPECT_EQ(lua_allowplayercontrol, c.local ? 1 : 0) << c.what;
        EXPECT_EQ(lua_in_local_callback(), 0) << c.what;
    }
    EXPECT_TRUE(world_luaerrors.empty()) << world_luaerrors.front();
    set[18] = ender, set[19] = mode;
    g_gamemodesi.clear();
    g_gameendersi.clear();
}

// ---- Objects

TEST_F(Fns, CreatedObjectsTakeTheBlocksIdsAndAppearOnlyAfterTheirRecord) {
    g_player = g_turn_netplayer = 1;
    menu = 2;
    ASSERT_EQ(run("createobject(-6, 10, 20, 3) createobject(-6) seen = #objecttable()"), "");
    EXPECT_EQ(lua_getglobalint("seen"), 0);
    Bytes want = Rec().u8(70).i32(-6).i32(10).i32(20).i32(0).u16(7001).u8(0).i32(3).b;
    Bytes second = Rec().u8(70).i32(-6).i32(0).i32(0).i32(0).u16(7002).u8(0).i32(0).b;
    want.insert(want.end(), second.begin(), second.end());
    EXPECT_EQ(frame(), want);
    Tfb::process_additional(Tfb::loc, nullptr);
    EXPECT_EQ(eval("table.concat(objecttable(), ',')"), "7001,7002");
    EXPECT_EQ(eval("getobjectx(7001)"), "10");
    EXPECT_EQ(eval("getobjecttype(7002)"), "-6");
    EXPECT_EQ(eval("getobjecttype(1)"), "0");
    // A full block: nothing written, the program goes on.
    for (int id = 7003; id <= 13999; ++id) Tobj_fake::add(id);
    clear_records();
    ASSERT_EQ(run("createobject(-6)"), "");
    EXPECT_TRUE(frame().empty());
    // Another machine writes nothing at all.
    g_player = 2;
    ASSERT_EQ(run("createobject(-6) removeobject(7001) objectdamage(7001, 3) objectpush(7001, 1, 1)"
                  " objectposition(7001, 1, 1)"),
              "");
    EXPECT_TRUE(frame().empty());
}

TEST_F(Fns, ObjectRecordsCarryTheirValues) {
    auto o = Tobj::Create(-3, 50, 60, 100, 56001, 0);
    o->fx = 25;
    struct Case {
        const char* call;
        Bytes bytes;
    };
    for (const Case& c :
         {Case{"objectpush(56001, 10, 0)", Rec().u8(74).u16(56001).f32(50).f32(60).f32(30).f32(0).b},
          Case{"objectpush(56001, 10, -99, 1)", Rec().u8(74).u16(56001).f32(50).f32(60).f32(10).f32(-30).b},
          Case{"objectposition(56001, 7.5, 8)", Rec().u8(76).u16(56001).f32(7.5f).f32(8).b},
          Case{"objectdamage(56001, -20)", Rec().u8(77).u16(56001).i32(20).b},
          Case{"objectdamage(56001, -2147483648)", Rec().u8(77).u16(56001).i32(INT_MAX).b},
          Case{"removeobject(56001)", Rec().u8(72).u16(56001).b},
          Case{"removeobject(5) objectdamage(5, 1) objectpush(5, 1, 1)", {}}}) {
        clear_records();
        ASSERT_EQ(run(c.call), "") << c.call;
        EXPECT_EQ(frame(), c.bytes) << c.call;
        EXPECT_EQ(local(), c.bytes) << c.call;
    }
    EXPECT_EQ(eval("getobjectxspeed(56001)"), "25");
    EXPECT_EQ(eval("table.concat(objecttable(-3), ',')"), "56001");
    EXPECT_EQ(eval("#objecttable(-1)"), "0");
}

// ---- Collision

TEST_F(Fns, CollisionKeepsItsThreeResults) {
    register_builtin_images();
    SetMaskColor(255, 0, 255);
    for (auto* img : {&gfx_coldot5, &gfx_coldot10}) *img = nullptr;
    gfx_coldot5 = LoadImage("incbin::incgfx/coldot5.bmp", -1);
    gfx_coldot10 = LoadImage("incbin::incgfx/coldot10.bmp", -1);
    ASSERT_TRUE(gfx_coldot5 && gfx_coldot10);
    MidHandleImage(gfx_coldot5);
    MidHandleImage(gfx_coldot10);
    gfx_pl_col = load_player_mask();
    map_rect(0, 200, 300, 100, (int)0xFF806040u);
    fighter(3, 0, 150, 190);
    auto fire = Tobj::Create(-1, 40, 50, 3, 56001, 0);
    Tobj::Create(-1, 42, 50, 3, 56002, 0);
    EXPECT_EQ(eval("collision(col5x5, 150, 200)"), "1");
    EXPECT_EQ(eval("terraincollision()"), "1");
    EXPECT_EQ(eval("playercollision()"), "3");
    EXPECT_EQ(eval("objectcollision()"), "0");
    EXPECT_EQ(eval("collision(col5x5, 150, 200, 2, 1, 1, 3)"), "0");
    EXPECT_EQ(eval("terraincollision() + playercollision()"), "0");
    EXPECT_EQ(eval("collision(col5x5, 150, 200)"), "1");
    EXPECT_EQ(eval("collision(-10, 150, 200)"), "0");
    EXPECT_EQ(eval("terraincollision() + playercollision()"), "0");
    EXPECT_EQ(eval("collision(col5x5, 40, 50)"), "0");   // fires are not objects here
    EXPECT_EQ(eval("firecollision(col5x5, 41, 50)"), std::to_string(fire->id));
    EXPECT_EQ(eval("firecollision(col5x5, 100, 50)"), "0");
    EXPECT_EQ(eval("imagecollision(col5x5, 0, 0, col10x10, 6, 0)"), "1");
    EXPECT_EQ(eval("imagecollision(col5x5, 0, 0, col10x10, 9, 0)"), "0");
    EXPECT_EQ(eval("imagecollision(col5x5, 0, 0, 99999, 0, 0)"), "0");
    EXPECT_NE(run("collision(col5x5, 'x', 0)"), "");
    gfx_coldot5 = gfx_coldot10 = gfx_pl_col = nullptr;
}

// ---- Particles

TEST_F(Fns, ParticlesAndTheirSetters) {
    ASSERT_EQ(run("particlealpha(0.5)"), "");   // before any particle: nothing
    EXPECT_NE(run("particlealpha()"), "");
    ASSERT_EQ(run("particle(p_smoke, 10.9, -3.7) particlefadealpha(-0.05) particlecolor(300, -1, 0)"), "");
    ASSERT_EQ(Tp::list[0].size(), 1u);
    auto first = Tp::list[0].back();
    EXPECT_EQ(first->typ, 1);
    EXPECT_EQ(first->x, 10.0f);
    EXPECT_EQ(first->y, -3.0f);
    EXPECT_EQ(first->fa, 0.05f);
    EXPECT_EQ(first->r, 300);
    EXPECT_EQ(first->g, -1);
    ASSERT_EQ(run("particle(p_firefragment, 0, 0) particlespeed(1, 2) particlesize(3, 4) particlerotation(90)"), "");
    auto second = Tp::list[0].back();
    EXPECT_EQ(second->typ, 12);
    EXPECT_EQ(second->fx, 1.0f);
    EXPECT_EQ(second->sy, 4.0f);
    EXPECT_EQ(second->rot, 90.0f);
    EXPECT_NE(first->fx, 1.0f);
}

// ---- AI and nodes

TEST_F(Fns, AiFunctionsActOnlyUnderTheLock) {
    auto p = fighter(1, 0);
    Tteam::get(0)->wamount[2] = 1;
    Tteam::get(0)->wamount[3] = 0;
    world_define(Tscro::weapon, 2, "a");
    Tscro::weapon[2]->name = "Wind Missile";
    world_define(Tscro::weapon, 3, "b");
    Tscro::weapon[3]->name = "Pass";
    world_define(Tscro::weapon, 4, "c");
    Tscro::weapon[4]->name = "Late";
    Tscro::weapon[4]->firstuse = 5;
    Tteam::get(0)->wamount[4] = 1;
    ASSERT_EQ(run("ai_left() r0 = ai_weapon('wind missile') ai_settimer(4)"), "");
    EXPECT_EQ(lua_keyleft, 0);
    EXPECT_EQ(lua_getglobalint("r0"), 0);
    EXPECT_EQ(lua_timersetto, 0);
    hud_wpnsel = -1;
    ASSERT_EQ(run("function ai_move() ai_left() ai_attack() ai_settimer(25) t1 = ai_weapon('PASS')\n"
                  "  t2 = ai_weapon('late') t3 = ai_weapon('nope') t4 = ai_weapon('WIND MISSILE') end\n"
                  "function ai_back() ai_settimer(0) end"),
              "");
    lua_ai_call(1, "ai_move");
    EXPECT_EQ(lua_keyleft, 1);
    EXPECT_EQ(lua_keyattack, 1);
    EXPECT_EQ(lua_keyright, 0);
    EXPECT_EQ(lua_timersetto, 10);
    EXPECT_EQ(lua_getglobalint("t1"), 0);   // none left
    EXPECT_EQ(lua_getglobalint("t2"), 0);   // a later round
    EXPECT_EQ(lua_getglobalint("t3"), 0);
    EXPECT_EQ(lua_getglobalint("t4"), 1);
    EXPECT_EQ(hud_wpnsel, 2);
    lua_ai_call(1, "ai_back");
    EXPECT_EQ(lua_timersetto, 1);
    lua_ai_call(9, "ai_move");   // no such acting player
    EXPECT_EQ(lua_getglobalint("t4"), 0);
    EXPECT_NE(run("ai_settimer()"), "");
    (void)p;
}

TEST_F(Fns, NodesByName) {
    auto add = [](const std::string& name, int x, int y) {
        auto n = std::make_shared<Tmap_spawn>();
        n->nodename = name;
        n->x = x, n->y = y;
        Tmap_spawn::nodes.push_back(n);
    };
    add("Gate", 10, 20);
    add("120|340", 120, 340);
    add("Gate", 30, 40);
    EXPECT_EQ(eval("table.concat(nodetable(), ';')"), "Gate;120|340;Gate");
    EXPECT_EQ(eval("#nodetable(3)"), "3");
    EXPECT_NE(run("nodetable('x')"), "");
    EXPECT_EQ(eval("getnodex('Gate') .. ',' .. getnodey('Gate')"), "10,20");
    EXPECT_EQ(eval("getnodex('120|340')"), "120");
    EXPECT_EQ(eval("getnodex('gate')"), "0");
    Tmap_spawn::nodes.clear();
    EXPECT_EQ(eval("#nodetable()"), "0");
}

}  // namespace
