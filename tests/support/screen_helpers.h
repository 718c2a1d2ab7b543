#pragma once

#include "support/printers.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QWidget>

#include <functional>
#include <vector>

#include <gtest/gtest.h>

namespace sdelka::test {

// Records every message box and answers questions from a queue (Yes when it runs dry).
class MessageLog {
public:
    MessageLog();
    ~MessageLog();

    void answer(std::initializer_list<Answer> answers) { answers_.insert(answers_.end(), answers); }
    const std::vector<Message>& boxes() const { return boxes_; }
    bool empty() const { return boxes_.empty(); }
    // The text of the last box, or an empty text.
    QString last() const { return boxes_.empty() ? QString() : boxes_.back().text; }
    void clear() { boxes_.clear(); }

private:
    std::vector<Message> boxes_;
    std::vector<Answer> answers_;
};

// A control of a screen by its object name; fails the test when there is none.
template <typename T> T* control(QObject* screen, const QString& name) {
    T* found = screen->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << "no control " << name.toStdString();
    return found;
}

// Types a text into a widget key by key, Cyrillic included, as a user would.
void typeText(QWidget* widget, const QString& text);

// Runs the callback as soon as a modal dialog is on screen (the one an action is about to
// open), so a test can drive and close it; the callback gets the dialog.
void whenModal(std::function<void(QWidget*)> callback);

} // namespace sdelka::test
