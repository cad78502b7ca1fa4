-- Standard: the last alliance standing wins. No extra rules. The file name
-- sorts first, so this is the mode a new host setting (0) selects.
addgamemode("standard", "Standard")

function standard_gm_start() end
function standard_gm_update() end
function standard_gm_draw() end

-- -2: let the game's own rule decide (one alliance left ends the match).
function standard_gm_endturn()
    return -2
end

-- 0: the damage stands as it is.
function standard_gm_playerdamage(id, amount)
    return 0
end
