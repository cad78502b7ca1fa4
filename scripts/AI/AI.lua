-- The computer's fighters. Runs only on the machine that holds the turn of a
-- computer team, and acts only by pressing keys (ai_*) and choosing a weapon
-- and a fuse; its own notes live in ai_state, which no weapon, projectile,
-- object or mode reads, so the simulation stays the same everywhere.
--
-- A turn: pick the nearest enemy, walk towards it when far, choose a weapon
-- by distance, aim about 50 degrees up towards it, charge by distance, fire.
ai_state = {}

local function nearest_enemy()
    local me = playercurrent()
    local mx, my = getplayerx(me), getplayery(me)
    local best, bestd = 0, 0
    local enemies = playertable(3, 0)
    for i = 1, #enemies do
        local p = enemies[i]
        local dx, dy = getplayerx(p) - mx, getplayery(p) - my
        local d = dx * dx + dy * dy
        if best == 0 or d < bestd then
            best, bestd = p, d
        end
    end
    return best
end

local function choose(names)
    for i = 1, #names do
        if ai_weapon(names[i]) == 1 then return names[i] end
    end
    return nil
end

function ai_init()
    local s = {frames = 0, phase = "walk", target = nearest_enemy(), charge = 0, held = 0}
    ai_state = s
    if s.target == 0 then
        s.weapon = choose({"Pass"})
        s.phase = "fire"
        s.charge = 3
        return
    end
    local dx = getplayerx(s.target) - getplayerx(0)
    local dist = math.abs(dx)
    if dist < 220 then
        s.weapon = choose({"Bouncing Bomb", "Wind Missile", "Twin Shot", "Pass"})
    else
        s.weapon = choose({"Wind Missile", "Bouncing Bomb", "Twin Shot", "Pass"})
    end
    -- Charge grows with distance; the fuse gives the bomb time to roll in.
    s.charge = math.floor(dist / 12)
    if s.charge < 6 then s.charge = 6 end
    if s.charge > 48 then s.charge = 48 end
    if s.weapon == "Twin Shot" then s.charge = 20 end
    ai_settimer(3)
end

local function aim(s)
    local rot = getplayerrotation(0)
    local want = 50
    local r = math.abs(rot)
    if r > want + 4 then
        ai_up()
        return false
    elseif r < want - 4 then
        ai_down()
        return false
    end
    return true
end

function ai_move()
    local s = ai_state
    s.frames = s.frames + 1
    if s.phase == "walk" then
        local dx = s.target ~= 0 and getplayerx(s.target) - getplayerx(0) or 0
        -- Walk for at most two seconds, towards the target while it is far.
        if s.frames < 100 and math.abs(dx) > 300 then
            if dx > 0 then ai_right() else ai_left() end
            return
        end
        -- Face the target: one step towards it turns the fighter.
        if dx > 0 and getplayerdirection(0) < 0 then ai_right() end
        if dx < 0 and getplayerdirection(0) > 0 then ai_left() end
        s.phase = "aim"
        s.aimframes = 0
        return
    end
    if s.phase == "aim" then
        s.aimframes = s.aimframes + 1
        if aim(s) or s.aimframes > 120 then
            s.phase = "fire"
            s.held = 0
        end
        return
    end
    if s.phase == "fire" then
        -- Hold attack for the charge, then let go; weapons that fire on a key
        -- press fire on the first frame.
        if s.held < s.charge then
            -- The gun fires once per press: press and let go in turns.
            if s.weapon ~= "Twin Shot" or s.held % 10 < 5 then ai_attack() end
            s.held = s.held + 1
        else
            s.phase = "done"
        end
    end
end

function ai_back()
end
