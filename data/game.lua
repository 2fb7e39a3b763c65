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
	LoadControlTree("screens\\game.xml")
end

function GameCommand(text)
	if text == "exit" or text == "back" then
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
