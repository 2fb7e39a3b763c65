-- The equipment of the player's tank: the aquarium, the shop and the screensaver build it into
-- their list "Tank equipment" once the screen is up (screens/equipment_templates.xml). A shop
-- icon sends "buy " or "upgrade " and the piece's name to EquipmentCommand; the piece itself takes
-- the money, tells the meters and saves the profile. A command that the piece's state has left
-- behind (a second press before the icon showed the new state) is dropped.

function ShowTankEquipment()
	LoadTemplateOnce("screens\\equipment_templates.xml")
	SendMessage("Tank equipment", "template TankEquipmentTemplate")
	SendMessage("Tank equipment", "create top instance")
end

-- The pieces go before the screen's hint server and meters, which they tell when they go.
function ClearTankEquipment()
	SendMessage("Tank equipment", "clear children list")
end

local commands = {buy = {"None", "Buy"}, upgrade = {"Bought", "Upgrade"}}

function EquipmentCommand(text)
	local verb, piece = string.match(text, "^(%a+) (.+)$")
	local command = verb and commands[verb]
	if command == nil then
		WriteToLog("Unknown equipment command: " .. text)
		return
	end
	if PermanentStorage.GetLocalStringOrDef(piece, "None") == command[1] then
		SendMessage(piece, command[2])
	end
end
