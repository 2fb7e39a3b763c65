-- The match-three game screen: the level time and bonus functions the game field calls, and the
-- commands of the screen's buttons and dialogs. ShowGame() opens the screen at the player's level.

local gameResourcesLoaded = false
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

function ShowGame()
	if not gameResourcesLoaded then
		LoadMatch3Pieces()
		LoadResource("screens\\game_resources.xml")
		LoadResource("screens\\game_results_resources.xml")
		LoadEffects("particles\\FieldEffects.xml")
		LoadEffects("particles\\StatisticsEffects.xml")
		LoadTemplate("screens\\game_templates.xml")
		LoadTemplate("screens\\game_editor_templates.xml")
		gameResourcesLoaded = true
	end
	gameShowing = true
	LoadControlTree("screens\\game.xml")
end

function GameCommand(text)
	if text == "exit" or text == "back" then
		gameShowing = false
		LoadControlTree("screens\\menu.xml")
	elseif text == "hint closed" then
		if gameShowing then SendMessage("GameField", "Continue hint") end
	elseif text == "Both" or text == "Silver only" then
		gamePanelKind = text
	end
end
