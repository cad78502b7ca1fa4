-- Damage Score: every point of damage dealt to another alliance scores; the
-- first alliance to reach 300 wins. Played without wind.
--
-- The points live in scoremode_points, which _gm_start empties at the start
-- of every match. Damage is applied on every machine in the same frame, so
-- every machine counts the same points; only the host reads them at turn
-- start.
local WIN = 300
addgamemode("scoremode", "Damage Score", 1, WIN, "wind=0")

scoremode_points = {}

function scoremode_gm_start()
    scoremode_points = {}
end

function scoremode_gm_update() end

function scoremode_gm_draw()
    local y = 40
    for a = 1, 8 do
        local p = scoremode_points[a]
        if p then
            hudtext("Alliance " .. a .. ": " .. p .. " / " .. WIN, screenwidth() - 10, y, 255, 255, 255, 2)
            y = y + 14
        end
    end
end

function scoremode_gm_endturn()
    for a = 1, 8 do
        if (scoremode_points[a] or 0) >= WIN then
            return a
        end
    end
    return -2
end

-- The acting player's alliance scores what the hit player can still lose.
function scoremode_gm_playerdamage(id, amount)
    local by = getplayeralliance(0)
    local to = getplayeralliance(id)
    if by > 0 and to > 0 and by ~= to then
        local health = getplayerhealth(id)
        local got = amount
        if got > health then got = health end
        scoremode_points[by] = (scoremode_points[by] or 0) + got
    end
    return 0
end
