#include "app/startup.h"

#include "app/login_window.h"
#include "app/program_screens.h"
#include "data/data_module.h"
#include "register/register_screen.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace sdelka {

namespace {

void loadTranslations(QApplication& app) {
    auto* qt = new QTranslator(&app);
    if (qt->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qt);
}

int run(QApplication& app, BuildStamp build) {
    Database db;
    TDataModule6 dm(db);
    dm.setReporter([](const QString& text) { showError(text); });

    try {
        db.open(ConnectionSettings::fromArguments(app.arguments().mid(1)));
    } catch (const DatabaseError&) {
        showError(QStringLiteral("Подключение к БД отсутсвует!!!"), QStringLiteral("Ошибка!"));
        return 1;
    }

    TForm1 reg(dm);
    reg.BuildDate = build.date;
    reg.BuildTime = build.time;
    TForm23 login(dm, reg, build);
    login.show();

    ProgramScreens screens(dm, reg);

    QObject::connect(reg.Timer1, &QTimer::timeout, &login,
                     guarded([&login] { login.runVersionCheck(); }));
    return app.exec();
}

} // namespace

int runSdelka(int argc, char** argv, BuildStamp build) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sdelka"));
    // The program speaks Russian: a machine without a locale of its own ("C") shows numbers and
    // dates the Russian way.
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    loadTranslations(app);
    try {
        return run(app, build);
    } catch (...) {
        reportException(std::current_exception());
        return 1;
    }
}

} // namespace sdelka
