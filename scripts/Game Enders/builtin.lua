-- The game's own enders: the game carries them out itself; their names begin
-- with "<", so they need no functions here.
addgameender("<flood>", "Flood")
addgameender("<laser-top>", "Laser from above")
addgameender("<laser-left>", "Laser from the left")
addgameender("<laser-right>", "Laser from the right")
addgameender("<laser-left+right>", "Lasers from both sides")
addgameender("<flood+laser-top>", "Flood and laser")
addgameender("<laser-random>", "Random lasers")
