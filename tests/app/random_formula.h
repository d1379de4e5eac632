#pragma once
// Random formula texts for the scripted user: mostly formulas of the language in every form a
// user types them (implicit products, bars, ':', either decimal mark, functions, nesting), now
// and then something that is no formula at all. Drawn from the raw engine output, so a seed gives
// the same texts everywhere.

#include <random>
#include <string>
#include <string_view>

class TRandomFormula {
public:
    explicit TRandomFormula(std::mt19937& random) : Random(random) {}

    /// A number below n.
    unsigned Below(unsigned n) { return static_cast<unsigned>(Random() % n); }
    bool OneIn(unsigned n) { return Below(n) == 0; }

    /// A formula over the variable letters (such as "x", "xy", "qa").
    std::string Formula(std::string_view variables) {
        if (OneIn(12)) {
            return Noise();
        }
        return Expression(variables, 0);
    }

    /// A number as a user types it: an integer, a decimal with '.' or ',', or a large one.
    std::string Number() {
        switch (Below(5)) {
        case 0:
            return std::to_string(Below(10));
        case 1:
            return std::to_string(Below(100)) + "." + std::to_string(Below(100));
        case 2:
            return std::to_string(Below(10)) + "," + std::to_string(Below(1000));
        case 3:
            return std::to_string(Below(OneIn(20) ? 100000 : 1000));
        default:
            return "0." + std::to_string(Below(1000));
        }
    }

private:
    std::string Noise() {
        static constexpr std::string_view alphabet = "xyz()^*/+-|:,.#0123456789 sincoqa!";
        std::string text;
        const unsigned length = Below(12);
        for (unsigned i = 0; i < length; ++i) {
            text += alphabet[Below(static_cast<unsigned>(alphabet.size()))];
        }
        return text;
    }

    // Built by appending: a literal added to a temporary string makes GCC warn falsely.
    std::string Enclosed(std::string open, std::string_view variables, int depth,
                         std::string_view close) {
        open += Expression(variables, depth + 1);
        open += close;
        return open;
    }

    std::string Term(std::string_view variables, int depth) {
        static constexpr std::string_view functions[] = {
            "sin", "cos", "tg", "ctg", "arcsin", "arccos", "arctg", "arcctg",
            "abs", "ln",  "lg", "exp", "sec",    "csc",    "sqrt",  "round"};
        const std::string variable(1, variables[Below(static_cast<unsigned>(variables.size()))]);
        switch (depth > 1 ? Below(2) : Below(6)) {
        case 0:
            return variable;
        case 1:
            return Number();
        case 2:
            return Enclosed(std::string(functions[Below(16)]) + "(", variables, depth, ")");
        case 3:
            return Enclosed("|", variables, depth, "|");
        case 4:
            return Number() + variable; // an implicit product
        default:
            return Enclosed("(", variables, depth, ")");
        }
    }

    std::string Expression(std::string_view variables, int depth) {
        // '*-' is no formula ('2*-3' is refused); it comes now and then.
        static constexpr std::string_view operators[] = {"+", "-", "*", "/", "^", ":", " + ", "-"};
        std::string text = OneIn(8) ? "-" : "";
        text += Term(variables, depth);
        const unsigned more = depth > 1 ? Below(2) : Below(3);
        for (unsigned i = 0; i < more; ++i) {
            text += OneIn(40) ? "*-" : operators[Below(8)];
            text += Term(variables, depth);
        }
        return text;
    }

    std::mt19937& Random;
};
