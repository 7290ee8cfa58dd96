// SPDX-License-Identifier: GPL-3.0-or-later
// The keypad of the calculator window as data: one row per button with its control name,
// caption, place, font, hint and action. A click travels like this:
//
//   kKeypad (keypad.cpp)  the button's row, e.g. B7: TypeKey, Qt::Key_7 of the keypad
//   TCalcMain::BuildKey   makes the button of each row and connects its click to RunKey
//   TCalcMain::RunKey     does what the row's KeyAction says; for B7 the focus step into
//                         the memo, then SimulateKey posts the key, which the memo types
//                         after the click's handler has returned
//
// Behaviour is chosen by the action, never by the caption. Code that needs one key reaches
// it by its Key, so a key that is renamed or dropped is a compile error.
#pragma once

#include <cstddef>
#include <span>

#include "app/glyphs.h"

namespace zentu::app {

// Every key, in the order of the table; each is named as its control.
// clang-format off
enum class Key {
    // Function keys on Body.
    BEdit, BASin, BPow, BPi, BFact, BInt, BDif,
    BAtan, BACos, Blog, BExp, BLn, bSinh, bCosh,
    BSin, BCos, BTan, BCot, BSqrt, bSech, bCsch,
    // Digit and operator keys on Numeric.
    BP1, BP2, B00, B000,
    B8, B9, B0, BMulti,
    B5, B6, B7, BBolu,
    B2, B3, B4, BEksi,
    B1, BComma, BBackSpace, BArti,
    // Right-hand column of Body.
    BClrEnterFormula, Exec,
    // Text buttons on Main.
    bFlor, bRnd, bDat, bSum,
    bTrunc, bCeil, bPerm, bComb,
    bMod, bDiv, bDSee, bAnswer,
    BGraph, bSqr, bSemiColon, bAbs,
    // Arrow cross on Main.
    BPoint, bRight, bUp, bLeft, bDn,
};
// clang-format on
inline constexpr std::size_t kKeyCount = static_cast<std::size_t>(Key::bDn) + 1;

// The container a button stands in.
enum class KeyParent { Main, Body, Numeric };

// The font groups of the window.
enum class FontGroup {
    Window,    // "Tahoma", 11 pixels: the window's own font
    Digit,     // "Tahoma" 11 pixels bold, blue text: the digit and operator keys
    Function,  // "Verdana" 9 pixels bold italic: the function keys
    Large,     // "Arial Rounded MT Bold", 19 pixels high: CLR and EXEC
};

// What a click on the button does (TCalcMain::RunKey).
enum class KeyAction {
    TypeKey,     // focus step, then post the key `qt_key` with `text` to the focused control
    InsertText,  // focus step, then replace the selection by `text`
    Edit,        // focus step only
    Clear,       // empty the memo, then focus step
    Graph,       // show the graph window modally
    Help,        // show the help window modally
    Exec,        // execute the caret line
};

struct KeyDef {
    Key id;
    const char* name;     // control name (the button's objectName), spelled as `id`
    const char* caption;  // "" for the glyph buttons of the arrow cross
    KeyParent parent;
    int left, top, width, height;
    FontGroup font;
    const char* hint;  // "" when the button shows none
    KeyAction action;
    int qt_key;        // TypeKey: the Qt key code
    bool keypad;       // TypeKey: the key comes from the numeric keypad
    const char* text;  // TypeKey: the key's text; InsertText: the inserted text
    Glyph glyph;       // image of `icons` shown centred
};

std::span<const KeyDef> KeypadTable();
// The row of one key.
const KeyDef& KeyOf(Key id);

}  // namespace zentu::app
