// SPDX-License-Identifier: GPL-3.0-or-later
// The expansion pass: function calls and named constants become number text.
//
// Names are compared literally, in the fixed order of the tables below (kNames for the
// functions and PI, kConstants for the names that begin with "_"); the first row whose
// text stands at the scan position wins. There is no tokenizer: "_MPX" is "_MP" followed
// by a stray "X", and a character that begins no name is a syntax error.
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

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
    std::string_view text;  // compared literally: a function's name with its "("
    Family family;
    Op op;
};

// Every name, in the order of recognition: at a letter, the first row whose text stands
// there wins. The rows of one first letter stand together (checked below), and a name
// is added by adding its row.
// clang-format off
constexpr Name kNames[] = {
    {"ATAN(", Family::Numeric, Op::ATan},
    {"ACOS(", Family::Numeric, Op::ACos},
    {"ASIN(", Family::Numeric, Op::ASin},
    {"ABS(", Family::Numeric, Op::Abs},
    {"ANS(", Family::Ignored, Op::Ans},
    {"COS(", Family::Numeric, Op::Cos},
    {"COSH(", Family::Numeric, Op::Cosh},
    {"CSCH(", Family::Numeric, Op::Csch},
    {"CEIL(", Family::Numeric, Op::Ceil},
    {"COT(", Family::Numeric, Op::Cot},
    {"COM(", Family::Text, Op::Com},
    {"DIF(", Family::Text, Op::Dif},
    {"DIV(", Family::Text, Op::Div},
    {"DAT(", Family::Text, Op::Dat},
    {"DVAR(", Family::Ignored, Op::DVar},
    {"DSTD(", Family::Ignored, Op::DStd},
    {"DGEO(", Family::Ignored, Op::DGeo},
    {"DAVG(", Family::Ignored, Op::DAvg},
    {"DHAR(", Family::Ignored, Op::DHar},
    {"DQUA(", Family::Ignored, Op::DQua},
    {"DSEE(", Family::Ignored, Op::DSee},
    {"DSRT(", Family::Ignored, Op::DSrt},
    {"EXP(", Family::Numeric, Op::Exp},
    {"FLOR(", Family::Numeric, Op::Flor},
    {"INT(", Family::Text, Op::Int},
    {"LOG(", Family::Numeric, Op::Log},
    {"LN(", Family::Numeric, Op::Ln},
    {"MOD(", Family::Text, Op::Mod},
    {"PI", Family::Constant, Op::Pi},
    {"PWR(", Family::Text, Op::Pwr},
    {"PER(", Family::Text, Op::Per},
    {"RND(", Family::Numeric, Op::Rnd},
    {"SUM(", Family::Ignored, Op::Sum},
    {"SIN(", Family::Numeric, Op::Sin},
    {"SQR(", Family::Numeric, Op::Sqr},
    {"SINH(", Family::Numeric, Op::Sinh},
    {"SINC(", Family::Numeric, Op::Sinc},
    {"SIGN(", Family::Numeric, Op::Sign},
    {"SECH(", Family::Numeric, Op::Sech},
    {"SQRT(", Family::Numeric, Op::Sqrt},
    {"TAN(", Family::Numeric, Op::Tan},
    {"TRNC(", Family::Numeric, Op::Trnc},
    {"TANH(", Family::Numeric, Op::Tanh},
};
// clang-format on

constexpr bool FirstLettersStandTogether() {
    for (std::size_t i = 1; i < std::size(kNames); ++i)
        if (kNames[i].text[0] != kNames[i - 1].text[0])
            for (std::size_t j = 0; j < i; ++j)
                if (kNames[j].text[0] == kNames[i].text[0]) return false;
    return true;
}
static_assert(FirstLettersStandTogether(), "the names of one first letter must stand together");

