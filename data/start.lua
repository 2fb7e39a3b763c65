-- Runs after the splash loop while the load screen shows: the main menu (the first start asks
-- for the player's name there), or the player's tank in screensaver mode.
StartGame()
LoadResource("screens\\later-resources.xml")
WriteToLogColor("Demo content started", "Green")
