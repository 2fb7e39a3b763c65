#pragma once
// Connects the script functions "LoadResource", "LoadTemplate", "UploadResourceGroup" and
// "ReleaseResourceGroup" to the resource manager and the template library.

void ConnectResourceScriptServices();
