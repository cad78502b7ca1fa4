-- Thunderstorm: from the ender's first round on, lightning strikes every
-- living fighter once per turn, harder each time.
--
-- Only the machine holding the turn runs an ender, so everything it does goes
-- through recorded functions (terrainexplosion, playerdamage) that reach
-- every machine; it only reads otherwise.
addgameender("thunder", "Thunderstorm")

function thunder_ge_run(step)
    local damage = 5 + 5 * step
    if damage > 50 then damage = 50 end
    local ids = playertable(0, 0)
    for i = 1, #ids do
        local p = ids[i]
        local x, y = getplayerx(p), getplayery(p)
        terrainexplosion(x, y - 20, 14, 0)
        playerdamage(p, damage)
    end
end
