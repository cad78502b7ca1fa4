-- Wind Missile: hold the attack key to charge, let go to launch. The missile
-- flies under gravity, drifts with the wind and bursts on contact.
--
-- Lockstep: the flight is stepped in the projectile's update from shared
-- values only (wind, gravity, the terrain); the blast goes through
-- terrainexplosion (recorded) and arealdamage (whose records the game writes).
wmissile = {}
wmissile.icon = loadgfx("weapons/icon_missile.png")
wmissile.image = loadgfx("weapons/missile.png")
wmissile.sound = loadsfx("weapons/launch.wav")
addweapon("wmissile", "Wind Missile", wmissile.icon, 100, 1)
addweaponinfo("Hold the attack key to charge, let go to launch. The wind carries the missile; it bursts on contact.")
wmissile.projectile = {}
wmissile.type = addprojectile("wmissile.projectile")

local MAXCHARGE = 50

-- Image handles are set from the callbacks rather than while the file loads,
-- so loading needs nothing but the registration functions. Only the
-- simulation callbacks set them: every machine runs those in the same frames,
-- so handles that terrain stamps and object collisions use agree everywhere;
-- draw callbacks run on some machines only and may not move a handle.
local function handles()
    setmidhandle(wmissile.image)
end

local function flights()
    local t = projectiles.wmissile
    if not t then
        t = {}
        projectiles.wmissile = t
    end
    return t
end

function wmissile.draw()
    drawinhand(wmissile.image, 2, 0)
    if weapon_shots == 0 then
        hudcrosshair()
        if weapon_charge > 0 then hudchargebar(weapon_charge, MAXCHARGE) end
    end
end

function wmissile.attack(pressed)
    handles()
    if weapon_shots > 0 then return end
    if pressed == 1 then
        weapon_charge = weapon_charge + 1
        if weapon_charge < MAXCHARGE then return end
    elseif weapon_charge == 0 then
        return
    end
    useweapon()
    weapon_shots = 1
    local rot = math.rad(getplayerrotation(0))
    local sx, sy = math.sin(rot), -math.cos(rot)
    local power = 2 + weapon_charge * 0.22
    local id = createprojectile(wmissile.type)
    if id > 0 then
        flights()[id] = {x = getplayerx(0) + sx * 12, y = getplayery(0) + sy * 12, fx = sx * power,
                         fy = sy * power, age = 0}
    end
    recoil(4)
    playsound(wmissile.sound)
    endturn()
end

local function burst(id, m)
    terrainexplosion(m.x, m.y, 40, 0)
    arealdamage(m.x, m.y, 70, 50)
    playsound(sfx_explosion1)
    flights()[id] = nil
    freeprojectile(id)
end

function wmissile.projectile.update(id)
    handles()
    local m = flights()[id]
    if not m then
        freeprojectile(id)
        return
    end
    m.age = m.age + 1
    m.fx = m.fx + getwind() * 0.5
    m.fy = m.fy + getgravity()
    m.x, m.y = m.x + m.fx, m.y + m.fy
    if m.x < -300 or m.x > getmapwidth() + 300 or m.y > getwatery() then
        flights()[id] = nil
        freeprojectile(id)
        return
    end
    -- The launching fighter is out of reach for the first frames.
    local skip = -1
    if m.age < 8 then skip = 0 end
    if collision(col5x5, m.x, m.y, 1, 1, 1, skip) == 1 then burst(id, m) end
end

function wmissile.projectile.draw(id)
    local m = flights()[id]
    if not m then return end
    setblend(blend_alpha)
    setrotation(math.deg(math.atan2(m.fy, m.fx)))
    drawimage(wmissile.image, m.x, m.y)
    setrotation(0)
end
