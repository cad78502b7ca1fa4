-- Planted Charge: press attack to set a charge at your feet; it goes off
-- three seconds later. The turn moves to backing time at once: walk away.
--
-- The charge is a script object: createobject writes the record that makes
-- it on every machine, where setup starts its clock; update counts down in
-- every machine's simulation and keeps the turn waiting until the blast.
wcharge = {}
wcharge.icon = loadgfx("weapons/icon_charge.png")
wcharge.image = loadgfx("weapons/charge.png")
addweapon("wcharge", "Planted Charge", wcharge.icon, 3, 1)
addweaponinfo("Press attack to plant a charge at your feet. It goes off after three seconds.")
wcharge.object = {}
wcharge.type = addobject("wcharge.object", wcharge.image)

local FUSE = 150

-- Image handles are set from the callbacks rather than while the file loads,
-- so loading needs nothing but the registration functions. Only the
-- simulation callbacks set them: every machine runs those in the same frames,
-- so handles that terrain stamps and object collisions use agree everywhere;
-- draw callbacks run on some machines only and may not move a handle.
local function handles()
    setmidhandle(wcharge.image)
end

local function charges()
    local t = objects.wcharge
    if not t then
        t = {}
        objects.wcharge = t
    end
    return t
end

function wcharge.draw()
    if weapon_shots == 0 then drawinhand(wcharge.image, 4, 2) end
end

function wcharge.attack(pressed)
    handles()
    if weapon_shots > 0 or keyhit(key_attack) == 0 then return end
    useweapon()
    weapon_shots = 1
    createobject(wcharge.type, getplayerx(0), getplayery(0) + 8, FUSE)
    endturn()
end

function wcharge.object.setup(id, arg)
    handles()
    local fuse = arg
    if fuse <= 0 then fuse = FUSE end
    charges()[id] = {timer = fuse}
end

function wcharge.object.damage(id, amount)
end

function wcharge.object.update(id, x, y)
    handles()
    local c = charges()[id]
    if not c then return 0 end
    if c.timer > 0 then
        c.timer = c.timer - 1
        return 1
    end
    if not c.done then
        c.done = true
        terrainexplosion(x, y, 45, 1)
        arealdamage(x, y, 80, 60)
        playsound(sfx_explosion5)
        removeobject(id)
    end
    return 1
end

function wcharge.object.draw(id, x, y)
    local c = charges()[id]
    setblend(blend_alpha)
    drawimage(wcharge.image, x, y)
    if c and c.timer > 0 and math.floor(c.timer / 10) % 2 == 0 then
        setblend(blend_light)
        setcolor(255, 40, 30)
        drawrect(x + 2, y - 2, 3, 3)
        setcolor(255, 255, 255)
        setblend(blend_alpha)
    end
end
