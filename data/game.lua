-- The match-three game screen: the level time and bonus functions the game field calls, and the
-- commands of the screen's buttons and dialogs. ShowGame() opens the screen at the player's level.
-- A finished level goes on to the player's aquarium and Escape back to the menu (main.lua); with
-- the developer menu alone, both go back to it.

gameShowing = false

-- The level's time in seconds from the file's time.
function LevelTime(fileTime)
	return fileTime
end

-- Money per percent of time left at the end of a won level.
function TimeBonusK(levelTime)
	return 0.5
end

-- Money per point of the level's score.
function ScoreBonusK(unused)
	return 0.02
end

-- The pieces, the field's pictures, samples and texts (the money texts among them), its effects
-- and the templates of its boxes; the hint panel's arrow comes with the scenery.
function LoadGameResources()
	LoadMatch3Pieces()
	LoadSceneryResources()
	LoadResourceOnce("screens\\game_resources.xml")
	LoadResourceOnce("screens\\game_results_resources.xml")
	LoadEffectsOnce("particles\\FieldEffects.xml")
	LoadEffectsOnce("particles\\StatisticsEffects.xml")
	LoadTemplateOnce("screens\\game_templates.xml")
	LoadTemplateOnce("screens\\game_editor_templates.xml")
end

function ShowGame()
	LoadGameResources()
	gameShowing = true
	gamePaused = false
	LoadControlTree("screens\\game.xml")
end

-- True while no dialog of the level (out of time, statistics, the pause) is up.
local function LevelDialogsClosed()
	return SendMessageReply("Game field modal dialog", "get state") == "invisible"
		and SendMessageReply("Statistics modal dialog", "get state") == "invisible"
end

-- The pause and the question before a level is given up: the field stops, a dialog shows.
local function PauseWith(template)
	if gamePaused or not LevelDialogsClosed() then return end
	gamePaused = true
	SendMessage("GameField", "Pause")
	SendMessage("Game field modal dialog", "instantiate " .. template)
end

local function ContinueLevel()
	if not gamePaused then return end
	gamePaused = false
	SendMessage("Game field modal dialog", "hide")
	SendMessage("GameField", "Continue")
end

function GameCommand(text)
	if text == "pause" then
		PauseWith("PauseDialogTemplate")
	elseif text == "pause key" then
		if gamePaused then ContinueLevel() else PauseWith("PauseDialogTemplate") end
	elseif text == "ask leave" then
		if gamePaused then ContinueLevel() else PauseWith("LeaveLevelDialogTemplate") end
	elseif text == "continue" then
		ContinueLevel()
	elseif text == "give up" then
		if gamePaused then
			gamePaused = false
			SendMessage("Game field modal dialog", "hide")
			GameCommand("back")
		end
	elseif text == "exit" or text == "back" then
		gamePaused = false
		gameShowing = false
		if ShowMainMenu == nil then
			LoadControlTree("screens\\menu.xml")
		elseif text == "exit" then
			ShowAquarium()
		else
			ShowMainMenu()
		end
	elseif text == "hint closed" then
		if gameShowing then SendMessage("GameField", "Continue hint") end
	elseif text == "Both" or text == "Silver only" then
		gamePanelKind = text
	end
end
