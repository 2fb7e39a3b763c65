-- The script side of the demo screens: each screen's click area sends its own name here,
-- and the click switches to the other screen.
function OnDemoAreaClick(screen)
	WriteToLog("Demo area clicked on the " .. screen .. " screen")
	if screen == "first" then
		LoadControlTree("screens\\demo_second.xml")
	else
		LoadControlTree("screens\\demo_first.xml")
	end
end
