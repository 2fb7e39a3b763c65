#include "shell/Texture.h"

#include <vector>

#include "core/Assert.h"
#include "shell/CheckText.h"

Rect Texture::GetInnerRectangle() {
    Assert(false);
    return Rect(0, 0, 0, 0);
}

std::map<std::string, Texture::MemberSet>& Texture::GroupMembers() {
    static std::map<std::string, MemberSet> members;
    return members;
}

std::set<std::string>& Texture::LoadedGroups() {
    static std::set<std::string> loaded;
    return loaded;
}

void Texture::JoinGroup(const std::string& groupName) {
    MemberSet& memberSet = GroupMembers()[groupName];
    const ObjectWeakPointer<Texture> self(this);
    CHECK_TEXT(memberSet.find(self) == memberSet.end(), "memberSet.find(this) == memberSet.end()");
    if (memberSet.find(self) != memberSet.end()) return;
    memberSet.insert(self);
    // A loaded group holds one use of each member, also of one that joins late.
    if (IsGroupLoaded(groupName)) AddReference();
}

void Texture::LeaveGroup(const std::string& groupName) {
    auto group = GroupMembers().find(groupName);
    const ObjectWeakPointer<Texture> self(this);
    const bool member = group != GroupMembers().end() && group->second.find(self) != group->second.end();
    if (!member) {
        CHECK_TEXT(false, "memberSet.find(this) != memberSet.end()");
        return;
    }
    group->second.erase(self);
    if (group->second.empty()) GroupMembers().erase(group);
    if (IsGroupLoaded(groupName)) RemoveReference();
}

namespace {
// The members as hard pointers, so a use that unloads cannot disturb the walk.
std::vector<Texture*> Members(const std::set<ObjectWeakPointer<Texture>>& set) {
    std::vector<Texture*> result;
    for (const ObjectWeakPointer<Texture>& member : set) result.push_back(member.Get());
    return result;
}
}  // namespace

void Texture::UploadGroup(const std::string& groupName) {
    const bool notLoaded = LoadedGroups().find(groupName) == LoadedGroups().end();
    CHECK_TEXT(notLoaded, "_loadedGroups.find(groupName) == _loadedGroups.end()");
    if (!notLoaded) return;  // a second upload would add a second use to every member
    CHECK_TEXT(GroupMembers().find(groupName) != GroupMembers().end(),
               "_groupMembers.find(groupName) != _groupMembers.end()");
    for (Texture* member : Members(GroupMembers()[groupName])) member->AddReference();
    LoadedGroups().insert(groupName);
}

void Texture::ReleaseGroup(const std::string& groupName) {
    const bool loaded = LoadedGroups().find(groupName) != LoadedGroups().end();
    CHECK_TEXT(loaded, "_loadedGroups.find(groupName) != _loadedGroups.end()");
    if (!loaded) return;  // a release without an upload would take uses that were never given
    CHECK_TEXT(GroupMembers().find(groupName) != GroupMembers().end(),
               "_groupMembers.find(groupName) != _groupMembers.end()");
    for (Texture* member : Members(GroupMembers()[groupName])) member->RemoveReference();
    LoadedGroups().erase(groupName);
}

bool Texture::IsGroupLoaded(const std::string& groupName) {
    return LoadedGroups().find(groupName) != LoadedGroups().end();
}

int Texture::GetGroupMemberCount(const std::string& groupName) {
    auto group = GroupMembers().find(groupName);
    return group == GroupMembers().end() ? 0 : static_cast<int>(group->second.size());
}

bool Texture::HasGroup(const std::string& groupName) { return GroupMembers().find(groupName) != GroupMembers().end(); }
