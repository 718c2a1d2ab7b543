#include "support/screen_helpers.h"

#include <QKeyEvent>
#include <QTimer>

#include <memory>

namespace sdelka::test {

MessageLog::MessageLog() {
    setMessageResponder([this](const Message& m) {
        boxes_.push_back(m);
        if (m.kind != MessageKind::Question && m.kind != MessageKind::WarningQuestion)
            return Answer::Ok;
        if (answers_.empty())
            return Answer::Yes;
        const Answer a = answers_.front();
        answers_.erase(answers_.begin());
        return a;
    });
}

MessageLog::~MessageLog() {
    setMessageResponder({});
}

void typeText(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &release);
    }
}

void whenModal(std::function<void(QWidget*)> callback) {
    auto* timer = new QTimer;
    auto shared = std::make_shared<std::function<void(QWidget*)>>(std::move(callback));
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, shared, tries] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            (*shared)(modal);
        } else if (++*tries > 500) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no modal dialog appeared";
        }
    });
    timer->start(10);
}

} // namespace sdelka::test
