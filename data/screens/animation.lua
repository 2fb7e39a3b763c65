-- The script side of the animation screen: H shows the hint panel or hides it, the panel reports
-- when it has closed, and S writes the active time scale to the log.
local animationResourcesLoaded = false
local hintUp = false

function ShowAnimationScreen()
	if not animationResourcesLoaded then
		LoadResource("screens\\animation_resources.xml")
		animationResourcesLoaded = true
	end
	hintUp = false
	LoadControlTree("screens\\animation.xml")
end

function AnimationCommand(text)
	if text == "hint" then
		if hintUp then
			SendMessage("anim hint", "hide")
		else
			hintUp = true
			SendMessage("anim hint", "show")
		end
	elseif text == "hint closed" then
		hintUp = false
		WriteToLog("Hint closed")
	elseif text == "scale" then
		WriteToLog("Time scale: " .. PermanentStorage.GetGlobalFloatOrDef("temp:Time scale", 1.0))
	end
end
