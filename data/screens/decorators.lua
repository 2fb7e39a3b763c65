-- The script side of the decorators screen: its buttons send their names here.
function ShowDecoratorsScreen()
	LoadResource("screens\\decorators_resources.xml")
	LoadControlTree("screens\\decorators.xml")
end

function OnDecoratorsButton(name)
	WriteToLog("Decorators button: " .. name)
end
