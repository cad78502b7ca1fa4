-- Bomb Drop: pick a spot on the map, then press attack; five bombs fall from
-- above the map onto it, spread a little and carried by the wind.
airstrike = {}
airstrike.icon = loadgfx("weapons/icon_airstrike.png")
airstrike.image = loadgfx("weapons/bomb.png")
addweapon("airstrike", "Bomb Drop", airstrike.icon, 1, 3)
addweaponinfo("Pick a spot with the mouse, then press attack: five bombs fall onto it from the sky.")
airstrike.projectile = {}
airstrike.type = addprojectile("airstrike.projectile")

-- Image handles are set from the callbacks rather than while the file loads,
-- so loading needs nothing but the registration functions. Only the
-- simulation callbacks set them: every machine runs those in the same frames,
-- so handles that terrain stamps and object collisions use agree everywhere;
-- draw callbacks run on some machines only and may not move a handle.
local function handles()
    setmidhandle(airstrike.image)
end

local function bombs()
    local t = projectiles.airstrike
    if not t then
        t = {}
        projectiles.airstrike = t
    end
    return t
end

function airstrike.draw()
end

function airstrike.attack(pressed)
    handles()
    if weapon_shots > 0 then return end
    if weapon_position == 0 then
        hudpositioning(pos_drop)
        return
    end
    if keyhit(key_attack) == 0 then return end
    useweapon()
    weapon_shots = 1
    for i = -2, 2 do
        local id = createprojectile(airstrike.type)
        if id > 0 then
            bombs()[id] = {x = weapon_x + i * 18, y = -60 - (i * i) * 6, fx = getwind() * 10, fy = 1}
        end
    end
    endturn()
end

function airstrike.projectile.update(id)
    handles()
    local b = bombs()[id]
    if not b then
        freeprojectile(id)
        return
    end
    b.fx = b.fx + getwind() * 0.3
    b.fy = b.fy + getgravity()
    b.x, b.y = b.x + b.fx, b.y + b.fy
    if b.y > getwatery() then
        bombs()[id] = nil
        freeprojectile(id)
    elseif b.y > 0 and collision(col3x3, b.x, b.y, 1, 1, 1, -1) == 1 then
        terrainexplosion(b.x, b.y, 26, 0)
        arealdamage(b.x, b.y, 45, 30)
        playsound(sfx_explosion2)
        bombs()[id] = nil
        freeprojectile(id)
    end
end

function airstrike.projectile.draw(id)
    local b = bombs()[id]
    if not b then return end
    setblend(blend_alpha)
    drawimage(airstrike.image, b.x, b.y)
end
