-- Runs after the splash loop while the load screen shows: the content of the later screens.
LoadResource("screens\\later-resources.xml")
WriteToLogColor("Demo content started", "Green")
