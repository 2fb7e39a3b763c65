-- The equipment of the player's tank (screens/equipment_templates.xml): the aquarium and the
-- shop build it into their list "Tank equipment" once the screen is up. A press on a shop icon
-- sends the piece's name to EquipmentCommand: a piece not yet bought is bought, a bought one
-- upgraded; the piece itself takes the money, tells the meters and saves the profile.

function ShowTankEquipment()
	LoadTemplateOnce("screens\\equipment_templates.xml")
	SendMessage("Tank equipment", "template TankEquipmentTemplate")
	SendMessage("Tank equipment", "create top instance")
end

-- The pieces go before the screen's hint server and meters, which they tell when they go.
function ClearTankEquipment()
	SendMessage("Tank equipment", "clear children list")
end

function EquipmentCommand(piece)
	local state = PermanentStorage.GetLocalStringOrDef(piece, "None")
	if state == "None" then
		SendMessage(piece, "Buy")
	elseif state == "Bought" then
		SendMessage(piece, "Upgrade")
	end
end
