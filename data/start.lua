-- Runs after the splash loop while the load screen shows: the screens' resources, then the main
-- menu (the first start asks for the player's name there), or the player's tank in screensaver mode.
PreloadScreens()
StartGame()
LoadResource("screens\\later-resources.xml")
WriteToLogColor("Demo content started", "Green")
