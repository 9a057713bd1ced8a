#pragma once
// An event sent to an event target: a class and a kind (four-character codes
// in the manner of the platform's event classes) and a set of typed
// parameters, each named by a four-character code. Reading a parameter asks
// for a type: a parameter of another type reads as missing.

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

namespace qm::events {

// Four-character code from a literal such as "cmds".
constexpr std::uint32_t FourCC(const char (&s)[5])
{
    return (std::uint32_t(std::uint8_t(s[0])) << 24) | (std::uint32_t(std::uint8_t(s[1])) << 16)
        | (std::uint32_t(std::uint8_t(s[2])) << 8) | std::uint32_t(std::uint8_t(s[3]));
}

// Event classes.
constexpr std::uint32_t kEventClassCommand = FourCC("cmds");
constexpr std::uint32_t kEventClassWindow = FourCC("wind");
constexpr std::uint32_t kEventClassMouse = FourCC("mous");
constexpr std::uint32_t kEventClassKeyboard = FourCC("keyb");
constexpr std::uint32_t kEventClassTextInput = FourCC("text");
constexpr std::uint32_t kEventClassControl = FourCC("cntl");

// Kinds used across the system.
constexpr std::uint32_t kEventCommandProcess = 1;   // command class: a command to carry out
constexpr std::uint32_t kEventWindowClose = 72;     // window class: the window is asked to close
constexpr std::uint32_t kEventMouseWheelMoved = 10; // mouse class
constexpr std::uint32_t kEventTextInputUnicode = 2; // text-input class: typed text

// Parameter names.
constexpr std::uint32_t kParamCommandId = FourCC("cmdi");     // uint32: the command's code
constexpr std::uint32_t kParamMouseLocation = FourCC("mloc"); // Point, global
constexpr std::uint32_t kParamWindowMouseLocation
    = FourCC("wmou");                                        // Point, from the window's top-left corner
constexpr std::uint32_t kParamWheelDelta = FourCC("mwdl");   // int64
constexpr std::uint32_t kParamWheelAxis = FourCC("mwax");    // int64: 0 vertical, 1 horizontal
constexpr std::uint32_t kParamKeyModifiers = FourCC("kmod"); // uint32: modifier bits
constexpr std::uint32_t kParamText = FourCC("tstr");         // std::u16string

// Handler results.
constexpr int kNoErr = 0;
constexpr int kEventNotHandledErr = -9874;

struct Point
{
    int v = 0;
    int h = 0;
};

using ParamValue = std::variant<std::int64_t, std::uint32_t, double, Point, std::string, std::u16string,
    std::vector<std::uint8_t>, void*>;

class Event
{
public:
    Event(std::uint32_t eventClass, std::uint32_t kind) : m_class(eventClass), m_kind(kind) { }

    std::uint32_t Class() const { return m_class; }
    std::uint32_t Kind() const { return m_kind; }

    void SetParam(std::uint32_t name, ParamValue value) { m_params[name] = std::move(value); }
    bool HasParam(std::uint32_t name) const { return m_params.count(name) != 0; }
    bool RemoveParam(std::uint32_t name) { return m_params.erase(name) != 0; }

    // False (out untouched) when the parameter is missing or of another type.
    template <typename T>
    bool GetParam(std::uint32_t name, T& out) const
    {
        auto it = m_params.find(name);
        if (it == m_params.end())
            return false;
        const T* value = std::get_if<T>(&it->second);
        if (!value)
            return false;
        out = *value;
        return true;
    }

private:
    std::uint32_t m_class;
    std::uint32_t m_kind;
    std::map<std::uint32_t, ParamValue> m_params;
};

// An event class and kind that a handler asks for.
struct EventType
{
    std::uint32_t eventClass;
    std::uint32_t kind;
};

} // namespace qm::events
