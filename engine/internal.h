// SPDX-License-Identifier: GPL-3.0-or-later
// Pieces shared by the engine's source files; not part of its interface.
#pragma once

#include <cmath>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/engine.h"
#include "engine/number_text.h"

namespace zentu {

// Thrown when the user cancels a long computation; only the outermost
// EvaluateExpression catches it.
struct EvalCancelled {};

// Every operation whose result is not finite fails: overflow, division by zero and
// invalid operations all end there, and no such value is ever written into the text.
inline long double Checked(long double r) {
    if (!std::isfinite(r)) throw EvalFailure{};
    return r;
}

inline long double Divide(long double a, long double b) {
    if (b == 0) throw EvalFailure{};
    return Checked(a / b);
}

// Writes a value into a text being built; a value joined directly onto the digits of a
// number before it is multiplied with it instead (the caller decides; see ProductPass).
inline void AppendValue(std::string& out, long double v) {
    AppendNumberText(out, Checked(v));
}

// Normalises text into w (blanks dropped, a..z upper-cased) and counts the brackets;
// gives the end of what it wrote. w may be text's own data: it never runs ahead.
inline char* NormalizeChars(std::string_view text, char* w, std::size_t& open, std::size_t& close) {
    for (const char c : text) {
        open += c == '(';
        close += c == ')';
        *w = (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
        w += c != ' ';
    }
    return w;
}

// True when a value written directly after c multiplies what c ends: a number, a closing
// parenthesis or a factorial mark ("2PI", "(1+1)COS(PI)", "3!X" in a sampled formula).
inline bool EndsValue(char c) {
    return IsNumberChar(c) || c == ')' || c == '!';
}

inline bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Length in bytes of the UTF-8 character that starts at s[0] (1 for a broken byte).
inline std::size_t FirstCharLength(std::string_view s) {
    if (s.empty()) return 0;
    const unsigned char c = static_cast<unsigned char>(s[0]);
    std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
    if (n > s.size()) return 1;
    for (std::size_t i = 1; i < n; ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 1;
    return n;
}

// A ";"-list taken from the front, piece by piece (DAT, the two-number functions, INT and
// DIF). Every ";" ends a piece, whatever brackets stand around it: a list without ";" is
// one piece, an empty list one empty piece.
class ListReader {
  public:
    explicit ListReader(std::string_view list) : rest_(list) {}
    // True once the last piece has been taken.
    bool Done() const { return done_; }
    // True when no ";" is left: Rest() is the last piece.
    bool AtLastPiece() const { return rest_.find(';') == std::string_view::npos; }
    std::string_view Rest() const { return rest_; }
    // Takes the next piece; only while not Done().
    std::string_view Next() {
        const std::size_t semi = rest_.find(';');
        std::string_view piece = rest_;
        if (semi == std::string_view::npos) {
            done_ = true;
            rest_ = {};
        } else {
            piece = rest_.substr(0, semi);
            rest_.remove_prefix(semi + 1);
        }
        return piece;
    }

  private:
    std::string_view rest_;
    bool done_ = false;
};

// A reusable text buffer taken from the engine's stack of buffers, so the passes
// allocate nothing once the stack has warmed up. Buffers are taken and given back in
// strict nesting order (they live in scopes), so a counter is all the bookkeeping.
class Scratch {
  public:
    explicit Scratch(Engine::BufferStack& stack) : stack_(stack) {
        if (stack_.used == stack_.buffers.size())
            stack_.buffers.push_back(std::make_unique<std::string>());
        text_ = stack_.buffers[stack_.used++].get();
        text_->clear();
    }
    ~Scratch() { --stack_.used; }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    std::string& str() { return *text_; }

  private:
    Engine::BufferStack& stack_;
    std::string* text_;
};

// Counts the nesting of passes, groups and evaluations; too deep a nesting fails
// instead of exhausting the stack.
struct Engine::DepthGuard {
    explicit DepthGuard(Engine& e) : engine(e) {
        if (++engine.depth_ > kMaxDepth) {
            --engine.depth_;
            throw EvalFailure{};
        }
    }
    ~DepthGuard() { --engine.depth_; }
    Engine& engine;
};

// The operations of the function library, one for each row of the name table in
// engine/expand.cpp. SUM to DQUA stand together: the statistics are kept by their place
// (Engine::ApplySeriesFunction).
enum class Op : unsigned char {
    // single-argument operations
    Sin,
    Cos,
    Tan,
    Cot,
    ASin,
    ACos,
    ATan,
    Sinh,
    Cosh,
    Tanh,
    Sech,
    Csch,
    Sinc,
    Exp,
    Ln,
    Log,
    Sqrt,
    Sqr,
    Abs,
    Sign,
    Trnc,
    Rnd,
    Flor,
    Ceil,
    // text-argument operations
    Per,
    Com,
    Pwr,
    Div,
    Mod,
    Dat,
    Int,
    Dif,
    // series operations and the answer store (argument ignored)
    Ans,
    Sum,
    DAvg,
    DVar,
    DStd,
    DGeo,
    DHar,
    DQua,
    DSee,
    DSrt,
    // the constant PI
    Pi,
};

long double ApplyNumeric(Op op, long double x);
// The pieces of a formula cut at its variable (SampledFormula) joined again, with
// value_text in every place of the variable.
void JoinAtVariable(const std::vector<std::string>& pieces, std::string_view value_text,
                    std::string& out);
long double ReadSignedNumber(std::string_view text, std::size_t& p, bool* empty = nullptr);
long double TakeLastNumber(std::string& out);
std::string_view ExtractArgument(std::string_view text, std::size_t& p);
long double Factorial(long double x);
long double PowerAlgorithm(long double a, long double b);

}  // namespace zentu
