-- The script side of the controls screen: loads it, shows a hint on its progress bar and writes
-- the edit box's text to the log when Enter is pressed.

function ShowControlsScreen()
	LoadResourceOnce("screens\\controls_resources.xml")
	LoadControlTree("screens\\controls.xml")
	SendMessage("controls_progress", "hint value 0.8")
end

function ControlsCommand(text)
	if text == "value" then
		WriteToLog("Edit box value: " .. SendMessageReply("controls_edit", "get value"))
	end
end
