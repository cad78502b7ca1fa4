-- Bouncing Bomb: charge and throw like the missile; it bounces off the
-- terrain and goes off when its fuse (1 to 5 seconds, the number keys) ends.
bouncer = {}
bouncer.icon = loadgfx("weapons/icon_bouncer.png")
bouncer.image = loadgfx("weapons/bouncer.png")
addweapon("bouncer", "Bouncing Bomb", bouncer.icon, 100, 1)
addweaponinfo("Charge and throw. Bounces off the ground and goes off when the fuse ends; choose the fuse with the number keys.")
bouncer.projectile = {}
bouncer.type = addprojectile("bouncer.projectile")

local MAXCHARGE = 40

-- Image handles are set from the callbacks rather than while the file loads,
-- so loading needs nothing but the registration functions. Only the
-- simulation callbacks set them: every machine runs those in the same frames,
-- so handles that terrain stamps and object collisions use agree everywhere;
-- draw callbacks run on some machines only and may not move a handle.
local function handles()
    setmidhandle(bouncer.image)
end

local function bombs()
    local t = projectiles.bouncer
    if not t then
        t = {}
        projectiles.bouncer = t
    end
    return t
end

function bouncer.draw()
    drawinhand(bouncer.image, 4, 0)
    if weapon_shots == 0 then
        hudcrosshair()
        if weapon_charge > 0 then hudchargebar(weapon_charge, MAXCHARGE) end
    end
end

function bouncer.attack(pressed)
    handles()
    if weapon_shots > 0 then return end
    -- The fuse bar, renewed every frame from the simulation so every machine
    -- reads the same weapon_timer.
    hudtimer(3, 1, 5)
    if pressed == 1 then
        weapon_charge = weapon_charge + 1
        if weapon_charge < MAXCHARGE then return end
    elseif weapon_charge == 0 then
        return
    end
    useweapon()
    weapon_shots = 1
    local fuse = weapon_timer
    if fuse < 1 then fuse = 3 end
    local rot = math.rad(getplayerrotation(0))
    local sx, sy = math.sin(rot), -math.cos(rot)
    local power = 1.5 + weapon_charge * 0.2
    local id = createprojectile(bouncer.type)
    if id > 0 then
        bombs()[id] = {x = getplayerx(0) + sx * 10, y = getplayery(0) + sy * 10, fx = sx * power, fy = sy * power,
                       timer = fuse * 50}
    end
    endturn()
end

function bouncer.projectile.update(id)
    handles()
    local b = bombs()[id]
    if not b then
        freeprojectile(id)
        return
    end
    b.fy = b.fy + getgravity()
    -- Each axis on its own: a wall turns the bomb back, the ground throws it up.
    if collision(col3x3, b.x + b.fx, b.y, 1, 0, 1) == 1 then
        b.fx = -b.fx * 0.6
    else
        b.x = b.x + b.fx
    end
    if collision(col3x3, b.x, b.y + b.fy, 1, 0, 1) == 1 then
        b.fy = -b.fy * 0.5
        b.fx = b.fx * 0.8
    else
        b.y = b.y + b.fy
    end
    b.timer = b.timer - 1
    if b.y > getwatery() then
        bombs()[id] = nil
        freeprojectile(id)
    elseif b.timer <= 0 then
        terrainexplosion(b.x, b.y, 36, 0)
        arealdamage(b.x, b.y, 65, 45)
        playsound(sfx_explosion3)
        bombs()[id] = nil
        freeprojectile(id)
    end
end

function bouncer.projectile.draw(id)
    local b = bombs()[id]
    if not b then return end
    setblend(blend_alpha)
    drawimage(bouncer.image, b.x, b.y)
    -- hudtext takes screen coordinates: the camera offset turns map ones into them.
    hudtext(tostring(math.floor(b.timer / 50) + 1), b.x + getscrollx(), b.y - 14 + getscrolly(), 255, 255, 255, 1)
end