// For each character, the first row of kNames that begins with it (or the end of kNames).
struct FirstNameIndex {
    const Name* at[256];
    constexpr FirstNameIndex() : at() {
        for (auto& a : at) a = std::end(kNames);
        for (std::size_t i = std::size(kNames); i-- > 0;)
            at[static_cast<unsigned char>(kNames[i].text[0])] = &kNames[i];
    }
};
constexpr FirstNameIndex kFirstName;

// The name of kNames that stands at p, or nullptr.
const Name* NameAt(std::string_view text, std::size_t p) {
    const std::string_view rest = text.substr(p);
    for (const Name* n = kFirstName.at[static_cast<unsigned char>(rest[0])];
         n != std::end(kNames) && n->text[0] == rest[0]; ++n)
        if (rest.starts_with(n->text)) return n;
    return nullptr;
}

// The named constants, all beginning with "_", in the order of recognition: two-letter
// names first, then three, four and single letters, so that "_ME" is not "_M" followed
// by "E".
struct Constant {
    std::string_view name;
    long double value;
    bool exponent_form;  // inserted in the 18-digit exponent form, else the general one
};

// clang-format off
constexpr Constant kConstants[] = {
    {"_MP", 1.672623E-24L, true},
    {"_ME", 9.1093897E-28L, true},
    {"_MN", 1.6749286E-24L, true},
    {"_EC", 1.60217733E-19L, true},
    {"_PI", 3.141592653589793L, false},
    {"_AUR", 1.618033988749894L, false},
    {"_AMU", 1.66053873E-27L, false},
    {"_EUL", 0.577215664901532L, false},
    {"_AVGD", 6.02214199E+23L, true},
    {"_CLMB", 8987551787.0L, true},
    {"_FRDY", 96485.3415L, false},
    {"_PLNC", 6.626075E-34L, false},
    {"_RYDB", 10973731.534L, false},
    {"_E", 2.718281828459045L, false},
    {"_C", 299792458.0L, false},
    {"_G", 9.80665L, false},
    {"_R", 6370000.0L, false},
    {"_M", 5.972E+24L, false},
};
// clang-format on

// The inserted texts of the constants, in the order of kConstants, made once from their
// stored values.
const std::vector<std::string>& ConstantTexts() {
    static const auto texts = [] {
        std::vector<std::string> t;
        for (const Constant& c : kConstants)
            t.push_back(c.exponent_form ? ConstantExponentText(c.value)
                                        : ConstantGeneralText(c.value));
        return t;
    }();
    return texts;
}

}  // namespace

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
        if (ch == '_') {
            std::size_t i = 0;
            while (i < std::size(kConstants) && !text.substr(p).starts_with(kConstants[i].name))
                ++i;
            if (i == std::size(kConstants)) {
                ReportSyntaxError(text, p);
                continue;
            }
            p += kConstants[i].name.size();
            JoinBefore(out);
            out += ConstantTexts()[i];
            JoinAfter(out, text, p);
            continue;
        }
        const Name* name = NameAt(text, p);
        if (!name) {
            ReportSyntaxError(text, p);
            continue;
        }
        p += name->text.size() - 1;  // on the "(" of a function, on the "I" of PI
        long double r = 0;
        switch (name->family) {
            case Family::Constant:
                ++p;
                r = std::numbers::pi_v<long double>;
                break;
            case Family::Numeric: {
                const std::string_view argument = ExtractArgument(text, p);
                long double v;
                if (!argument.empty() && NumberTokenLength(argument, 0) == argument.size() &&
                    IsWellFormedToken(argument)) {
                    v = TextToNumber(argument);  // a plain number needs no passes
                } else {
                    v = Evaluate(argument);
                }
                r = ApplyNumeric(name->op, v);
                break;
            }
            case Family::Text:
                r = ApplyTextFunction(name->op, ExtractArgument(text, p));
                break;
            case Family::Ignored:
                ExtractArgument(text, p);
                r = name->op == Op::Ans ? AnswerStore : ApplySeriesFunction(name->op);
                break;
        }
        JoinBefore(out);
        AppendValue(out, r);
        JoinAfter(out, text, p);
    }
}

}  // namespace zentu
