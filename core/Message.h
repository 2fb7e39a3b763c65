#pragma once
// A named command with a text parameter (and a number that only scripts set).

#include <cstdint>
#include <string>

class Message {
public:
    explicit Message(std::string name) : _name(std::move(name)) {}
    Message(std::string name, std::string parameter)
        : _name(std::move(name)), _parameter(std::move(parameter)) {}
    Message(std::string name, std::int32_t number) : _name(std::move(name)), _number(number) {}

    std::string GetName() const { return _name; }
    std::string GetParameter() const { return _parameter; }
    std::int32_t GetNumber() const { return _number; }

    bool is(const std::string& name) const { return _name == name; }
    bool is(const std::string& name, const std::string& parameter) const {
        return _name == name && _parameter == parameter;
    }

private:
    std::string _name;
    std::string _parameter;
    std::int32_t _number = 0;
};
