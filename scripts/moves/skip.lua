-- Pass: press attack to end your turn at once.
skip = {}
skip.icon = loadgfx("weapons/icon_skip.png")
addweapon("skip", "Pass", skip.icon, 100, 1)
addweaponinfo("Press attack to end your turn at once.")

function skip.draw()
    hudinfo("Press attack to pass the turn")
end

function skip.attack(pressed)
    if keyhit(key_attack) == 0 then return end
    useweapon()
    endturn()
end
