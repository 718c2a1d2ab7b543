#pragma once

#include <QString>

#include <optional>

namespace sdelka {

// A norm as typed into the norms editor.
struct NormInput {
    QString norma;
    QString price;
    QString prize;
};

struct Norm {
    int norma = 0;
    double price = 0;
    int prize = 0;
};

// Reads a typed norm: whole numbers for the norm and the bonus, a number not below 0 for the
// price (comma or point). Gives the error text for the user when a field is not acceptable.
struct NormCheck {
    std::optional<Norm> norm;
    QString error;
};
NormCheck checkNorm(const NormInput& input);

// A typed decimal number, with a comma or a point; none when the text is not a number.
std::optional<double> parseDecimal(const QString& text);

} // namespace sdelka
