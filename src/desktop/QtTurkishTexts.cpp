#include "desktop/QtTurkishTexts.h"

#include "base/ProgramFolder.h"
#include "base/TurkishText.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace QtTurkishTexts {

bool install(QCoreApplication &application)
{
    const QLocale turkish = TurkishText::locale();
    QLocale::setDefault(turkish);
    auto *translator = new QTranslator(&application);
    for (const QString &folder : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                  ProgramFolder::installedFile(QStringLiteral("translations"))}) {
        if (translator->load(turkish, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            return true;
        }
    }
    delete translator;
    return false;
}

} // namespace QtTurkishTexts
