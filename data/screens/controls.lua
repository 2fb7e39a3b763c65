-- The script side of the controls screen: loads it, shows a hint on its progress bar and writes
-- the edit box's text to the log when Enter is pressed.
local controlsResourcesLoaded = false

function ShowControlsScreen()
	if not controlsResourcesLoaded then
		LoadResource("screens\\controls_resources.xml")
		controlsResourcesLoaded = true
	end
	LoadControlTree("screens\\controls.xml")
	SendMessage("controls_progress", "hint value 0.8")
end

function ControlsCommand(text)
	if text == "value" then
		WriteToLog("Edit box value: " .. SendMessageReply("controls_edit", "get value"))
	end
end
