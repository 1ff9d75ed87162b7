#pragma once
#include "engine/clsItemError.h"
#include "engine/modRegistros.h"

#include <QString>

// The medicine catalogue query: the single record of "upload/_svl.7", answered in
// "download/_svl.7" with the same layout.
class clsVademecum {
public:
    static constexpr int LargoSVL7 = 318;

    // Set by the sender when it fills the query; selects the catalogue path.
    bool existo() const { return m_existo; }
    void setexisto(bool value) { m_existo = value; }

    // Every value is trimmed; the fixed fields are held at their width, blank-filled and cut.
    QString Tarjeta() const { return m_tarjeta; }
    void setTarjeta(const QString& value);
    void setOperacion(const QString& value);
    void setNombreMedicamento(const QString& value);
    void setAccion(const QString& value);
    void setMonodroga(const QString& value);

    // Opens the request file below the terminal folder for random access; the number is this
    // object's handle for CerrarArchivo.
    qint16 AbrirArchivo(const QString& carpetaTerminal);
    bool CerrarArchivo(qint16 archivo);
    bool GrabarSVL7(const QString& carpetaTerminal);
    // The first answer record: an item with its code and comment when the code is an error,
    // else a blank item (also for a missing or empty answer file).
    clsItemError LeerSVL7(const QString& carpetaTerminal);

private:
    QString RegistroSVL7() const;

    bool m_existo = false;
    QString m_tarjeta;
    QString m_operacion = QString(2, QLatin1Char(' '));
    QString m_nombreMedicamento = QString(30, QLatin1Char(' '));
    QString m_accion = QString(35, QLatin1Char(' '));
    QString m_monodroga = QString(40, QLatin1Char(' '));
    modRegistros::TablaArchivos m_archivos;
};
