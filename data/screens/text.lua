-- The script side of the text screen: the link on it adds ten points to the player's score,
-- which a span of the screen shows.
local textResourcesLoaded = false

function ShowTextScreen()
	if not textResourcesLoaded then
		LoadResource("screens\\text_resources.xml")
		textResourcesLoaded = true
	end
	LoadControlTree("screens\\text.xml")
end

function OnTextLink(text)
	PermanentStorage.SetLocalInt("Score", PermanentStorage.GetLocalIntOrDef("Score", 0) + 10)
	WriteToLog("Text link: " .. text)
end

function OnTextHelpButton(text)
	WriteToLog("Text help button: " .. text)
end
