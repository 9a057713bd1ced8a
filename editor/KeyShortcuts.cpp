#include "editor/KeyShortcuts.h"

namespace {

constexpr unsigned int kHome = 1;
constexpr unsigned int kEnter = 3;
constexpr unsigned int kEnd = 4;
constexpr unsigned int kTab = 9;
constexpr unsigned int kPageUp = 11;
constexpr unsigned int kPageDown = 12;
constexpr unsigned int kReturn = 13;
constexpr unsigned int kUndoKey = 26;
constexpr unsigned int kUp = 30;
constexpr unsigned int kDown = 31;
constexpr unsigned int kSpace = 32;
constexpr unsigned int kLastControl = 26;
constexpr unsigned int kDelete = 127;

// The letter in either case, or the control character (0: none).
bool Is(unsigned int key, unsigned int upper, unsigned int control)
{
    return key == upper || key == upper + 0x20 || (control != 0 && key == control);
}

bool TriedAsShortcut(unsigned int key, KeyModifiers held)
{
    return held.command || (key <= kLastControl && key != kTab);
}

} // namespace

KeyAction ShortcutBeforeGuard(unsigned int& key, KeyModifiers held)
{
    if (key == kEnter && !held.command && !held.option && !held.control)
        key = kReturn;
    if (held.control && key == kSpace)
        return KeyAction::ContextMenu;
    if (held.command && Is(key, 'Z', 0))
        return held.shift ? KeyAction::Redo : KeyAction::Undo;
    if (!TriedAsShortcut(key, held))
        return KeyAction::Document;
    if (key == kUndoKey)
        return KeyAction::Undo;
    if ((held.command && Is(key, 'A', 0)) || (key == kHome && held.control))
        return KeyAction::SelectAll;
    if (Is(key, 'C', kEnter))
        return KeyAction::Copy;
    return KeyAction::Document;
}

KeyAction ShortcutAfterGuard(unsigned int& key, unsigned int& flags, KeyModifiers held)
{
    if (key == kEnter)
        key = kReturn;
    if (key == kPageUp)
        return KeyAction::PageUp;
    if (key == kPageDown)
        return KeyAction::PageDown;
    if (TriedAsShortcut(key, held)) {
        if (Is(key, 'V', 22))
            return KeyAction::Paste;
        if (Is(key, 'X', 24))
            return KeyAction::Cut;
        if (Is(key, 'B', 2))
            return KeyAction::Strong;
        if (Is(key, 'I', 0))
            return KeyAction::Em;
        if (Is(key, 'K', 0))
            return KeyAction::Link;
        if (Is(key, 'F', 6))
            return KeyAction::Find;
        if (Is(key, 'H', 0))
            return KeyAction::Replace;
        if (key == kUp || key == kDown) {
            key = key == kUp ? kHome : kEnd;
            flags = 0;
        } else if (held.command && key >= kSpace && key != kDelete) {
            return KeyAction::Ignore;
        }
    }
    if (key == kReturn && held.shift)
        return KeyAction::LineBreak;
    return KeyAction::Document;
}

const char* KeyActionName(KeyAction action)
{
    switch (action) {
    case KeyAction::Document: return "document";
    case KeyAction::ContextMenu: return "context-menu";
    case KeyAction::Undo: return "undo";
    case KeyAction::Redo: return "redo";
    case KeyAction::SelectAll: return "select-all";
    case KeyAction::Copy: return "copy";
    case KeyAction::Paste: return "paste";
    case KeyAction::Cut: return "cut";
    case KeyAction::Strong: return "strong";
    case KeyAction::Em: return "em";
    case KeyAction::Link: return "link";
    case KeyAction::Find: return "find";
    case KeyAction::Replace: return "replace";
    case KeyAction::PageUp: return "page-up";
    case KeyAction::PageDown: return "page-down";
    case KeyAction::LineBreak: return "line-break";
    case KeyAction::Ignore: return "ignore";
    }
    return "document";
}
