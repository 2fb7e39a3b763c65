#include "content/ResourceManagerScript.h"

#include "content/ResourceManager.h"
#include "content/TemplateLib.h"
#include "shell/ScriptServices.h"

void ConnectResourceScriptServices() {
    ScriptServices& services = GetScriptServices();
    services.addTemplate = [](const std::string& name, const ObjectSmartPointer<XmlElement>& element) {
        TemplateLib::AddTemplate(element, name);
    };
    services.loadResources = [](const ObjectWeakPointer<XmlElement>& root) { ResourceManager::LoadResources(root); };
    services.uploadResourceGroup = [](const std::string& name) { ResourceManager::UploadGroup(name); };
    services.releaseResourceGroup = [](const std::string& name) { ResourceManager::ReleaseGroup(name); };
}
