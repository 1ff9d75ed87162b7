#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// The text of a settings file, in the INI form of Qt's QSettings (with which earlier versions
// wrote them, and which other programs may still use on them), read and changed in memory: a
// value reads as QSettings reads it, one written reads back so in QSettings too, and every
// line not changed stays as it stood, comments and unknown entries included. Values are text;
// one QSettings keeps as another type (a list, a number written by another program) reads as
// the text QSettings would give for it.
class ArchivoIni {
public:
    explicit ArchivoIni(const QByteArray& texto = QByteArray());

    // None when the key is missing.
    std::optional<QString> Valor(const QString& seccion, const QString& clave) const;
    void Poner(const QString& seccion, const QString& clave, const QString& valor);
    // Removes every key of the section, and of the sections below it.
    void QuitarSeccion(const QString& seccion);
    QByteArray Texto() const;

private:
    enum class Clase { Otra, Cabecera, Entrada };
    // A line as it stands; blank and comment lines are Otra.
    struct Trozo {
        QByteArray texto;
        QByteArray fin; // the line end after it
        Clase clase = Clase::Otra;
        QString seccion; // of a heading, or the one a line lies in ("" before the first)
        QString clave;   // an entry's "section/key"
        QByteArray valor; // an entry's value as written
    };
    // Inserts an entry after the last entry (or the heading) of its section.
    void Insertar(const QString& seccion, Trozo entrada);
    QList<Trozo> m_trozos;
};
