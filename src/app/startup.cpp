#include "app/startup.h"

#include "app/login_window.h"
#include "catalogs/groups_screens.h"
#include "catalogs/operations_screens.h"
#include "catalogs/products_screens.h"
#include "catalogs/types_screens.h"
#include "catalogs/workers_screens.h"
#include "data/data_module.h"
#include "register/position_editor.h"
#include "register/register_screen.h"
#include "register/value_dialog.h"
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

    // The other screens, created once and kept until the program ends. The spreadsheet writer
    // of the prices and the summary reports lives as long.
    SpreadsheetWriter sharedWriter;
    TForm2 workerEditor(dm);
    TForm7 productEditor(dm);
    TForm3 products(dm, productEditor);
    TForm10 operationEditor(dm);
    TForm22 norms(dm);
    TForm4 operations(dm, operationEditor, norms, sharedWriter);
    TForm5 workers(dm, workerEditor);
    TForm9 typeEditor(dm);
    TForm8 types(dm, typeEditor);
    TForm29 groupEditor(dm);
    TForm26 groups(dm, groupEditor);
    TForm132 hoursDialog;
    TForm11 positionEditor(dm, workers, operations, hoursDialog);
    operationEditor.pickProduct = [&products] { return products.pick(); };
    operationEditor.pickType = [&types] { return types.pick(); };
    reg.attach({&workers, &products, &operations, &types, &groups, &positionEditor});

    QObject::connect(reg.Timer1, &QTimer::timeout, &login,
                     guarded([&login] { login.runVersionCheck(); }));
    return app.exec();
}

} // namespace

int runSdelka(int argc, char** argv, BuildStamp build) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sdelka"));
    loadTranslations(app);
    try {
        return run(app, build);
    } catch (...) {
        reportException(std::current_exception());
        return 1;
    }
}

} // namespace sdelka
