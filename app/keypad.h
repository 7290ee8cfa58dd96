// SPDX-License-Identifier: GPL-3.0-or-later
// The keypad of the calculator window as data: one row per button with its control name,
// caption, place, font, hint, handler name and what the handler does. TCalcMain builds
// the buttons from this table in a loop and chooses each button's behaviour by its
// action, never by its caption.
#pragma once

#include <span>

namespace zentu::app {

// The container a button stands in.
enum class KeyParent { Main, Body, Numeric };

// The font groups of the window.
enum class FontGroup {
    Window,    // "Tahoma", 11 pixels: the window's own font
    Digit,     // "Tahoma" 11 pixels bold, blue text: the digit and operator keys
    Function,  // "Verdana" 9 pixels bold italic: the function keys
    Large,     // "Arial Rounded MT Bold", 19 pixels high: CLR and EXEC
};

enum class KeyAction {
    TypeKey,     // focus step, then post the key `key` with `text` to the focused control
    InsertText,  // focus step, then replace the selection by `text`
    Edit,        // focus step only
    Clear,       // empty the memo, then focus step
    Graph,       // show the graph window modally
    Help,        // show the help window modally
    Exec,        // execute the caret line
};

struct KeyDef {
    const char* name;     // control name (the button's objectName)
    const char* caption;  // "" for the glyph buttons of the arrow cross
    KeyParent parent;
    int left, top, width, height;
    FontGroup font;
    const char* hint;     // "" when the button shows none
    const char* handler;  // the handler the button is bound to
    KeyAction action;
    int key;           // TypeKey: the Qt key code
    bool keypad;       // TypeKey: the key comes from the numeric keypad
    const char* text;  // TypeKey: the key's text; InsertText: the inserted text
    int glyph;         // image of `icons` shown centred, or -1
};

std::span<const KeyDef> KeypadTable();

}  // namespace zentu::app
