#pragma once
// The picture interface most of the game draws with, and the registry of texture load groups.

#include <map>
#include <set>
#include <string>

#include "core/Color.h"
#include "core/FPoint.h"
#include "core/Object.h"
#include "core/ObjectSmartPointer.h"
#include "core/Point.h"
#include "core/Rect.h"

// A float rectangle by its edges: texture coordinates as a source, logical coordinates as a destination.
struct FRect {
    float xStart = 0.0f;
    float xEnd = 0.0f;
    float yStart = 0.0f;
    float yEnd = 0.0f;
    FRect() = default;
    FRect(float xStart_, float xEnd_, float yStart_, float yEnd_)
        : xStart(xStart_), xEnd(xEnd_), yStart(yStart_), yEnd(yEnd_) {}
};

struct ColoredPoint {
    float x = 0.0f;
    float y = 0.0f;
    Color color;
    ColoredPoint() = default;
    ColoredPoint(float x_, float y_, const Color& color_) : x(x_), y(y_), color(color_) {}
};

class Texture : public Interface {
public:
    virtual void AddReference() = 0;
    virtual void RemoveReference() = 0;
    virtual void Load() = 0;
    virtual void Unload() = 0;
    virtual Rect GetRectangle() = 0;
    // Only a texture placed inside a transparent area has an inner part.
    virtual Rect GetInnerRectangle();
    virtual void DrawTriangle(float x1, float y1, float x2, float y2, float x3, float y3, float u1, float v1,
                              float u2, float v2, float u3, float v3) = 0;
    // Corners in the order that takes (xStart, yStart), (xEnd, yStart), (xStart, yEnd), (xEnd, yEnd).
    virtual void DrawColoredQuad(const ColoredPoint& p1, const ColoredPoint& p2, const ColoredPoint& p3,
                                 const ColoredPoint& p4, const FRect& src) = 0;
    virtual void DrawQuad(const FPoint& p1, const FPoint& p2, const FPoint& p3, const FPoint& p4,
                          const FRect& src) = 0;
    virtual void Draw(const FRect& dst, const FRect& src) = 0;
    virtual void Draw(const Rect& dst, const FRect& src) = 0;
    virtual void Draw(const FPoint& p) = 0;
    virtual void Draw(const Point& p) = 0;
    virtual void DrawSilhouette(const Rect& dst, const FRect& src) = 0;
    virtual void DrawSilhouette(const Point& p) = 0;
    virtual bool IsPointOpaque(const Point& p) = 0;
    virtual bool IsPointTransparent(const Point& p) = 0;

    // Load groups: every member gets one use while its group is uploaded.
    static void UploadGroup(const std::string& groupName);
    static void ReleaseGroup(const std::string& groupName);
    static bool IsGroupLoaded(const std::string& groupName);
    // Members of the group now; 0 when the group is not in the registry.
    static int GetGroupMemberCount(const std::string& groupName);
    static bool HasGroup(const std::string& groupName);

protected:
    void JoinGroup(const std::string& groupName);
    void LeaveGroup(const std::string& groupName);

private:
    using MemberSet = std::set<ObjectWeakPointer<Texture>>;
    static std::map<std::string, MemberSet>& GroupMembers();
    static std::set<std::string>& LoadedGroups();
};
