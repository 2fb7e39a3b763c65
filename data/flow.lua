-- The screen-flow demo. Run it with FlowStart() once the script API is up; the splash tree
-- screens\flow_splash.xml goes before it (from start0.lua).

local panelIn = false
local hints = 0
local screen = 1

function FlowStart()
	-- The font and button sounds come with the menu when it runs; on their own, load them here.
	if not commonResourcesLoaded then
		LoadResource("flow_common.xml")
		commonResourcesLoaded = true
	end
	if not flowResourcesLoaded then
		LoadResource("flow_resources.xml")
		flowResourcesLoaded = true
	end
	PermanentStorage.SetGlobalInt("temp:flowScreen", screen)
	LoadControlTree("screens\\flow.xml")
	WriteToLog("Flow screen shown")
end

-- Keys and buttons of the flow screen send their message values here, posted.
function FlowCommand(text)
	if text == "panel" then
		panelIn = not panelIn
		if panelIn then
			SendMessage("Flow panel mover", "noreply move to in")
		else
			SendMessage("Flow panel mover", "noreply move to out")
		end
	elseif text == "hint" then
		if hints >= 6 then
			SendMessage("Flow hints", "erase bottom child")
		end
		hints = hints + 1
		SendMessage("Flow hints", "template flow_hint")
		local place = hints - 1 - math.floor((hints - 1) / 10) * 10
		SendMessage("Flow hints", "defineText [x] " .. (720 - place * 70))
		SendMessage("Flow hints", "create top instance")
	elseif text == "switch" then
		screen = 3 - screen
		PermanentStorage.SetGlobalInt("temp:flowScreen", screen)
	end
	WriteToLog("Flow command: " .. text)
end
