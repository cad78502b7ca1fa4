-- Twin Shot: two quick shots per turn; each press of the attack key fires
-- one. The bullets fly straight and fast and leave small holes.
twinshot = {}
twinshot.icon = loadgfx("weapons/icon_twinshot.png")
twinshot.sound = loadsfx("weapons/shot.wav")
addweapon("twinshot", "Twin Shot", twinshot.icon, 100, 1)
addweaponinfo("Two shots per turn: each press of the attack key fires one.")
twinshot.projectile = {}
twinshot.type = addprojectile("twinshot.projectile")

local SPEED = 6      -- pixels per step
local STEPS = 4      -- steps per frame
local RANGE = 150    -- frames before a bullet fades out

local function bullets()
    local t = projectiles.twinshot
    if not t then
        t = {}
        projectiles.twinshot = t
    end
    return t
end

function twinshot.draw()
    if weapon_shots < 2 then
        hudcrosshair()
        hudammobar(2 - weapon_shots, 2)
    end
end

function twinshot.attack(pressed)
    if weapon_shots >= 2 or keyhit(key_attack) == 0 or pressed == 0 then return end
    if weapon_shots == 0 then useweapon() end
    weapon_shots = weapon_shots + 1
    local rot = math.rad(getplayerrotation(0))
    local sx, sy = math.sin(rot), -math.cos(rot)
    local id = createprojectile(twinshot.type)
    if id > 0 then
        bullets()[id] = {x = getplayerx(0) + sx * 10, y = getplayery(0) + sy * 10, fx = sx * SPEED, fy = sy * SPEED,
                         age = 0}
    end
    particle(p_muzzle, getplayerx(0) + sx * 14, getplayery(0) + sy * 14)
    playsound(twinshot.sound)
    recoil(3)
    if weapon_shots == 2 then endturn() end
end

function twinshot.projectile.update(id)
    local b = bullets()[id]
    if not b then
        freeprojectile(id)
        return
    end
    b.age = b.age + 1
    for i = 1, STEPS do
        b.x, b.y = b.x + b.fx, b.y + b.fy
        if collision(col2x2, b.x, b.y, 1, 1, 1, -1) == 1 then
            terrainexplosion(b.x, b.y, 10, 0)
            arealdamage(b.x, b.y, 18, 16)
            bullets()[id] = nil
            freeprojectile(id)
            return
        end
    end
    if b.age > RANGE or b.y > getwatery() then
        bullets()[id] = nil
        freeprojectile(id)
    end
end

function twinshot.projectile.draw(id)
    local b = bullets()[id]
    if not b then return end
    setblend(blend_alpha)
    setcolor(255, 230, 150)
    drawline(b.x, b.y, b.x - b.fx, b.y - b.fy, 2)
    setcolor(255, 255, 255)
end
