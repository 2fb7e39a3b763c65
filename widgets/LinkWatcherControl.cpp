#include "widgets/LinkWatcherControl.h"

#include <climits>
#include <cstdlib>

#include "core/Assert.h"
#include "core/HtmlLog.h"
#include "core/XmlDocument.h"
#include "core/XmlElement.h"
#include "platform/FilePort.h"

namespace {

const char* const FAILURE = "ShellExecuteEx failed!";

LinkWatcherControl::Opener& CurrentOpener() {
    static LinkWatcherControl::Opener opener;
    return opener;
}

std::string RealPath(const std::string& path) {
    char buffer[PATH_MAX] = {};
    if (realpath(path.c_str(), buffer) == nullptr) return std::string();
    return buffer;
}

}  // namespace

void LinkWatcherControl::SetOpener(Opener opener) { CurrentOpener() = std::move(opener); }

LinkWatcherControl::LinkWatcherControl(const ObjectWeakPointer<Control>& parent,
                                       const ObjectWeakPointer<XmlElement>& xml)
    : MessageReceiver(xml), MouseTransparentControl(parent, xml) {
    const std::string fileName = xml->GetStringAttribute("links");
    if (fileName.empty()) return;
    const ObjectSmartPointer<XmlDocument> document = LoadXmlDocument(fileName);
    const ObjectWeakPointer<XmlElement> root = document == NULL ? ObjectWeakPointer<XmlElement>() : document->GetRoot();
    if (root == NULL) return;
    for (ObjectWeakPointer<XmlElement> link = root->GetFirstChildElement("link"); link != NULL;
         link = link->GetNextElement("link")) {
        _links[link->GetStringAttribute("name")] = link->GetStringAttribute("value");
    }
}

LinkWatcherControl::~LinkWatcherControl() = default;

std::vector<std::string> LinkWatcherControl::OpenerArguments(const std::string& target) {
    if (ProcessPort::IsWebAddress(target)) return {"xdg-open", target};
    if (target.empty()) return {};
    const std::string folder = RealPath(".");
    const std::string file = RealPath(FilePort::NormalizePath(target));
    if (folder.empty() || file.empty() || file.compare(0, folder.size() + 1, folder + "/") != 0) return {};
    return {"xdg-open", file};
}

void LinkWatcherControl::OnMessage(std::string message) {
    const auto link = _links.find(message);
    if (link == _links.end()) {
        MessageReceiver::OnMessage(message);
        return;
    }
    const std::vector<std::string> argv = OpenerArguments(link->second);
    std::shared_ptr<ProcessPort::SpawnWatch> watch;
    if (!argv.empty()) watch = CurrentOpener() ? CurrentOpener()(argv) : ProcessPort::SpawnWatched(argv);
    if (watch == nullptr || watch->Get() == ProcessPort::SpawnWatch::FAILED) {
        HtmlLog::WriteError(FAILURE);
        return;
    }
    if (watch->Get() == ProcessPort::SpawnWatch::RUNNING) _openings.push_back(watch);
}

void LinkWatcherControl::Update(float) {
    for (auto i = _openings.begin(); i != _openings.end();) {
        const ProcessPort::SpawnWatch::State state = (*i)->Get();
        if (state == ProcessPort::SpawnWatch::RUNNING) {
            ++i;
            continue;
        }
        if (state == ProcessPort::SpawnWatch::FAILED) HtmlLog::WriteError(FAILURE);
        i = _openings.erase(i);
    }
}
