-- The developer menu: a title, three buttons (the game, music on and off, quit) and a second
-- screen (key S) with a button back; letter keys open the developer demo screens (the list is in
-- MenuCommand below and in screens/menu.xml), Escape there comes back. The game (main.lua) opens
-- it with F12 when "dev" is true. Call ShowMenu() from start.lua: the resource list holds the
-- button sounds, which need the running sound system.

local musicOn = false

-- Lists, effects and templates are registered once; a second load of one would report every name.
local loaded = {}
local function Once(load, path)
	if not loaded[path] then
		load(path)
		loaded[path] = true
	end
end
function LoadResourceOnce(path) Once(LoadResource, path) end
function LoadEffectsOnce(path) Once(LoadEffects, path) end
function LoadTemplateOnce(path) Once(LoadTemplate, path) end

-- The font, the button pictures and sounds, shared with the other screens.
function LoadMenuResources()
	LoadResourceOnce("menu_resources.xml")
	commonResourcesLoaded = true
end

function ShowMenu()
	LoadMenuResources()
	LoadControlTree("screens\\menu.xml")
end

-- The match-three pieces, particle effects and samples shared by the game and the effects demo.
function LoadMatch3Pieces()
	LoadResourceOnce("screens\\match3_pieces_resources.xml")
	LoadEffectsOnce("particles\\Match3Effects.xml")
end

-- The tank's pictures, and the plants and decorations in it.
function LoadAquariumResources()
	LoadResourceOnce("screens\\aquarium_resources.xml")
end
-- The fish kinds' pictures and their effects.
function LoadFishResources()
	LoadAquariumResources()
	LoadResourceOnce("screens\\fish_resources.xml")
	LoadEffectsOnce("particles\\FishEffects.xml")
end
function LoadSceneryResources()
	LoadAquariumResources()
	LoadResourceOnce("screens\\scenery_resources.xml")
	LoadEffectsOnce("particles\\SceneryEffects.xml")
end

-- The menu buttons send their message values here, posted until their click is over.
function MenuCommand(text)
	if text == "game" then
		if ShowGame == nil then dofile("game.lua") end
		ShowGame()
	elseif text == "second" then
		LoadControlTree("screens\\second.xml")
	elseif text == "back" then
		LoadControlTree("screens\\menu.xml")
	elseif text == "music" then
		musicOn = not musicOn
		if musicOn then
			Sound:FadeInTrack("menu_music", 1.0, true)
		else
			Sound:FadeOutTrack("menu_music", 1.0)
		end
	elseif text == "flow" then
		if FlowStart == nil then dofile("flow.lua") end
		FlowStart()
	elseif text == "decorators" then
		if ShowDecoratorsScreen == nil then dofile("screens/decorators.lua") end
		LoadResourceOnce("screens\\decorators_resources.xml")
		LoadControlTree("screens\\decorators.xml")
	elseif text == "controls" then  -- key V: the value widgets
		if ShowControlsScreen == nil then dofile("screens/controls.lua") end
		ShowControlsScreen()
	elseif text == "layered" then
		LoadControlTree("screens\\layered_demo.xml")
	elseif text == "text" then
		if ShowTextScreen == nil then dofile("screens/text.lua") end
		ShowTextScreen()
	elseif text == "effects" then
		if ShowMatch3EffectsScreen == nil then dofile("screens/match3_effects.lua") end
		ShowMatch3EffectsScreen()
	elseif text == "aquarium" then
		LoadAquariumResources()
		LoadControlTree("screens\\aquarium.xml")
	elseif text == "scenery" then
		LoadSceneryResources()
		LoadControlTree("screens\\scenery.xml")
		SceneryEquipment("show")
	elseif text == "fish" then  -- key H: the demo fish tank
		LoadFishResources()
		-- What a fish may wish for depends on what the player can pay.
		if not PermanentStorage.IsLocalNameDefined("Money") then PermanentStorage.SetLocalInt("Money", 500) end
		-- The shop entries come once the purchase hints they register with are up.
		PermanentStorage.SetGlobalBool("temp:Fish demo shop", false)
		LoadControlTree("screens\\fish.xml")
		PermanentStorage.SetGlobalBool("temp:Fish demo shop", true)
	elseif text == "lists" then  -- key I: list box, scroll panels and tabs
		if ShowListsScreen == nil then dofile("screens/lists.lua") end
		ShowListsScreen()
	elseif text == "animated" then  -- key N: the animated and diagnostic widgets
		if ShowAnimationScreen == nil then dofile("screens/animation.lua") end
		ShowAnimationScreen()
	elseif text == "quit" then
		CloseApplication()
	end
end

-- The equipment of the demo scenery tank (screens/scenery.xml). "show" builds it once the screen's
-- definitions exist, so that it goes before them. Its icons and key B ("all") send a piece's name
-- here: a piece not yet bought is bought, a bought one upgraded. The demo keeps the player's money
-- up to what the pieces cost.
function SceneryEquipment(piece)
	if piece == "show" then
		LoadMatch3Pieces()  -- the money text's font
		SendMessage("Scenery equipment", "template SceneryEquipmentTemplate")
		SendMessage("Scenery equipment", "create top instance")
		return
	elseif piece == "all" then
		for _, name in ipairs({"Scenery compressor", "Scenery thermoregulator", "Scenery filter", "Scenery sunlight",
		                      "Scenery feeder"}) do
			SceneryEquipment(name)
		end
		return
	end
	if PermanentStorage.GetLocalIntOrDef("Money", 0) < 500 then PermanentStorage.SetLocalInt("Money", 500) end
	if EquipmentCommand == nil then dofile("equipment.lua") end
	local state = PermanentStorage.GetLocalStringOrDef(piece, "None")
	if state == "None" then
		EquipmentCommand("buy " .. piece)
	elseif state == "Bought" then
		EquipmentCommand("upgrade " .. piece)
	end
end
