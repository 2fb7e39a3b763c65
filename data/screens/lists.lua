-- The script side of the lists screen: loads it, fills the list box with forty names, writes the
-- active name to the log (G) and switches between two players, saving the storage (P).

local names = {
	"Anchovy", "Angelfish", "Barracuda", "Betta", "Blenny", "Bream", "Carp", "Catfish",
	"Cichlid", "Clownfish", "Cod", "Danio", "Discus", "Eel", "Flounder", "Goby",
	"Goldfish", "Gourami", "Grouper", "Guppy", "Haddock", "Halibut", "Herring", "Koi",
	"Loach", "Mackerel", "Marlin", "Molly", "Oscar", "Perch", "Pike", "Platy",
	"Pufferfish", "Rasbora", "Salmon", "Sardine", "Snapper", "Swordtail", "Tetra", "Tuna",
}

function ShowListsScreen()
	LoadResourceOnce("screens\\lists_resources.xml")
	LoadControlTree("screens\\lists.xml")
	SendMessage("lists_box", "clear")
	for i = 1, #names do
		SendMessage("lists_box", "add normal " .. names[i])
	end
	SendMessage("lists_box", "set active " .. names[1])
end

function ListsCommand(text)
	if text == "get" then
		WriteToLog("Lists active: " .. SendMessageReply("lists_box", "get active"))
	elseif text == "open" then
		WriteToLog("Lists opened: " .. SendMessageReply("lists_box", "get active"))
	elseif text == "player" then
		local other = "Second"
		if PermanentStorage.GetActivePlayerName() == other then other = "Player" end
		if PermanentStorage.DoesPlayerExist(other) then
			PermanentStorage.SetActivePlayer(other)
		else
			PermanentStorage.CreatePlayer(other)
		end
		PermanentStorage.Commit()
		WriteToLog("Lists player: " .. PermanentStorage.GetActivePlayerName())
	end
end
