#pragma once

#include "data/database.h"

#include <QString>

#include <exception>
#include <functional>
#include <type_traits>

namespace sdelka {

// Every message box of the program goes through here, so tests can answer them.
enum class MessageKind { Error, Warning, Information, Question, WarningQuestion };
enum class Answer { Ok, Yes, No };

struct Message {
    MessageKind kind;
    QString caption;
    QString text;
};

// A responder sees each box instead of the user and gives its answer. None installed: real
// boxes are shown.
using MessageResponder = std::function<Answer(const Message&)>;
void setMessageResponder(MessageResponder responder);

inline const QString ErrorCaption = QStringLiteral("Ошибка");

void showError(const QString& text, const QString& caption = ErrorCaption);
void showWarning(const QString& text, const QString& caption);
void showInformation(const QString& text, const QString& caption);
// A question with the buttons Yes and No (a question icon unless a warning one is asked for);
// true for Yes.
bool askYesNo(const QString& text, const QString& caption, bool warningIcon = false);

// Shows what an escaped error says: the driver's text of a DatabaseError, the text of any
// other exception.
void reportException(std::exception_ptr error);

// Wraps a handler so that no exception reaches the event loop: an error ends the action with
// its text in the error box. A handler that takes no arguments ignores the signal's.
template <typename F> auto guarded(F handler) {
    return [handler](auto&&... args) {
        try {
            if constexpr (std::is_invocable_v<F, decltype(args)...>)
                handler(std::forward<decltype(args)>(args)...);
            else
                handler();
        } catch (...) {
            reportException(std::current_exception());
        }
    };
}

} // namespace sdelka
