// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/keypad.h"

#include <Qt>
#include <iterator>

namespace zentu::app {

namespace {

// A row's key and its control name, spelled the same.
#define KEY(id) Key::id, #id

// clang-format off
constexpr KeyDef kKeypad[] = {
    // Function keys on Body.
    {KEY(BEdit), "Edit", KeyParent::Body, 3, 4, 38, 25, FontGroup::Function, "", KeyAction::Edit, 0, false, "", NoGlyph},
    {KEY(BASin), "ASIN", KeyParent::Body, 41, 4, 38, 25, FontGroup::Function, "", KeyAction::InsertText, 0, false, "asin(", NoGlyph},
    {KEY(BPow), "POW", KeyParent::Body, 79, 4, 38, 25, FontGroup::Function, "", KeyAction::InsertText, 0, false, "^", NoGlyph},
    {KEY(BPi), "PI", KeyParent::Body, 117, 4, 38, 25, FontGroup::Function, "", KeyAction::InsertText, 0, false, "Pi", NoGlyph},
    {KEY(BFact), "(!)", KeyParent::Body, 155, 4, 38, 25, FontGroup::Function, "", KeyAction::InsertText, 0, false, "!", NoGlyph},
    {KEY(BInt), "INT", KeyParent::Body, 193, 4, 38, 25, FontGroup::Function, "integral[ f(x) ;  x  ;  a  ;  b  ;  n) ]", KeyAction::InsertText, 0, false, "int(", NoGlyph},
    {KEY(BDif), "DIF", KeyParent::Body, 231, 4, 38, 25, FontGroup::Function, "dif [ f(x) ;  x  ;  a  ;  n) ]", KeyAction::InsertText, 0, false, "dif(", NoGlyph},
    {KEY(BAtan), "ATAN", KeyParent::Body, 3, 28, 38, 25, FontGroup::Function, "", KeyAction::InsertText, 0, false, "atan(", NoGlyph},
    {KEY(BACos), "ACOS", KeyParent::Body, 41, 28, 38, 25, FontGroup::Function, "", KeyAction::InsertText, 0, false, "acos(", NoGlyph},
    {KEY(Blog), "LOG", KeyParent::Body, 79, 28, 38, 25, FontGroup::Function, "", KeyAction::InsertText, 0, false, "log(", NoGlyph},
    {KEY(BExp), "EXP", KeyParent::Body, 117, 28, 38, 25, FontGroup::Function, "", KeyAction::InsertText, 0, false, "exp(", NoGlyph},
    {KEY(BLn), "LN", KeyParent::Body, 155, 28, 38, 25, FontGroup::Function, "", KeyAction::InsertText, 0, false, "ln(", NoGlyph},
    {KEY(bSinh), "SINH", KeyParent::Body, 193, 28, 38, 25, FontGroup::Function, "", KeyAction::InsertText, 0, false, "sinh(", NoGlyph},
    {KEY(bCosh), "COSH", KeyParent::Body, 231, 28, 38, 25, FontGroup::Function, "", KeyAction::InsertText, 0, false, "cosh(", NoGlyph},
    {KEY(BSin), "SIN", KeyParent::Body, 3, 52, 38, 25, FontGroup::Function, "", KeyAction::InsertText, 0, false, "sin(", NoGlyph},
    {KEY(BCos), "COS", KeyParent::Body, 41, 52, 38, 25, FontGroup::Function, "", KeyAction::InsertText, 0, false, "cos(", NoGlyph},
    {KEY(BTan), "TAN", KeyParent::Body, 79, 52, 38, 25, FontGroup::Function, "", KeyAction::InsertText, 0, false, "tan(", NoGlyph},
    {KEY(BCot), "COT", KeyParent::Body, 117, 52, 38, 25, FontGroup::Function, "", KeyAction::InsertText, 0, false, "cot(", NoGlyph},
    {KEY(BSqrt), "SQRT", KeyParent::Body, 155, 52, 38, 25, FontGroup::Function, "", KeyAction::InsertText, 0, false, "sqrt(", NoGlyph},
    {KEY(bSech), "SECH", KeyParent::Body, 193, 52, 38, 25, FontGroup::Function, "", KeyAction::InsertText, 0, false, "sech(", NoGlyph},
    {KEY(bCsch), "CSCH", KeyParent::Body, 231, 52, 38, 25, FontGroup::Function, "", KeyAction::InsertText, 0, false, "csch(", NoGlyph},
    // Digit and operator keys on Numeric: digits, operators and "." are typed as keys.
    {KEY(BP1), "(", KeyParent::Numeric, 2, 4, 35, 25, FontGroup::Digit, "", KeyAction::InsertText, 0, false, "(", NoGlyph},
    {KEY(BP2), ")", KeyParent::Numeric, 37, 4, 35, 25, FontGroup::Digit, "", KeyAction::InsertText, 0, false, ")", NoGlyph},
    {KEY(B00), ";", KeyParent::Numeric, 72, 4, 35, 25, FontGroup::Digit, "", KeyAction::InsertText, 0, false, ";", NoGlyph},
    {KEY(B000), "000", KeyParent::Numeric, 113, 4, 35, 25, FontGroup::Digit, "", KeyAction::InsertText, 0, false, "000", NoGlyph},
    {KEY(B8), "8", KeyParent::Numeric, 2, 29, 35, 25, FontGroup::Digit, "", KeyAction::TypeKey, Qt::Key_8, true, "8", NoGlyph},
    {KEY(B9), "9", KeyParent::Numeric, 37, 29, 35, 25, FontGroup::Digit, "", KeyAction::TypeKey, Qt::Key_9, true, "9", NoGlyph},
    {KEY(B0), "0", KeyParent::Numeric, 72, 29, 35, 25, FontGroup::Digit, "", KeyAction::TypeKey, Qt::Key_0, true, "0", NoGlyph},
    {KEY(BMulti), "*", KeyParent::Numeric, 113, 29, 35, 25, FontGroup::Digit, "", KeyAction::TypeKey, Qt::Key_Asterisk, true, "*", NoGlyph},
    {KEY(B5), "5", KeyParent::Numeric, 2, 54, 35, 25, FontGroup::Digit, "", KeyAction::TypeKey, Qt::Key_5, true, "5", NoGlyph},
    {KEY(B6), "6", KeyParent::Numeric, 37, 54, 35, 25, FontGroup::Digit, "", KeyAction::TypeKey, Qt::Key_6, true, "6", NoGlyph},
    {KEY(B7), "7", KeyParent::Numeric, 72, 54, 35, 25, FontGroup::Digit, "", KeyAction::TypeKey, Qt::Key_7, true, "7", NoGlyph},
    {KEY(BBolu), "/", KeyParent::Numeric, 113, 54, 35, 25, FontGroup::Digit, "", KeyAction::TypeKey, Qt::Key_Slash, true, "/", NoGlyph},
    {KEY(B2), "2", KeyParent::Numeric, 2, 79, 35, 25, FontGroup::Digit, "", KeyAction::TypeKey, Qt::Key_2, true, "2", NoGlyph},
    {KEY(B3), "3", KeyParent::Numeric, 37, 79, 35, 25, FontGroup::Digit, "", KeyAction::TypeKey, Qt::Key_3, true, "3", NoGlyph},
    {KEY(B4), "4", KeyParent::Numeric, 72, 79, 35, 25, FontGroup::Digit, "", KeyAction::TypeKey, Qt::Key_4, true, "4", NoGlyph},
    {KEY(BEksi), "-", KeyParent::Numeric, 113, 79, 35, 25, FontGroup::Digit, "", KeyAction::TypeKey, Qt::Key_Minus, true, "-", NoGlyph},
    {KEY(B1), "1", KeyParent::Numeric, 2, 104, 35, 25, FontGroup::Digit, "", KeyAction::TypeKey, Qt::Key_1, true, "1", NoGlyph},
    {KEY(BComma), ".", KeyParent::Numeric, 37, 104, 35, 25, FontGroup::Digit, "", KeyAction::TypeKey, Qt::Key_Period, false, ".", NoGlyph},
    {KEY(BBackSpace), "C", KeyParent::Numeric, 72, 104, 35, 25, FontGroup::Digit, "", KeyAction::TypeKey, Qt::Key_Backspace, false, "\b", NoGlyph},
    {KEY(BArti), "+", KeyParent::Numeric, 113, 104, 35, 25, FontGroup::Digit, "", KeyAction::TypeKey, Qt::Key_Plus, true, "+", NoGlyph},
    // Right-hand column of Body (DecNum, the scroll bar above them, is built apart).
    {KEY(BClrEnterFormula), "CLR", KeyParent::Body, 165, 114, 103, 25, FontGroup::Large, "", KeyAction::Clear, 0, false, "", NoGlyph},
    {KEY(Exec), "EXEC", KeyParent::Body, 165, 139, 104, 78, FontGroup::Large, "", KeyAction::Exec, 0, false, "", NoGlyph},
    // Text buttons on Main, between the memo and Body.
    {KEY(bFlor), "FLOOR", KeyParent::Main, 5, 195, 40, 25, FontGroup::Window, "Aşağı yuvarla", KeyAction::InsertText, 0, false, "flor(", NoGlyph},
    {KEY(bRnd), "RND", KeyParent::Main, 45, 195, 40, 25, FontGroup::Window, "Yuvarla", KeyAction::InsertText, 0, false, "rnd(", NoGlyph},
    {KEY(bDat), "DAT", KeyParent::Main, 200, 195, 40, 25, FontGroup::Window, "Veri dizisi tanımla", KeyAction::InsertText, 0, false, "DAT(", NoGlyph},
    {KEY(bSum), "SUM", KeyParent::Main, 240, 195, 40, 25, FontGroup::Window, "Topla", KeyAction::InsertText, 0, false, "SUM()", NoGlyph},
    {KEY(bTrunc), "TRUNC", KeyParent::Main, 5, 218, 40, 25, FontGroup::Window, "Ondalık kes", KeyAction::InsertText, 0, false, "trnc(", NoGlyph},
    {KEY(bCeil), "CEIL", KeyParent::Main, 45, 218, 40, 25, FontGroup::Window, "Yukarı yuvarla", KeyAction::InsertText, 0, false, "ceil(", NoGlyph},
    {KEY(bPerm), "Perm", KeyParent::Main, 200, 218, 40, 25, FontGroup::Window, "Permütasyon", KeyAction::InsertText, 0, false, "Per(", NoGlyph},
    {KEY(bComb), "Comb", KeyParent::Main, 240, 218, 40, 25, FontGroup::Window, "Kombinasyon", KeyAction::InsertText, 0, false, "Com(", NoGlyph},
    {KEY(bMod), "MOD", KeyParent::Main, 5, 241, 40, 25, FontGroup::Window, "Bölmeden kalan", KeyAction::InsertText, 0, false, "mod(", NoGlyph},
    {KEY(bDiv), "DIV", KeyParent::Main, 45, 241, 40, 25, FontGroup::Window, "Tam bölme", KeyAction::InsertText, 0, false, "div(", NoGlyph},
    {KEY(bDSee), "DSEE", KeyParent::Main, 200, 242, 40, 25, FontGroup::Window, "Veri dizisi tanımla", KeyAction::InsertText, 0, false, "DSEE()", NoGlyph},
    {KEY(bAnswer), "ANS", KeyParent::Main, 240, 242, 40, 25, FontGroup::Window, "Önceki sonuç", KeyAction::InsertText, 0, false, "ANS()", NoGlyph},
    {KEY(BGraph), "Graph", KeyParent::Main, 5, 264, 40, 25, FontGroup::Window, "Grafik ekran", KeyAction::Graph, 0, false, "", NoGlyph},
    {KEY(bSqr), "SQR", KeyParent::Main, 45, 264, 40, 25, FontGroup::Window, "Kare al", KeyAction::InsertText, 0, false, "sqr(", NoGlyph},
    {KEY(bSemiColon), "DAVG", KeyParent::Main, 200, 266, 40, 25, FontGroup::Window, "Aritmetik ortalama", KeyAction::InsertText, 0, false, "DAVG()", NoGlyph},
    {KEY(bAbs), "ABS", KeyParent::Main, 240, 266, 40, 25, FontGroup::Window, "Mutlak değer", KeyAction::InsertText, 0, false, "ABS(", NoGlyph},
    // Arrow cross on Main. The horizontal pair is bound crosswise by name: bRight stands
    // on the left, shows the left chevron and sends Left; bLeft is its mirror.
    {KEY(BPoint), "", KeyParent::Main, 125, 186, 34, 34, FontGroup::Window, "Yukarı", KeyAction::TypeKey, Qt::Key_Up, false, "", GlyphUp},
    {KEY(bRight), "", KeyParent::Main, 90, 222, 34, 34, FontGroup::Window, "Sağ", KeyAction::TypeKey, Qt::Key_Left, false, "", GlyphLeft},
    {KEY(bUp), "", KeyParent::Main, 125, 222, 34, 34, FontGroup::Window, "Yardım", KeyAction::Help, 0, false, "", GlyphBall},
    {KEY(bLeft), "", KeyParent::Main, 160, 222, 34, 34, FontGroup::Window, "Sol", KeyAction::TypeKey, Qt::Key_Right, false, "", GlyphRight},
    {KEY(bDn), "", KeyParent::Main, 125, 258, 34, 34, FontGroup::Window, "Aşağı", KeyAction::TypeKey, Qt::Key_Down, false, "", GlyphDown},
};
// clang-format on
#undef KEY

// Row i holds the key numbered i, so KeyOf is an index and every key has its row.
constexpr bool RowsFollowTheKeys() {
    if (std::size(kKeypad) != kKeyCount) return false;
    for (std::size_t i = 0; i < kKeyCount; ++i)
        if (kKeypad[i].id != static_cast<Key>(i)) return false;
    return true;
}
static_assert(RowsFollowTheKeys(), "the keypad table lists every Key once, in the order of Key");

}  // namespace

std::span<const KeyDef> KeypadTable() {
    return kKeypad;
}

const KeyDef& KeyOf(Key id) {
    return kKeypad[static_cast<std::size_t>(id)];
}

}  // namespace zentu::app
