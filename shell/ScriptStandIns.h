#pragma once
// STAND-INS: script-facing pieces whose real classes are being built elsewhere. Each block names
// what replaces it; the script names and signatures stay, only the bound type or call changes.

#include <string>

namespace ScriptStandIn {

// Until the path normaliser of the file helpers: backslashes become slashes.
std::string ContentPath(const std::string& fileName);

// Until the geometry values: Point and Color with the script constructors.
struct Point {
    Point(int x_, int y_) : x(x_), y(y_) {}
    int x = 0;
    int y = 0;
};

struct Color {
    // Each value keeps its low 8 bits.
    Color(int r, int g, int b, int a)
        : blue(static_cast<unsigned char>(b)),
          green(static_cast<unsigned char>(g)),
          red(static_cast<unsigned char>(r)),
          alpha(static_cast<unsigned char>(a)) {}
    Color(int r, int g, int b) : Color(r, g, b, 255) {}
    unsigned char blue = 0;
    unsigned char green = 0;
    unsigned char red = 0;
    unsigned char alpha = 255;
};

// Until the message server: Message and the three messaging functions.
class Message {
public:
    explicit Message(const std::string& name) : _name(name) {}
    Message(const std::string& name, const std::string& parameter) : _name(name), _parameter(parameter) {}
    Message(const std::string& name, int number) : _name(name), _number(number) {}
    std::string GetName() const { return _name; }
    std::string GetParameter() const { return _parameter; }
    int GetNumber() const { return _number; }
    bool is(const std::string& name) const { return _name == name; }
    bool is(const std::string& name, const std::string& parameter) const {
        return _name == name && _parameter == parameter;
    }

private:
    std::string _name;
    std::string _parameter;
    int _number = 0;
};

bool IsReceiver(const std::string& receiverName);
std::string SendMessageReply(const std::string& receiverName, const std::string& message);
void SendMessage(const std::string& receiverName, const std::string& message);

// Until the persistent storage: the functions of the table "PermanentStorage".
struct PermanentStorage {
    static void SetGlobalInt(const std::string& name, int value);
    static void SetGlobalBool(const std::string& name, bool value);
    static void SetGlobalFloat(const std::string& name, float value);
    static void SetGlobalString(const std::string& name, const std::string& value);
    static int GetGlobalInt(const std::string& name);
    static bool GetGlobalBool(const std::string& name);
    static float GetGlobalFloat(const std::string& name);
    static std::string GetGlobalString(const std::string& name);
    static int GetGlobalIntOrDef(const std::string& name, int value);
    static bool GetGlobalBoolOrDef(const std::string& name, bool value);
    static float GetGlobalFloatOrDef(const std::string& name, float value);
    static std::string GetGlobalStringOrDef(const std::string& name, const std::string& value);
    static bool IsGlobalNameDefined(const std::string& name);
    static void UndefGlobalName(const std::string& name);
    static void SetLocalInt(const std::string& name, int value);
    static void SetLocalBool(const std::string& name, bool value);
    static void SetLocalFloat(const std::string& name, float value);
    static void SetLocalString(const std::string& name, const std::string& value);
    static int GetLocalInt(const std::string& name);
    static bool GetLocalBool(const std::string& name);
    static float GetLocalFloat(const std::string& name);
    static std::string GetLocalString(const std::string& name);
    static int GetLocalIntOrDef(const std::string& name, int value);
    static bool GetLocalBoolOrDef(const std::string& name, bool value);
    static float GetLocalFloatOrDef(const std::string& name, float value);
    static std::string GetLocalStringOrDef(const std::string& name, const std::string& value);
    static bool IsLocalNameDefined(const std::string& name);
    static void UndefLocalName(const std::string& name);
    static std::string GetActivePlayerName();
    static bool DoesPlayerExist(const std::string& name);
    static void SetActivePlayer(const std::string& name);
    static void BackupActivePlayer(const std::string& suffix);
    static void Commit();
    static void CreatePlayer(const std::string& name);
    static void RenamePlayer(const std::string& oldName, const std::string& newName);
    static void DeleteInactivePlayers();
};

// Until the sound system: the class "SoundSystem" and the object "Sound".
class SoundSystem {
public:
    void PlaySample(const std::string& id);
    void PlaySampleEx(const std::string& id, int pan, bool loop);
    void FadeInTrack(const std::string& id, float time, bool loop);
    void FadeOutTrack(const std::string& id, float time);
    void FadeOutAllTracks(float time);
    void DelayPlayTrack(const std::string& id, float delay, float time, bool loop);
    void PlayTrack(const std::string& id, bool loop);
    void SetSoundVolume(int volume);
    void SetMusicVolume(int volume);
    void SetLowVolumeTime(float fadeTime, float lowTime);
};
SoundSystem& GetSoundSystem();

// Until the content subsystem connects its classes (ScriptServices): "Spline", "Effect",
// "IController", "ControllerManager" and the object "kernel".
class Spline {
public:
    void addKey(float value);
    float getFrame(int sector, float t);
    float getGlobalFrame(float p);
    float getGradient(int sector, float t);
    int getSectors();
    void Clear();
    void CalculateGradient(bool cyclic);
};

class Effect {};
class IController {};

class ControllerManager {
public:
    void addController(IController& controller);
};
ControllerManager& GetControllerManager();

}  // namespace ScriptStandIn
