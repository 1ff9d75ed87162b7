#pragma once
#include <QString>

class CarpetaTerminal;

// The remote report's request and answer: the request record "_sal.0" (operation "08"), the
// control record and trigger, the client's status and the answer "_sal.1" turned into report
// text. Paths are below the working folder, in the report folder named by `sTermtemp`.
class clsMsgReporte {
public:
    QString Operacion;
    QString FechaDesde; // yyyymmdd
    QString FechaHasta; // yyyymmdd
    QString Cuit;       // 11 digits
    QString Msg_respuesta;

    // Writes the request record into upload; raises VbError when it cannot.
    void EscribirArchivo(const QString& strFileName, const QString& sTermtemp);
    // Clears the previous answer, writes the control record ("V2501101" for SAL0, else
    // "V1051101") and the trigger. A failure is shown ("<number> : <description>") and gives
    // false.
    bool EnviarTransaccion(qint32 sinUso, const QString& sTermtemp, bool& SAL0);
    // Deletes the status file and every file of download; raises VbError when one stays.
    void LimpiarRespuesta(const QString& sTermtemp);
    // The first line of the status file: a code that reads 0 as a number (or a status that is
    // missing or cannot be opened) is success; otherwise the line is shown and `resultado` is
    // false, as it is for a status that is a link, not a regular file or too large (its
    // message names it).
    void Respuesta(const QString& sTermtemp, bool& resultado);
    // Reads the whole answer "_sal.1" into Msg_respuesta: the column titles, then one text
    // line per answer line ending in CR LF. A missing answer gives the titles only; one that
    // cannot be read raises VbError.
    void LeerArchivos(const QString& sTermtemp);

    // The request record, 116 bytes with its CR LF.
    QByteArray Registro() const;

private:
    // Appends the text line of the current answer line (`m_Linea`) of the given type.
    void ArmarLineaRespuesta(qint16 tipo);
    QString Campo(int posicion, int largo) const;
    CarpetaTerminal Carpeta(const QString& sTermtemp) const;

    QString m_Linea;
};
