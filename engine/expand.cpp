// SPDX-License-Identifier: GPL-3.0-or-later
// The expansion pass: function calls and named constants become number text.
//
// Names are recognised by their first character and the characters after it, compared
// literally in the fixed order of the table below; the first entry whose compared text
// matches wins. There is no tokenizer: "_MPX" is "_MP" followed by a stray "X".
#include <array>
#include <cmath>

#include "engine/engine.h"
#include "engine/internal.h"

namespace zentu {
namespace {

// What happens to a name's argument.
enum class Family : unsigned char {
    Numeric,   // reduced to one value by a nested run of the passes
    Text,      // handed over as text; the operation splits and evaluates it
    Ignored,   // cut out and dropped
    Constant,  // no argument: the name alone is replaced
};

struct Name {
    char first;
    std::string_view compared;  // the characters after the first one
    Family family;
    Op op;
};

// In the order of recognition for each first character.
constexpr std::array kNames = {
    Name{'A', "TAN(", Family::Numeric, Op::ATan}, Name{'A', "COS(", Family::Numeric, Op::ACos},
    Name{'A', "SIN(", Family::Numeric, Op::ASin}, Name{'A', "BS(", Family::Numeric, Op::Abs},
    Name{'A', "NS(", Family::Ignored, Op::Ans},   Name{'C', "OS(", Family::Numeric, Op::Cos},
    Name{'C', "OSH(", Family::Numeric, Op::Cosh}, Name{'C', "SCH(", Family::Numeric, Op::Csch},
    Name{'C', "EIL(", Family::Numeric, Op::Ceil}, Name{'C', "OT(", Family::Numeric, Op::Cot},
    Name{'C', "OM(", Family::Text, Op::Com},      Name{'D', "IF(", Family::Text, Op::Dif},
    Name{'D', "IV(", Family::Text, Op::Div},      Name{'D', "AT(", Family::Text, Op::Dat},
    Name{'D', "VAR(", Family::Ignored, Op::DVar}, Name{'D', "STD(", Family::Ignored, Op::DStd},
    Name{'D', "GEO(", Family::Ignored, Op::DGeo}, Name{'D', "AVG(", Family::Ignored, Op::DAvg},
    Name{'D', "HAR(", Family::Ignored, Op::DHar}, Name{'D', "QUA(", Family::Ignored, Op::DQua},
    Name{'D', "SEE(", Family::Ignored, Op::DSee}, Name{'D', "SRT(", Family::Ignored, Op::DSrt},
    Name{'E', "XP(", Family::Numeric, Op::Exp},   Name{'F', "LOR(", Family::Numeric, Op::Flor},
    Name{'I', "NT(", Family::Text, Op::Int},      Name{'L', "OG(", Family::Numeric, Op::Log},
    Name{'L', "N(", Family::Numeric, Op::Ln},     Name{'M', "OD(", Family::Text, Op::Mod},
    Name{'P', "I", Family::Constant, Op::Pi},     Name{'P', "WR(", Family::Text, Op::Pwr},
    Name{'P', "ER(", Family::Text, Op::Per},      Name{'R', "ND(", Family::Numeric, Op::Rnd},
    Name{'S', "UM(", Family::Ignored, Op::Sum},   Name{'S', "IN(", Family::Numeric, Op::Sin},
    Name{'S', "QR(", Family::Numeric, Op::Sqr},   Name{'S', "INH(", Family::Numeric, Op::Sinh},
    Name{'S', "INC(", Family::Numeric, Op::Sinc}, Name{'S', "IGN(", Family::Numeric, Op::Sign},
    Name{'S', "ECH(", Family::Numeric, Op::Sech}, Name{'S', "QRT(", Family::Numeric, Op::Sqrt},
    Name{'T', "AN(", Family::Numeric, Op::Tan},   Name{'T', "RNC(", Family::Numeric, Op::Trnc},
    Name{'T', "ANH(", Family::Numeric, Op::Tanh},
};

// Where the names of each first character begin in the table (they stand together).
struct FirstNameIndex {
    const Name* at[256];
    constexpr FirstNameIndex() : at() {
        for (auto& a : at) a = kNames.end();
        for (std::size_t i = kNames.size(); i-- > 0;)
            at[static_cast<unsigned char>(kNames[i].first)] = &kNames[i];
    }
    const Name* operator[](unsigned char c) const { return at[c]; }
};
constexpr FirstNameIndex kFirstName;

// The named constants, all beginning with "_": two-letter names first, then three,
// four and single letters, so that "_ME" is not "_M" followed by "E".
struct Constant {
    std::string_view compared;
    long double value;
    bool exponent_form;
};

constexpr std::array kConstants = {
    Constant{"MP", 1.672623E-24L, true},       Constant{"ME", 9.1093897E-28L, true},
    Constant{"MN", 1.6749286E-24L, true},      Constant{"EC", 1.60217733E-19L, true},
    Constant{"PI", 3.141592653589793L, false}, Constant{"AUR", 1.618033988749894L, false},
    Constant{"AMU", 1.66053873E-27L, false},   Constant{"EUL", 0.577215664901532L, false},
    Constant{"AVGD", 6.02214199E+23L, true},   Constant{"CLMB", 8987551787.0L, true},
    Constant{"FRDY", 96485.3415L, false},      Constant{"PLNC", 6.626075E-34L, false},
    Constant{"RYDB", 10973731.534L, false},    Constant{"E", 2.718281828459045L, false},
    Constant{"C", 299792458.0L, false},        Constant{"G", 9.80665L, false},
    Constant{"R", 6370000.0L, false},          Constant{"M", 5.972E+24L, false},
};

// π at full extended precision.
constexpr long double kPi = 3.14159265358979323846264338327950288L;

bool StartsName(char c) {
    switch (c) {
        case 'A':
        case 'C':
        case 'D':
        case 'E':
        case 'F':
        case 'I':
        case 'L':
        case 'M':
        case 'P':
        case 'R':
        case 'S':
        case 'T':
        case '_':
            return true;
        default:
            return false;
    }
}

bool LookAhead(std::string_view text, std::size_t p, std::string_view compared) {
    if (text.size() - p - 1 < compared.size()) return false;
    for (std::size_t i = 0; i < compared.size(); ++i)
        if (text[p + 1 + i] != compared[i]) return false;
    return true;
}

}  // namespace

// The inserted texts of the constants, made once from their stored values.
const std::vector<std::pair<std::string, std::string>>& ConstantTexts() {
    static const auto texts = [] {
        std::vector<std::pair<std::string, std::string>> t;
        for (const Constant& c : kConstants) {
            // Built by appending: GCC 12 warns falsely (-Wrestrict) on the inlined
            // "_" + std::string.
            std::string name(1, '_');
            name += c.compared;
            t.emplace_back(std::move(name), c.exponent_form ? ConstantExponentText(c.value)
                                                            : ConstantGeneralText(c.value));
        }
        return t;
    }();
    return texts;
}

std::string Engine::ExpandFunctions(std::string_view text) {
    std::string out;
    ExpandInto(text, out);
    return out;
}

// A call's or constant's value is joined by "*" to a value directly before it (a number,
// a closing parenthesis or a factorial mark) and to a number directly after it, so "2PI"
// is twice π and "PI2" too. The "*" also keeps a negative value's "-" from being read as
// a subtraction: "(1+1)COS(PI)" becomes "(1+1)*-1.000000000000", -2, and "3!SIN(-1)" six
// times the sine.
static void JoinBefore(std::string& out) {
    if (!out.empty() && EndsValue(out.back())) out += '*';
}

static void JoinAfter(std::string& out, std::string_view text, std::size_t next) {
    if (next < text.size() && (IsDigit(text[next]) || text[next] == '.')) out += '*';
}

void Engine::ExpandInto(std::string_view text, std::string& out) {
    if (text.empty()) throw EvalFailure{};
    DepthGuard guard(*this);
    std::size_t p = 0;
    while (p < text.size()) {
        const char ch = text[p];
        switch (ch) {
            case '!':
            case '(':
            case ')':
            case '*':
            case '+':
            case '-':
            case '/':
            case '^':
                out += ch;
                ++p;
                continue;
            default:
                break;
        }
        if (ch == '.' || IsDigit(ch)) {
            const std::size_t len = NumberTokenLength(text, p);
            const std::string_view token = text.substr(p, len);
            if (!IsWellFormedToken(token)) {
                ReportSyntaxError(text, p);
                continue;
            }
            out += token;
            p += len;
            continue;
        }
        if (!StartsName(ch)) {
            ReportSyntaxError(text, p);
            continue;
        }
        if (ch == '_') {
            const auto& texts = ConstantTexts();
            std::size_t i = 0;
            while (i < kConstants.size() && !LookAhead(text, p, kConstants[i].compared)) ++i;
            if (i == kConstants.size()) {
                ReportSyntaxError(text, p);
                continue;
            }
            p += 1 + kConstants[i].compared.size();
            JoinBefore(out);
            out += texts[i].second;
            JoinAfter(out, text, p);
            continue;
        }
        const Name* name = nullptr;
        for (const Name* n = kFirstName[static_cast<unsigned char>(ch)];
             n != kNames.end() && n->first == ch; ++n) {
            if (LookAhead(text, p, n->compared)) {
                name = n;
                break;
            }
        }
        if (!name) {
            ReportSyntaxError(text, p);
            continue;
        }
        p += name->compared.size();  // on the "(" of a function, after "PI" for π
        long double r = 0;
        switch (name->family) {
            case Family::Constant:
                ++p;
                r = kPi;
                break;
            case Family::Numeric: {
                const std::string_view argument = ExtractArgument(text, p);
                long double v;
                if (!argument.empty() && NumberTokenLength(argument, 0) == argument.size() &&
                    IsWellFormedToken(argument)) {
                    v = TextToNumber(argument);  // a plain number needs no passes
                } else {
                    Scratch expanded(buffers_), powered(buffers_);
                    ExpandInto(argument, expanded.str());
                    v = ProductPass(PowerView(expanded.str(), powered.str()));
                }
                r = ApplyNumeric(name->op, v);
                break;
            }
            case Family::Text:
                r = ApplyTextFunction(static_cast<int>(name->op), ExtractArgument(text, p));
                break;
            case Family::Ignored:
                ExtractArgument(text, p);
                r = name->op == Op::Ans ? AnswerStore
                                        : ApplySeriesFunction(static_cast<int>(name->op));
                break;
        }
        JoinBefore(out);
        AppendValue(out, r);
        JoinAfter(out, text, p);
    }
}

}  // namespace zentu
