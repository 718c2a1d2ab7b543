#include "widgets/digit_edit.h"

namespace sdelka {

namespace {

class DigitValidator : public QValidator {
public:
    DigitValidator(qint64 maximum, QObject* parent) : QValidator(parent), maximum_(maximum) {}
    State validate(QString& input, int&) const override {
        for (const QChar c : input) {
            if (!c.isDigit() || c.unicode() > 127)
                return Invalid;
        }
        if (input.isEmpty())
            return Intermediate;
        bool ok = false;
        const qint64 value = input.toLongLong(&ok);
        return ok && value <= maximum_ ? Acceptable : Invalid;
    }

private:
    qint64 maximum_;
};

} // namespace

DigitEdit::DigitEdit(qint64 maximum, QWidget* parent) : QLineEdit(parent), maximum_(maximum) {
    setValidator(new DigitValidator(maximum, this));
}

} // namespace sdelka
