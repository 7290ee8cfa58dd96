// SPDX-License-Identifier: GPL-3.0-or-later
// The expansion pass: function calls and named constants become number text.
//
// Names are compared literally, in the fixed order of the tables below (kNames for the
// functions and PI, kConstants for the names that begin with "_"); the first row whose
// text stands at the scan position wins. There is no tokenizer: "_MPX" is "_MP" followed
// by a stray "X", and a character that begins no name is a syntax error.
#include <array>
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
constexpr std::array kNames = {
    Name{"ATAN(", Family::Numeric, Op::ATan},
    Name{"ACOS(", Family::Numeric, Op::ACos},
    Name{"ASIN(", Family::Numeric, Op::ASin},
    Name{"ABS(", Family::Numeric, Op::Abs},
    Name{"ANS(", Family::Ignored, Op::Ans},
    Name{"COS(", Family::Numeric, Op::Cos},
    Name{"COSH(", Family::Numeric, Op::Cosh},
    Name{"CSCH(", Family::Numeric, Op::Csch},
    Name{"CEIL(", Family::Numeric, Op::Ceil},
    Name{"COT(", Family::Numeric, Op::Cot},
    Name{"COM(", Family::Text, Op::Com},
    Name{"DIF(", Family::Text, Op::Dif},
    Name{"DIV(", Family::Text, Op::Div},
    Name{"DAT(", Family::Text, Op::Dat},
    Name{"DVAR(", Family::Ignored, Op::DVar},
    Name{"DSTD(", Family::Ignored, Op::DStd},
    Name{"DGEO(", Family::Ignored, Op::DGeo},
    Name{"DAVG(", Family::Ignored, Op::DAvg},
    Name{"DHAR(", Family::Ignored, Op::DHar},
    Name{"DQUA(", Family::Ignored, Op::DQua},
    Name{"DSEE(", Family::Ignored, Op::DSee},
    Name{"DSRT(", Family::Ignored, Op::DSrt},
    Name{"EXP(", Family::Numeric, Op::Exp},
    Name{"FLOR(", Family::Numeric, Op::Flor},
    Name{"INT(", Family::Text, Op::Int},
    Name{"LOG(", Family::Numeric, Op::Log},
    Name{"LN(", Family::Numeric, Op::Ln},
    Name{"MOD(", Family::Text, Op::Mod},
    Name{"PI", Family::Constant, Op::Pi},
    Name{"PWR(", Family::Text, Op::Pwr},
    Name{"PER(", Family::Text, Op::Per},
    Name{"RND(", Family::Numeric, Op::Rnd},
    Name{"SUM(", Family::Ignored, Op::Sum},
    Name{"SIN(", Family::Numeric, Op::Sin},
    Name{"SQR(", Family::Numeric, Op::Sqr},
    Name{"SINH(", Family::Numeric, Op::Sinh},
    Name{"SINC(", Family::Numeric, Op::Sinc},
    Name{"SIGN(", Family::Numeric, Op::Sign},
    Name{"SECH(", Family::Numeric, Op::Sech},
    Name{"SQRT(", Family::Numeric, Op::Sqrt},
    Name{"TAN(", Family::Numeric, Op::Tan},
    Name{"TRNC(", Family::Numeric, Op::Trnc},
    Name{"TANH(", Family::Numeric, Op::Tanh},
};
// clang-format on

constexpr bool FirstLettersStandTogether() {
    for (std::size_t i = 1; i < kNames.size(); ++i)
        if (kNames[i].text[0] != kNames[i - 1].text[0])
            for (std::size_t j = 0; j < i; ++j)
                if (kNames[j].text[0] == kNames[i].text[0]) return false;
    return true;
}
static_assert(FirstLettersStandTogether(), "the names of one first letter must stand together");

// For each character, the first row of kNames that begins with it (kNames.end() for none).
struct FirstNameIndex {
    const Name* at[256];
    constexpr FirstNameIndex() : at() {
        for (auto& a : at) a = kNames.end();
        for (std::size_t i = kNames.size(); i-- > 0;)
            at[static_cast<unsigned char>(kNames[i].text[0])] = &kNames[i];
    }
};
constexpr FirstNameIndex kFirstName;

// The name of kNames that stands at p, or nullptr.
const Name* NameAt(std::string_view text, std::size_t p) {
    const std::string_view rest = text.substr(p);
    for (const Name* n = kFirstName.at[static_cast<unsigned char>(rest[0])];
         n != kNames.end() && n->text[0] == rest[0]; ++n)
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
constexpr std::array kConstants = {
    Constant{"_MP", 1.672623E-24L, true},
    Constant{"_ME", 9.1093897E-28L, true},
    Constant{"_MN", 1.6749286E-24L, true},
    Constant{"_EC", 1.60217733E-19L, true},
    Constant{"_PI", 3.141592653589793L, false},
    Constant{"_AUR", 1.618033988749894L, false},
    Constant{"_AMU", 1.66053873E-27L, false},
    Constant{"_EUL", 0.577215664901532L, false},
    Constant{"_AVGD", 6.02214199E+23L, true},
    Constant{"_CLMB", 8987551787.0L, true},
    Constant{"_FRDY", 96485.3415L, false},
    Constant{"_PLNC", 6.626075E-34L, false},
    Constant{"_RYDB", 10973731.534L, false},
    Constant{"_E", 2.718281828459045L, false},
    Constant{"_C", 299792458.0L, false},
    Constant{"_G", 9.80665L, false},
    Constant{"_R", 6370000.0L, false},
    Constant{"_M", 5.972E+24L, false},
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
            while (i < kConstants.size() && !text.substr(p).starts_with(kConstants[i].name)) ++i;
            if (i == kConstants.size()) {
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
