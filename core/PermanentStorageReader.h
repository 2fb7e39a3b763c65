#pragma once
// Reads a profile ("Storage.xml") value by value: what it cannot take (an element it does not
// know, a second player or value of one name, a value of no known type or form) is set aside, a
// number past its type's range is clamped, and each is told once in the log with the file, the
// element and the attribute. What was set aside, and the original of every value that was changed,
// is kept in a file beside the profile, so that no later save drops it. A file the XML reader
// refuses is salvaged element by element.

#include <map>
#include <string>
#include <vector>

#include "core/PermanentVariableSet.h"

class PermanentStorageReader {
public:
    // The profile as read.
    struct Profile {
        PermanentVariableSet globals;
        std::map<std::string, PermanentVariableSet> players;
        std::string activePlayerName;
        bool hasActivePlayer = false;
    };

    explicit PermanentStorageReader(const std::string& fileName);

    // Reads a document's root (of the file or of a salvage) into the profile.
    void Read(const ObjectWeakPointer<XmlElement>& root, Profile& profile);
    // Builds a root of every element of the text that the XML reader accepts; the rest is set aside.
    // Null when the text holds no element at all.
    ObjectSmartPointer<XmlElement> Salvage(const std::string& text);

    // Whether anything was set aside or changed and still waits to be kept.
    bool HasPending() const { return !_pending.empty(); }
    // How many parts were set aside or changed since the reader was made.
    int PartCount() const { return _partCount; }
    // Writes what waits into the first free fileName + ".set-aside-" + n and reports each part, once;
    // the file's name. Empty, with the parts still waiting, when it could not be written.
    std::string KeepPending(std::string* failure = nullptr);
    // Where the last parts were kept.
    const std::string& KeptIn() const { return _keptIn; }

private:
    struct Part {
        std::string element;
        std::string attribute;
        std::string reason;
        // The check of the reader that refused it, when there is one.
        std::string check;
        ObjectSmartPointer<XmlElement> copy;
        std::string text;
        // True when the value was read (changed), false when it was left out.
        bool isMended = false;
    };

    void SetAside(const std::string& element, const std::string& attribute, const std::string& reason,
                  const std::string& check, const ObjectWeakPointer<XmlElement>& source, bool isMended = false);
    void SetAsideText(const std::string& element, const std::string& reason, const std::string& text);
    void ReadVariables(const std::string& where, const ObjectWeakPointer<XmlElement>& parent,
                       PermanentVariableSet& set);
    void ReadVariable(const std::string& where, const ObjectWeakPointer<XmlElement>& variable,
                      PermanentVariableSet& set);
    void SalvageChildren(const std::string& text, std::size_t from, std::size_t to, const std::string& where,
                         const ObjectSmartPointer<XmlElement>& parent, int depth);
    void Report(const Part& part, const std::string& keptIn);

    std::string _fileName;
    std::vector<Part> _pending;
    int _partCount = 0;
    std::string _keptIn;
};

// Numbers of a profile in a form other than the program's own.
namespace StoredNumber {
enum class Reading { EXACT, CHANGED, REFUSED };
// The int of the text: its own form, or another decimal form (exponent, fraction, past the range)
// read as the nearest int in range; REFUSED for a text that is no number.
Reading ReadInt(const std::string& text, int& value);
// The float of the text: its own forms (exact or short decimal), or another decimal form clamped to
// the float range (a stored infinity stays one); a not-a-number is read as 0.
Reading ReadFloat(const std::string& text, float& value);
}  // namespace StoredNumber
