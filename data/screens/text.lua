-- The script side of the text screen: the link on it adds ten points to the player's score,
-- which a span of the screen shows.

function ShowTextScreen()
	LoadResourceOnce("screens\\text_resources.xml")
	LoadControlTree("screens\\text.xml")
end

function OnTextLink(text)
	PermanentStorage.SetLocalInt("Score", PermanentStorage.GetLocalIntOrDef("Score", 0) + 10)
	WriteToLog("Text link: " .. text)
end

function OnTextHelpButton(text)
	WriteToLog("Text help button: " .. text)
end
