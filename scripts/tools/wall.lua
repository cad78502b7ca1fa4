-- Wall Builder: place a block of brick on the map; it becomes terrain.
wall = {}
wall.icon = loadgfx("weapons/icon_wall.png")
wall.image = loadgfx("weapons/brick.png")
wall.sound = loadsfx("weapons/build.wav")
addweapon("wall", "Wall Builder", wall.icon, 5, 1)
addweaponinfo("Place a block of brick anywhere near you. It becomes part of the terrain.")

-- Image handles are set from the callbacks rather than while the file loads,
-- so loading needs nothing but the registration functions. Only the
-- simulation callbacks set them: every machine runs those in the same frames,
-- so handles that terrain stamps and object collisions use agree everywhere;
-- draw callbacks run on some machines only and may not move a handle.
local function handles()
    setmidhandle(wall.image)
end

function wall.draw()
end

function wall.attack(pressed)
    handles()
    if weapon_shots > 0 then return end
    if weapon_position == 0 then
        hudpositioning(pos_build, wall.image, 250)
        return
    end
    if keyhit(key_attack) == 0 then return end
    useweapon()
    weapon_shots = 1
    terrainimage(wall.image, weapon_x, weapon_y)
    playsound(wall.sound)
    endturn()
end
