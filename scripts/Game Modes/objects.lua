-- Map objects: the explosive barrel that maps can place. It is registered
-- with the game modes because those load for every match and for the map
-- editor, whatever the weapon set holds; it defines no game mode.
--
-- A barrel takes 30 damage and then goes off. Once it has gone off it ignores
-- damage, since its own blast damages it again (and would otherwise explode
-- it once more for every hit).
barrel = {}
barrel.image = loadgfx("weapons/barrel.png")
barrel.type = addobject("barrel", barrel.image)

-- Image handles are set from the callbacks rather than while the file loads,
-- so loading needs nothing but the registration functions. Only the
-- simulation callbacks set them: every machine runs those in the same frames,
-- so handles that terrain stamps and object collisions use agree everywhere;
-- draw callbacks run on some machines only and may not move a handle.
local function handles()
    setmidhandle(barrel.image)
end

local function state()
    local t = objects.barrel
    if not t then
        t = {}
        objects.barrel = t
    end
    return t
end

function barrel.setup(id, arg)
    handles()
    state()[id] = {hp = 30, fuse = -1}
end

function barrel.damage(id, amount)
    local b = state()[id]
    if not b or b.fuse >= 0 then return end
    b.hp = b.hp - amount
    if b.hp <= 0 then
        b.fuse = 2
    end
end

-- Busy (1) from the hit until the blast, so the turn waits for it.
function barrel.update(id, x, y)
    handles()
    local b = state()[id]
    if not b or b.fuse < 0 then return 0 end
    if b.fuse > 0 then
        b.fuse = b.fuse - 1
        return 1
    end
    if not b.done then
        b.done = true
        terrainexplosion(x, y, 36, 1)
        arealdamage(x, y, 60, 45)
        playsound(sfx_explosion2)
        removeobject(id)
    end
    return 1
end

function barrel.draw(id, x, y)
    setblend(blend_alpha)
    drawimage(barrel.image, x, y)
end
