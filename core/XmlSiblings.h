#pragma once
// The sibling chain that nodes and attributes keep: the link to the next one is weak, the link to
// the previous one owns it. The checks' texts name the members after the kind ("Node", "Attribute").

#include <string>
#include <utility>

#include "core/Assert.h"
#include "core/ObjectSmartPointer.h"
#include "core/XmlUtil.h"

namespace XmlSiblings {

template <class T>
struct Chain {
    ObjectWeakPointer<T> T::*next = nullptr;
    ObjectSmartPointer<T> T::*prev = nullptr;
    const char* kind = "";

    // The pattern with each '@' replaced by the kind.
    std::string Text(const char* pattern) const {
        std::string text;
        for (const char* c = pattern; *c != '\0'; ++c) {
            if (*c == '@') {
                text += kind;
            } else {
                text += *c;
            }
        }
        return text;
    }

    // Releases the predecessors one by one, so a long chain does not recurse.
    void Release(T* self) const {
        ObjectSmartPointer<T> current = std::move(self->*prev);
        while (current.Get() != nullptr && current.GetLinkInfo()->_hardLinkCount == 1) {
            ObjectSmartPointer<T> previous = std::move(current.Get()->*prev);
            // The predecessor and its counts are fetched while the current one goes.
            __builtin_prefetch(previous.Get(), 1);
            __builtin_prefetch(previous.GetLinkInfo(), 1);
            current = std::move(previous);
        }
        current = nullptr;
        self->*next = nullptr;
    }

    // Puts a new one that has no neighbours before self, taking over the caller's hold on it.
    void LinkBefore(T* self, ObjectSmartPointer<T>&& newOne) const {
        T* one = newOne.Get();
        if (one != nullptr && IsPlainLink(self, one)) {
            PlainLink(self, one, std::move(newOne));
        } else {
            InsertBefore(self, newOne);
        }
    }

    void InsertBefore(T* self, const ObjectSmartPointer<T>& newOne) const {
        T* one = newOne.operator->();
        XmlCheck(one->*next == NULL, Text("new@->_next@ == NULL"));
        XmlCheck(one->*prev == NULL, Text("new@->_prev@ == NULL"));
        if (IsPlainLink(self, one)) {
            PlainLink(self, one, ObjectSmartPointer<T>(newOne));
            return;
        }
        one->*next = ObjectWeakPointer<T>(self);
        one->*prev = self->*prev;
        if ((self->*prev).Get() != nullptr) {
            XmlCheck(((self->*prev).Get()->*next).AsObjectAddress() == self, Text("_prev@->_next@ == this@"));
            (self->*prev).Get()->*next = ObjectWeakPointer<T>(one);
        }
        self->*prev = newOne;
    }

    // Puts the new one in self's place; isEndChecked first checks that self has both neighbours.
    ObjectWeakPointer<T> Replace(T* self, const ObjectSmartPointer<T>& newOne, bool isEndChecked) const {
        if (isEndChecked) {
            XmlCheck(self->*next != NULL, Text("_next@ != NULL"));
            XmlCheck(self->*prev != NULL, Text("_prev@ != NULL"));
        }
        T* one = newOne.operator->();
        T* following = (self->*next).operator->();
        T* preceding = (self->*prev).operator->();
        XmlCheck((following->*prev).AsObjectAddress() == self, Text("_next@->_prev@ == this@"));
        XmlCheck((preceding->*next).AsObjectAddress() == self, Text("_prev@->_next@ == this@"));
        one->*next = self->*next;
        one->*prev = self->*prev;
        preceding->*next = ObjectWeakPointer<T>(one);
        following->*prev = newOne;
        return ObjectWeakPointer<T>(one);
    }

    ObjectSmartPointer<T> Remove(T* self) const {
        XmlCheck(self->*next != NULL, Text("_next@ != NULL"));
        XmlCheck(self->*prev != NULL, Text("_prev@ != NULL"));
        T* following = (self->*next).operator->();
        T* preceding = (self->*prev).operator->();
        XmlCheck((following->*prev).AsObjectAddress() == self, Text("_next@->_prev@ == this@Weak"));
        XmlCheck((preceding->*next).AsObjectAddress() == self, Text("_prev@->_next@ == this@Weak"));
        ObjectSmartPointer<T> removed = following->*prev;
        preceding->*next = self->*next;
        following->*prev = self->*prev;
        self->*next = nullptr;
        self->*prev = nullptr;
        return removed;
    }

private:
    // The new one has no neighbours and self's predecessor links to self.
    bool IsPlainLink(T* self, T* one) const {
        T* preceding = (self->*prev).Get();
        return (one->*next).Get() == nullptr && (one->*prev).Get() == nullptr && preceding != nullptr &&
               (preceding->*next).AsObjectAddress() == self;
    }

    // The predecessor's weak link to self becomes the new one's, so only the new one's counts change.
    void PlainLink(T* self, T* one, ObjectSmartPointer<T>&& hold) const {
        ObjectSmartPointer<T>& before = self->*prev;
        T* preceding = before.Get();
        one->*next = std::move(preceding->*next);
        preceding->*next = ObjectWeakPointer<T>(one);
        one->*prev = std::move(before);
        before = std::move(hold);
    }
};

}  // namespace XmlSiblings
