-- Long Hop: pick a spot, press attack, and land there.
hop = {}
hop.icon = loadgfx("weapons/icon_hop.png")
addweapon("hop", "Long Hop", hop.icon, 2, 2)
addweaponinfo("Pick a free spot with the mouse and press attack to land there.")

function hop.draw()
end

function hop.attack(pressed)
    if weapon_shots > 0 then return end
    if weapon_position == 0 then
        hudpositioning(pos_normal)
        return
    end
    if keyhit(key_attack) == 0 then return end
    useweapon()
    weapon_shots = 1
    local x, y = getplayerx(0), getplayery(0)
    for i = 1, 6 do particle(p_smoke, x, y) end
    playerposition(0, weapon_x, weapon_y)
    for i = 1, 6 do particle(p_lightpuff, weapon_x, weapon_y) end
    endturn()
end
