-- Runs after the splash loop while the load screen shows: the menu and the content behind it.
ShowMenu()
LoadResource("screens\\later-resources.xml")
WriteToLogColor("Demo content started", "Green")
