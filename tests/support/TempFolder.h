#pragma once
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary working folder for one test, removed afterwards.
class TempFolder {
public:
    TempFolder();
    // The folder with one trailing "/".
    QString path() const;
    QString file(const QString& relative) const;
    void write(const QString& relative, const QByteArray& bytes) const;
    QByteArray read(const QString& relative) const;
    bool exists(const QString& relative) const;
    void mkdir(const QString& relative) const;

private:
    QTemporaryDir m_dir;
};
