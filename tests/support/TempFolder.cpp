#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempFolder::TempFolder() : m_dir(QDir::tempPath() + QStringLiteral("/quorvan-wf-XXXXXX")) {}

QString TempFolder::path() const { return m_dir.path() + QLatin1Char('/'); }

QString TempFolder::file(const QString& relative) const { return path() + relative; }

void TempFolder::write(const QString& relative, const QByteArray& bytes) const
{
    const QString p = file(relative);
    QDir().mkpath(QFileInfo(p).path());
    QFile f(p);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

QByteArray TempFolder::read(const QString& relative) const
{
    QFile f(file(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TempFolder::exists(const QString& relative) const { return QFileInfo::exists(file(relative)); }

void TempFolder::mkdir(const QString& relative) const { QDir().mkpath(file(relative)); }
