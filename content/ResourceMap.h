#pragma once
// Resources of one older kind by id, each with its file, its load group and whether it is loaded.

#include <map>
#include <string>
#include <utility>

#include "core/Assert.h"

// How each kind loads and releases; kinds without these are never loaded through the registry.
class RectangleTexture;
class FileSequenceAnimation;
class OldAnimation;
void LoadResource(RectangleTexture* resource, const std::string& path);
void ReleaseResource(RectangleTexture* resource);
void LoadResource(FileSequenceAnimation* resource, const std::string& path);
void ReleaseResource(FileSequenceAnimation* resource);
inline void LoadResource(OldAnimation*, const std::string&) {}
inline void ReleaseResource(OldAnimation*) {}
void DeleteResource(RectangleTexture* resource);
void DeleteResource(FileSequenceAnimation* resource);
void DeleteResource(OldAnimation* resource);

template <class T>
class ResourceMap {
public:
    struct Entry {
        T* resource = nullptr;  // owned
        bool loaded = false;
        std::string path;
        std::string group;
    };

    ResourceMap() = default;
    ResourceMap(const ResourceMap&) = delete;
    ResourceMap& operator=(const ResourceMap&) = delete;
    ~ResourceMap() { DeleteAll(); }

    // Error "Resource '<id>' not found" and null for an unknown id.
    T* Get(const std::string& id) {
        auto found = _resource.find(id);
        if (found == _resource.end()) {
            ReportError("Resource '" + id + "' not found");
            return nullptr;
        }
        return found->second.resource;
    }

    // The first registration of an id stays; a rejected object is deleted. True when added.
    bool Add(const std::pair<std::string, T*>& resource, const std::string& path, const std::string& group) {
        Assert(_resource.find(resource.first) == _resource.end());
        if (_resource.find(resource.first) != _resource.end()) {
            DeleteResource(resource.second);
            return false;
        }
        Entry& entry = _resource[resource.first];
        entry.resource = resource.second;
        entry.path = path;
        entry.group = group;
        return true;
    }

    void Upload(const std::string& id) {
        auto found = _resource.find(id);
        if (found == _resource.end() || found->second.loaded) return;
        found->second.loaded = true;
        LoadResource(found->second.resource, found->second.path);
    }

    void UploadGroup(const std::string& group) {
        for (auto& item : _resource) {
            Entry& entry = item.second;
            if (entry.group != group || entry.loaded) continue;
            entry.loaded = true;
            LoadResource(entry.resource, entry.path);
        }
    }

    void ReleaseGroup(const std::string& group) {
        for (auto& item : _resource) {
            Entry& entry = item.second;
            if (entry.group != group || !entry.loaded) continue;
            entry.loaded = false;
            ReleaseResource(entry.resource);
        }
    }

    bool HasGroup(const std::string& group) const {
        for (const auto& item : _resource) {
            if (item.second.group == group) return true;
        }
        return false;
    }

    bool IsLoaded(const std::string& id) const {
        auto found = _resource.find(id);
        return found != _resource.end() && found->second.loaded;
    }

    // Releases what is loaded and deletes every object, in id order.
    void ReleaseAll() {
        for (auto& item : _resource) {
            if (item.second.loaded) {
                item.second.loaded = false;
                ReleaseResource(item.second.resource);
            }
        }
        DeleteAll();
    }

    std::size_t size() const { return _resource.size(); }

    template <class F>
    void ForEach(F f) {
        for (auto& item : _resource) f(item.first, item.second);
    }

private:
    void DeleteAll() {
        while (!_resource.empty()) {
            T* resource = _resource.begin()->second.resource;
            _resource.erase(_resource.begin());
            DeleteResource(resource);
        }
    }

    std::map<std::string, Entry> _resource;
};
