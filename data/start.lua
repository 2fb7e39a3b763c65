-- Runs after the splash loop while the load screen shows: content of the later screens goes here.
WriteToLogColor("Demo content started", "Green")
