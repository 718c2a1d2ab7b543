#include "widgets/messages.h"

#include <QApplication>
#include <QMessageBox>

namespace sdelka {

namespace {

MessageResponder& responder() {
    static MessageResponder r;
    return r;
}

Answer show(const Message& m) {
    if (responder())
        return responder()(m);
    QMessageBox::Icon icon = QMessageBox::Critical;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    switch (m.kind) {
    case MessageKind::Error:
        break;
    case MessageKind::Warning:
        icon = QMessageBox::Warning;
        break;
    case MessageKind::Information:
        icon = QMessageBox::Information;
        break;
    case MessageKind::Question:
        icon = QMessageBox::Question;
        buttons = QMessageBox::Yes | QMessageBox::No;
        break;
    case MessageKind::WarningQuestion:
        icon = QMessageBox::Warning;
        buttons = QMessageBox::Yes | QMessageBox::No;
        break;
    }
    QMessageBox box(icon, m.caption, m.text, buttons, QApplication::activeWindow());
    const int result = box.exec();
    if (m.kind != MessageKind::Question && m.kind != MessageKind::WarningQuestion)
        return Answer::Ok;
    return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

} // namespace

void setMessageResponder(MessageResponder r) {
    responder() = std::move(r);
}

void showError(const QString& text, const QString& caption) {
    show({MessageKind::Error, caption, text});
}

void showWarning(const QString& text, const QString& caption) {
    show({MessageKind::Warning, caption, text});
}

void showInformation(const QString& text, const QString& caption) {
    show({MessageKind::Information, caption, text});
}

bool askYesNo(const QString& text, const QString& caption, bool warningIcon) {
    const MessageKind kind = warningIcon ? MessageKind::WarningQuestion : MessageKind::Question;
    return show({kind, caption, text}) == Answer::Yes;
}

void reportException(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const DatabaseError& e) {
        showError(e.text());
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
    } catch (...) {
        showError(QString());
    }
}

} // namespace sdelka
