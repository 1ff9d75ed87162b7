#include "platform/TraduccionQt.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTextStream>
#include <QTranslator>

namespace TraduccionQt {

QString Archivo()
{
    return QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath)).filePath(QStringLiteral("qtbase_es.qm"));
}

bool Instalar()
{
    auto* traductor = new QTranslator(QCoreApplication::instance());
    if (!traductor->load(Archivo()) || !QCoreApplication::installTranslator(traductor)) {
        QTextStream(stderr) << QCoreApplication::applicationName() << ": no se encontró la traducción de Qt "
                            << Archivo() << "; sus textos quedan en inglés" << Qt::endl;
        delete traductor;
        return false;
    }
    return true;
}

}
