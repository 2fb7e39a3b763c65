-- The match-three effects demo: every effect of the game field and the statistics screen on one
-- screen. Its resources and particle effects load with the first showing.

local effectsLoaded = false

function ShowMatch3EffectsScreen()
	if not effectsLoaded then
		LoadMatch3Pieces()
		LoadResource("screens\\match3_effects_resources.xml")
		effectsLoaded = true
	end
	LoadControlTree("screens\\match3_effects.xml")
end
