-- Runs before the splash loop: the first control tree must exist from the first frame on.
LoadResource("screens\\first-resources.xml")
LoadControlTree("screens\\first.xml")

-- In screensaver mode the window sends "Screen saver done" here on any key or larger mouse move.
function GameFunc(text)
	if text == "Screen saver done" then
		CloseApplication()
	end
end
