#include "app/Language.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace plavex::app {

bool useBulgarian(QApplication &app)
{
    const QLocale bulgarian(QLocale::Bulgarian, QLocale::Bulgaria);
    QLocale::setDefault(bulgarian);
    auto *qtbase = new QTranslator(&app);
    if (!qtbase->load(bulgarian, QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qtbase;
        return false;
    }
    QApplication::installTranslator(qtbase);
    return true;
}

} // namespace plavex::app
