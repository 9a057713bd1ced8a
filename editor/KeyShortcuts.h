#pragma once
// The key map's shortcuts as a table: which action a character with the
// modifiers held stands for. Before the edit guard only the shortcuts that
// change nothing are looked up (undo, redo, select all, copy, the context
// menu); after it the editing ones and the page keys. Without Command only
// control characters (up to 26, Tab excepted) are shortcuts; with Command
// every key is tried. Character 1 is Home and Control+A alike: it selects
// all only with Control held.

enum class KeyAction
{
    Document, // no shortcut: the key goes on (possibly changed)
    ContextMenu,
    Undo,
    Redo,
    SelectAll,
    Copy,
    Paste,
    Cut,
    Strong,
    Em,
    Link,
    Find,
    Replace,
    PageUp,
    PageDown,
    LineBreak,
    Ignore, // a character with Command held that stands for no command
};

struct KeyModifiers
{
    bool command = false;
    bool shift = false;
    bool option = false;
    bool control = false;
};

// Before the guard. Enter (3) without Command, Option or Control becomes
// Return (13) in key.
KeyAction ShortcutBeforeGuard(unsigned int& key, KeyModifiers held);
// After the guard. Enter becomes Return; with Command, up and down arrows
// become Home (1) and End (4) with flags 0 and go on to the document. A
// printable character with Command held that is no shortcut is ignored:
// Command+letter is a command key, never typing.
KeyAction ShortcutAfterGuard(unsigned int& key, unsigned int& flags, KeyModifiers held);
// A name for reports and tests ("select-all", "document" ...).
const char* KeyActionName(KeyAction action);
