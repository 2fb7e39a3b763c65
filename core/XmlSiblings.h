#pragma once
// The sibling chain that nodes and attributes keep: the link to the next one is weak, the link to
// the previous one owns it. The checks' texts name the members after the kind ("Node", "Attribute").

#include <string>

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
        ObjectSmartPointer<T> current = self->*prev;
        self->*prev = nullptr;
        while (current.Get() != nullptr && current.GetLinkInfo()->_hardLinkCount == 1) {
            ObjectSmartPointer<T> previous = current.Get()->*prev;
            current.Get()->*prev = nullptr;
            current = previous;
        }
        current = nullptr;
        self->*next = nullptr;
    }

    void InsertBefore(T* self, const ObjectSmartPointer<T>& newOne) const {
        T* one = newOne.operator->();
        XmlCheck(one->*next == NULL, Text("new@->_next@ == NULL"));
        XmlCheck(one->*prev == NULL, Text("new@->_prev@ == NULL"));
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
};

}  // namespace XmlSiblings
