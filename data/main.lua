-- The game as a player meets it: the main menu, the name asked at the first start, the players
-- and options dialogs, the levels (game.lua), the aquarium with its shop and the screensaver. The
-- screens' buttons send their message values to MainCommand, posted until their click is over.
-- With "dev" true, F12 on the main menu opens the developer menu (menu.lua).

-- The tank keeps its contents in the player's values only when the storage is committed: every
-- screen change away from a tank commits first.
local tankShowing = false
-- The shop is a screen of its own: the tank with the shop panel, meters and tips.
local shopShowing = false

-- A screen is built before the one it replaces goes; screens that share receiver names (the
-- tank, the dialogs' holders) come after a blank one.
local function ShowScreen(path)
	LoadControlTree("screens\\blank.xml")
	LoadControlTree(path)
end

-- What main.lua puts into a tank screen goes first, in this order: the shop panel (its icons
-- tell the goods and the equipment when the mouse leaves them), the goods, the equipment.
local function LeaveTank()
	if tankShowing then
		if shopShowing then SendMessage("Shop panel", "clear children list") end
		SendMessage("Shop goods", "clear children list")
		ClearTankEquipment()
		PermanentStorage.Commit()
		tankShowing = false
		shopShowing = false
	end
end

-- Values a profile from an older game may lack; the options dialog and the shop read them.
local function MendProfile()
	local globals = {
		{"Sound Volume", 1.0}, {"Music Volume", 0.7},
	}
	for i = 1, #globals do
		if not PermanentStorage.IsGlobalNameDefined(globals[i][1]) then
			PermanentStorage.SetGlobalFloat(globals[i][1], globals[i][2])
		end
	end
	if not PermanentStorage.IsGlobalNameDefined("isFullScreen") then PermanentStorage.SetGlobalBool("isFullScreen", false) end
	if not PermanentStorage.IsGlobalNameDefined("isCursorCustom") then PermanentStorage.SetGlobalBool("isCursorCustom", true) end
	if not PermanentStorage.IsLocalNameDefined("Money") then PermanentStorage.SetLocalInt("Money", 0) end
	if not PermanentStorage.IsLocalNameDefined("LevelNumber") then PermanentStorage.SetLocalInt("LevelNumber", 1) end
	-- The tanks' cups, which the field reads for its cup bonus before the shop ever sets them.
	for tank = 1, 3 do
		if PermanentStorage.GetLocalStringOrDef(tank .. " Cup", "") == "" then
			PermanentStorage.SetLocalString(tank .. " Cup", "None")
		end
	end
	-- The aquarium's money display counts up from what it showed last.
	if not PermanentStorage.IsLocalNameDefined("Money shown") then
		PermanentStorage.SetLocalInt("Money shown", PermanentStorage.GetLocalInt("Money"))
	end
end

-- Everything the aquarium screens use: the menu's font and buttons, the money texts of the game,
-- the tank, the plants, the fish, the meters' bars, the lists' arrows, the help boxes' frame and
-- the shop's own pictures, samples and templates.
local function LoadHomeResources()
	LoadMenuResources()
	LoadGameResources()
	LoadSceneryResources()
	LoadFishResources()
	LoadResourceOnce("screens\\controls_resources.xml")
	LoadResourceOnce("screens\\lists_resources.xml")
	LoadResourceOnce("screens\\text_resources.xml")
	LoadResourceOnce("screens\\home_resources.xml")
	LoadTemplateOnce("screens\\home_templates.xml")
	LoadTemplateOnce("screens\\shop_templates.xml")
	LoadTemplateOnce("screens\\equipment_templates.xml")
end

-- The conductors of the goods, which register with the tank's purchase hints: the fish wish
-- for them in the aquarium as in the shop.
local function ShowGoods()
	SendMessage("Shop goods", "template ShopGoodsTemplate")
	SendMessage("Shop goods", "create top instance")
end

-- The aquarium's cups: a cup the tank holds shows lit; one won since the aquarium was last shown
-- lights up there after a moment. "<tank> <level> cup dark" is true while the player has not
-- seen that cup lit.
local cupLevels = {"Bronze", "Silver", "Gold"}
local function ShowCups()
	local tank = PermanentStorage.GetLocalStringOrDef("Current Tank", "1")
	local cup = PermanentStorage.GetLocalStringOrDef(tank .. " Cup", "None")
	local held = 0
	for i = 1, #cupLevels do
		if cup == cupLevels[i] then held = i end
	end
	for i = 1, #cupLevels do
		local dark = tank .. " " .. cupLevels[i] .. " cup dark"
		if i > held then
			PermanentStorage.SetLocalBool(dark, true)
		elseif PermanentStorage.GetLocalBoolOrDef(dark, true) then
			-- Dark when the reveal starts, lit once it has run.
			PermanentStorage.SetLocalBool(dark, true)
			SendMessage(cupLevels[i] .. " cup", "EffectShow")
			PermanentStorage.SetLocalBool(dark, false)
		end
	end
end

local function LoadMenuDialogs()
	LoadMenuResources()
	LoadResourceOnce("screens\\controls_resources.xml")
	LoadResourceOnce("screens\\lists_resources.xml")
	LoadResourceOnce("screens\\text_resources.xml")
	LoadResourceOnce("screens\\home_resources.xml")
	LoadTemplateOnce("screens\\home_templates.xml")
end

function ShowMainMenu()
	LeaveTank()
	LoadMenuDialogs()
	ShowScreen("screens\\main_menu.xml")
	Sound:FadeInTrack("Menu" .. PermanentStorage.GetLocalStringOrDef("Current Tank", "1"), 1.0, true)
end

-- A dialog of the menu: its template goes on top of the menu, and its conductor reports back
-- with the given message when it closes.
local function OpenMenuDialog(template, dispatcher, finishMessage)
	SendMessage("Menu dialogs", "template " .. template)
	SendMessage("Menu dialogs", "create top instance")
	SendMessage(dispatcher, "report finish to post:lua:MainCommand")
	SendMessage(dispatcher, "set finish message " .. finishMessage)
	SendMessage(dispatcher, "Show dialog")
end

function ShowAquarium()
	LeaveTank()
	LoadHomeResources()
	ShowScreen("screens\\home.xml")
	ShowGoods()
	ShowTankEquipment()
	ShowCups()
	tankShowing = true
end

function ShowShop()
	LeaveTank()
	LoadHomeResources()
	ShowScreen("screens\\shop.xml")
	ShowGoods()
	ShowTankEquipment()
	SendMessage("Shop panel", "template Aquarium" .. PermanentStorage.GetLocalStringOrDef("Current Tank", "1") .. "Template")
	SendMessage("Shop panel", "create top instance")
	SendMessage("1 Aquarium bottom", "entered shop")
	tankShowing = true
	shopShowing = true
end

function ShowScreensaver()
	LoadHomeResources()
	ShowScreen("screens\\screensaver.xml")
	ShowTankEquipment()
end

-- The first start: the menu with the name panel open; the player made from it replaces the
-- stored stand-in (see GameFunc).
local function AskFirstName()
	OpenMenuDialog("PlayersDialogTemplate", "Players dispatcher", "players closed")
	SendMessage("Players dispatcher", "Players dialog new pressed")
end

function StartGame()
	MendProfile()
	if PermanentStorage.GetGlobalBoolOrDef("temp:ScreensaverMode", false) then
		ShowScreensaver()
		return
	end
	ShowMainMenu()
	if PermanentStorage.GetGlobalBoolOrDef("First start", false) then
		AskFirstName()
	end
end

function MainCommand(text)
	if text == "play" then
		LeaveTank()
		Sound:FadeOutTrack("Menu" .. PermanentStorage.GetLocalStringOrDef("Current Tank", "1"), 1.0)
		ShowGame()
	elseif text == "aquarium" then
		ShowAquarium()
	elseif text == "shop" then
		ShowShop()
	elseif text == "shop done" then
		ShowAquarium()
	elseif text == "menu" then
		ShowMainMenu()
	elseif text == "players" then
		OpenMenuDialog("PlayersDialogTemplate", "Players dispatcher", "players closed")
	elseif text == "options" then
		OpenMenuDialog("OptionsDialogTemplate", "Options dispatcher", "options closed")
	elseif text == "players closed" or text == "options closed" then
		MendProfile()
		PermanentStorage.Commit()
		-- The dialog slides away and goes after that; till then its conductor still works (the
		-- options put the window and the volumes back in the next frame) and its glass keeps the
		-- menu from the mouse.
		SendMessage("Menu dialogs reminder", "set delay 0.5")
		SendMessage("Menu dialogs reminder", "set message dialog gone")
		SendMessage("Menu dialogs reminder", "report to post:lua:MainCommand")
	elseif text == "dialog gone" then
		SendMessage("Menu dialogs", "clear children list")
	elseif text == "developer" then
		if PermanentStorage.GetGlobalBoolOrDef("dev", false) then ShowMenu() end
	elseif text == "quit" then
		LeaveTank()
		WriteToLog("The player quits")
		CloseApplication()
	end
end

-- The shop's meters: a cup won ("cup won"), a meter filled for the first time ("full " and the
-- meter) and the full meter's effect ("restart"). The tips tell the player of cups.
function ShopCommand(text)
	if text == "cup won" then
		WriteToLog("Cup: " .. PermanentStorage.GetLocalStringOrDef("1 Cup", "None"))
	end
end

-- "Start intro" comes from the players dialog once a new player has been made and is active;
-- "Screen saver done" from the window in screensaver mode on a key or a larger mouse move.
function GameFunc(text)
	if text == "Screen saver done" then
		CloseApplication()
	elseif text == "Start intro" then
		if PermanentStorage.GetGlobalBoolOrDef("First start", false) then
			-- The stand-in of the seeded storage goes; the new player is the only one.
			PermanentStorage.DeleteInactivePlayers()
			PermanentStorage.SetGlobalBool("First start", false)
		end
		MendProfile()
		PermanentStorage.Commit()
		ShowMainMenu()
	end
end
