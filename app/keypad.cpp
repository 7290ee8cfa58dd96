// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/keypad.h"

#include <Qt>

#include "app/glyphs.h"

namespace zentu::app {

namespace {

// clang-format off
constexpr KeyDef kKeypad[] = {
    // Function keys on Body.
    {"BEdit", "Edit", KeyParent::Body, 3, 4, 38, 25, FontGroup::Function, "", "EnterFormulaEnter", KeyAction::Edit, 0, false, "", -1},
    {"BASin", "ASIN", KeyParent::Body, 41, 4, 38, 25, FontGroup::Function, "", "BASinClick", KeyAction::InsertText, 0, false, "asin(", -1},
    {"BPow", "POW", KeyParent::Body, 79, 4, 38, 25, FontGroup::Function, "", "BPowClick", KeyAction::InsertText, 0, false, "^", -1},
    {"BPi", "PI", KeyParent::Body, 117, 4, 38, 25, FontGroup::Function, "", "BPiClick", KeyAction::InsertText, 0, false, "Pi", -1},
    {"BFact", "(!)", KeyParent::Body, 155, 4, 38, 25, FontGroup::Function, "", "BFactClick", KeyAction::InsertText, 0, false, "!", -1},
    {"BInt", "INT", KeyParent::Body, 193, 4, 38, 25, FontGroup::Function, "integral[ f(x) ;  x  ;  a  ;  b  ;  n) ]", "BIntClick", KeyAction::InsertText, 0, false, "int(", -1},
    {"BDif", "DIF", KeyParent::Body, 231, 4, 38, 25, FontGroup::Function, "dif [ f(x) ;  x  ;  a  ;  n) ]", "BDifClick", KeyAction::InsertText, 0, false, "dif(", -1},
    {"BAtan", "ATAN", KeyParent::Body, 3, 28, 38, 25, FontGroup::Function, "", "BAtanClick", KeyAction::InsertText, 0, false, "atan(", -1},
    {"BACos", "ACOS", KeyParent::Body, 41, 28, 38, 25, FontGroup::Function, "", "BACosClick", KeyAction::InsertText, 0, false, "acos(", -1},
    {"Blog", "LOG", KeyParent::Body, 79, 28, 38, 25, FontGroup::Function, "", "BlogClick", KeyAction::InsertText, 0, false, "log(", -1},
    {"BExp", "EXP", KeyParent::Body, 117, 28, 38, 25, FontGroup::Function, "", "BExpClick", KeyAction::InsertText, 0, false, "exp(", -1},
    {"BLn", "LN", KeyParent::Body, 155, 28, 38, 25, FontGroup::Function, "", "BLnClick", KeyAction::InsertText, 0, false, "ln(", -1},
    {"bSinh", "SINH", KeyParent::Body, 193, 28, 38, 25, FontGroup::Function, "", "bSinhClick", KeyAction::InsertText, 0, false, "sinh(", -1},
    {"bCosh", "COSH", KeyParent::Body, 231, 28, 38, 25, FontGroup::Function, "", "bCoshClick", KeyAction::InsertText, 0, false, "cosh(", -1},
    {"BSin", "SIN", KeyParent::Body, 3, 52, 38, 25, FontGroup::Function, "", "BSinClick", KeyAction::InsertText, 0, false, "sin(", -1},
    {"BCos", "COS", KeyParent::Body, 41, 52, 38, 25, FontGroup::Function, "", "BCosClick", KeyAction::InsertText, 0, false, "cos(", -1},
    {"BTan", "TAN", KeyParent::Body, 79, 52, 38, 25, FontGroup::Function, "", "BTanClick", KeyAction::InsertText, 0, false, "tan(", -1},
    {"BCot", "COT", KeyParent::Body, 117, 52, 38, 25, FontGroup::Function, "", "BCotClick", KeyAction::InsertText, 0, false, "cot(", -1},
    {"BSqrt", "SQRT", KeyParent::Body, 155, 52, 38, 25, FontGroup::Function, "", "BSqrtClick", KeyAction::InsertText, 0, false, "sqrt(", -1},
    {"bSech", "SECH", KeyParent::Body, 193, 52, 38, 25, FontGroup::Function, "", "bSechClick", KeyAction::InsertText, 0, false, "sech(", -1},
    {"bCsch", "CSCH", KeyParent::Body, 231, 52, 38, 25, FontGroup::Function, "", "bCschClick", KeyAction::InsertText, 0, false, "csch(", -1},
    // Digit and operator keys on Numeric: digits, operators and "." are typed as keys.
    {"BP1", "(", KeyParent::Numeric, 2, 4, 35, 25, FontGroup::Digit, "", "BP1Click", KeyAction::InsertText, 0, false, "(", -1},
    {"BP2", ")", KeyParent::Numeric, 37, 4, 35, 25, FontGroup::Digit, "", "BP2Click", KeyAction::InsertText, 0, false, ")", -1},
    {"B00", ";", KeyParent::Numeric, 72, 4, 35, 25, FontGroup::Digit, "", "BSemiColonClick", KeyAction::InsertText, 0, false, ";", -1},
    {"B000", "000", KeyParent::Numeric, 113, 4, 35, 25, FontGroup::Digit, "", "B000Click", KeyAction::InsertText, 0, false, "000", -1},
    {"B8", "8", KeyParent::Numeric, 2, 29, 35, 25, FontGroup::Digit, "", "B8Click", KeyAction::TypeKey, Qt::Key_8, true, "8", -1},
    {"B9", "9", KeyParent::Numeric, 37, 29, 35, 25, FontGroup::Digit, "", "B9Click", KeyAction::TypeKey, Qt::Key_9, true, "9", -1},
    {"B0", "0", KeyParent::Numeric, 72, 29, 35, 25, FontGroup::Digit, "", "B0Click", KeyAction::TypeKey, Qt::Key_0, true, "0", -1},
    {"BMulti", "*", KeyParent::Numeric, 113, 29, 35, 25, FontGroup::Digit, "", "BMultiClick", KeyAction::TypeKey, Qt::Key_Asterisk, true, "*", -1},
    {"B5", "5", KeyParent::Numeric, 2, 54, 35, 25, FontGroup::Digit, "", "B5Click", KeyAction::TypeKey, Qt::Key_5, true, "5", -1},
    {"B6", "6", KeyParent::Numeric, 37, 54, 35, 25, FontGroup::Digit, "", "B6Click", KeyAction::TypeKey, Qt::Key_6, true, "6", -1},
    {"B7", "7", KeyParent::Numeric, 72, 54, 35, 25, FontGroup::Digit, "", "B7Click", KeyAction::TypeKey, Qt::Key_7, true, "7", -1},
    {"BBolu", "/", KeyParent::Numeric, 113, 54, 35, 25, FontGroup::Digit, "", "BBoluClick", KeyAction::TypeKey, Qt::Key_Slash, true, "/", -1},
    {"B2", "2", KeyParent::Numeric, 2, 79, 35, 25, FontGroup::Digit, "", "B2Click", KeyAction::TypeKey, Qt::Key_2, true, "2", -1},
    {"B3", "3", KeyParent::Numeric, 37, 79, 35, 25, FontGroup::Digit, "", "B3Click", KeyAction::TypeKey, Qt::Key_3, true, "3", -1},
    {"B4", "4", KeyParent::Numeric, 72, 79, 35, 25, FontGroup::Digit, "", "B4Click", KeyAction::TypeKey, Qt::Key_4, true, "4", -1},
    {"BEksi", "-", KeyParent::Numeric, 113, 79, 35, 25, FontGroup::Digit, "", "BEksiClick", KeyAction::TypeKey, Qt::Key_Minus, true, "-", -1},
    {"B1", "1", KeyParent::Numeric, 2, 104, 35, 25, FontGroup::Digit, "", "B1Click", KeyAction::TypeKey, Qt::Key_1, true, "1", -1},
    {"BComma", ".", KeyParent::Numeric, 37, 104, 35, 25, FontGroup::Digit, "", "BCommaClick", KeyAction::TypeKey, Qt::Key_Period, false, ".", -1},
    {"BBackSpace", "C", KeyParent::Numeric, 72, 104, 35, 25, FontGroup::Digit, "", "BBackSpaceClick", KeyAction::TypeKey, Qt::Key_Backspace, false, "\b", -1},
    {"BArti", "+", KeyParent::Numeric, 113, 104, 35, 25, FontGroup::Digit, "", "BArtiClick", KeyAction::TypeKey, Qt::Key_Plus, true, "+", -1},
    // Right-hand column of Body (DecNum, the scroll bar above them, is built apart).
    {"BClrEnterFormula", "CLR", KeyParent::Body, 165, 114, 103, 25, FontGroup::Large, "", "BClrEnterFormulaClick", KeyAction::Clear, 0, false, "", -1},
    {"Exec", "EXEC", KeyParent::Body, 165, 139, 104, 78, FontGroup::Large, "", "ExecClick", KeyAction::Exec, 0, false, "", -1},
    // Text buttons on Main, between the memo and Body.
    {"bFlor", "FLOOR", KeyParent::Main, 5, 195, 40, 25, FontGroup::Window, "Aşağı yuvarla", "bFlorClick", KeyAction::InsertText, 0, false, "flor(", -1},
    {"bRnd", "RND", KeyParent::Main, 45, 195, 40, 25, FontGroup::Window, "Yuvarla", "bRndClick", KeyAction::InsertText, 0, false, "rnd(", -1},
    {"bDat", "DAT", KeyParent::Main, 200, 195, 40, 25, FontGroup::Window, "Veri dizisi tanımla", "bDatClick", KeyAction::InsertText, 0, false, "DAT(", -1},
    {"bSum", "SUM", KeyParent::Main, 240, 195, 40, 25, FontGroup::Window, "Topla", "bSumClick", KeyAction::InsertText, 0, false, "SUM()", -1},
    {"bTrunc", "TRUNC", KeyParent::Main, 5, 218, 40, 25, FontGroup::Window, "Ondalık kes", "bTruncClick", KeyAction::InsertText, 0, false, "trnc(", -1},
    {"bCeil", "CEIL", KeyParent::Main, 45, 218, 40, 25, FontGroup::Window, "Yukarı yuvarla", "bCeilClick", KeyAction::InsertText, 0, false, "ceil(", -1},
    {"bPerm", "Perm", KeyParent::Main, 200, 218, 40, 25, FontGroup::Window, "Permütasyon", "bPermClick", KeyAction::InsertText, 0, false, "Per(", -1},
    {"bComb", "Comb", KeyParent::Main, 240, 218, 40, 25, FontGroup::Window, "Kombinasyon", "bCombClick", KeyAction::InsertText, 0, false, "Com(", -1},
    {"bMod", "MOD", KeyParent::Main, 5, 241, 40, 25, FontGroup::Window, "Bölmeden kalan", "bModClick", KeyAction::InsertText, 0, false, "mod(", -1},
    {"bDiv", "DIV", KeyParent::Main, 45, 241, 40, 25, FontGroup::Window, "Tam bölme", "bDivClick", KeyAction::InsertText, 0, false, "div(", -1},
    {"bDSee", "DSEE", KeyParent::Main, 200, 242, 40, 25, FontGroup::Window, "Veri dizisi tanımla", "bDSeeClick", KeyAction::InsertText, 0, false, "DSEE()", -1},
    {"bAnswer", "ANS", KeyParent::Main, 240, 242, 40, 25, FontGroup::Window, "Önceki sonuç", "bAnswerClick", KeyAction::InsertText, 0, false, "ANS()", -1},
    {"BGraph", "Graph", KeyParent::Main, 5, 264, 40, 25, FontGroup::Window, "Grafik ekran", "BGraphClick", KeyAction::Graph, 0, false, "", -1},
    {"bSqr", "SQR", KeyParent::Main, 45, 264, 40, 25, FontGroup::Window, "Kare al", "bSqrClick", KeyAction::InsertText, 0, false, "sqr(", -1},
    {"bSemiColon", "DAVG", KeyParent::Main, 200, 266, 40, 25, FontGroup::Window, "Aritmetik ortalama", "bDAvg", KeyAction::InsertText, 0, false, "DAVG()", -1},
    {"bAbs", "ABS", KeyParent::Main, 240, 266, 40, 25, FontGroup::Window, "Mutlak değer", "bAbsClick", KeyAction::InsertText, 0, false, "ABS(", -1},
    // Arrow cross on Main. The horizontal pair is bound crosswise by name: bRight stands
    // on the left, shows the left chevron and sends Left; bLeft is its mirror.
    {"BPoint", "", KeyParent::Main, 125, 186, 34, 34, FontGroup::Window, "Yukarı", "bUpClick", KeyAction::TypeKey, Qt::Key_Up, false, "", GlyphUp},
    {"bRight", "", KeyParent::Main, 90, 222, 34, 34, FontGroup::Window, "Sağ", "bLeftClick", KeyAction::TypeKey, Qt::Key_Left, false, "", GlyphLeft},
    {"bUp", "", KeyParent::Main, 125, 222, 34, 34, FontGroup::Window, "Yardım", "bInfoClick", KeyAction::Help, 0, false, "", GlyphBall},
    {"bLeft", "", KeyParent::Main, 160, 222, 34, 34, FontGroup::Window, "Sol", "bRightClick", KeyAction::TypeKey, Qt::Key_Right, false, "", GlyphRight},
    {"bDn", "", KeyParent::Main, 125, 258, 34, 34, FontGroup::Window, "Aşağı", "bDnClick", KeyAction::TypeKey, Qt::Key_Down, false, "", GlyphDown},
};
// clang-format on

}  // namespace

std::span<const KeyDef> KeypadTable() {
    return kKeypad;
}

}  // namespace zentu::app
