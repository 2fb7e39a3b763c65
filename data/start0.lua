-- Runs before the splash loop: the texts of the shell and the scripts of the screens. No control
-- tree yet: with no splash screen in the content the splash loop ends after its first frame.
LoadResource("screens\\first-resources.xml")
dofile("menu.lua")
dofile("game.lua")
dofile("main.lua")
dofile("equipment.lua")
