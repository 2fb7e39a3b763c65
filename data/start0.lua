-- Runs before the splash loop: the texts of the shell and the scripts of the screens. No control
-- tree yet: with no splash screen in the content the splash loop ends after its first frame.
LoadResource("screens\\first-resources.xml")
dofile("menu.lua")

-- In screensaver mode the window sends "Screen saver done" here on any key or larger mouse move.
function GameFunc(text)
	if text == "Screen saver done" then
		CloseApplication()
	end
end
