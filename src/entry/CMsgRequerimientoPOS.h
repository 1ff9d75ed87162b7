#pragma once
#include "config/Coleccion.h"
#include "txlog/clsPrestacionTxOSDE.h"

#include <QString>
#include <memory>

class ValoresEmuladorPOS;

// One insurer request as the entry window captured it: the header fields named after the
// insurer's message fields and its service lines. The send makes one per click, fills it,
// checks it with Validar and, for an insurer that is not on-line, logs it with LogDB.
class CMsgRequerimientoPOS {
public:
    using Lineas = Coleccion<clsPrestacionTxOSDE>;

    QString AUCUIT;
    // The send sets the chosen insurer's before logging; the request sent carries none.
    qint32 AUISOA = 0;
    quint8 AUFILA = 0;
    qint32 AUASOA = 0;
    quint8 AUBENA = 0;
    quint8 AUDIGA = 0;
    quint8 AUVERA = 0;
    quint8 AUTRAC = 0;
    QString AUATRC;
    QString AUMANA;
    QString AUWREF;
    qint32 AUNREF = 0;
    QString AUTMAT;
    qint32 AUNMAT = 0;
    QString AUFECP;
    QString AUDSM1;
    QString AUDSM2;
    quint8 AUFINA = 0;
    QString AUCEFE;
    QString AUHORP;
    QString AUMOTA;
    QString NombreMedico;
    QString NombreAfiliado;
    QString NumeroTransaccionPrestador;
    qint32 AUAUTO = 0;
    QString AUWHOO;
    QString AUREST;
    QString AULEYD;
    QString AULEYP;
    // A currency amount: ten-thousandths of the unit (four fixed decimals).
    qint64 AUMONT = 0;
    QString AUSYST;
    std::shared_ptr<Lineas> Prestaciones() const { return m_Prestaciones; }
    void setPrestaciones(std::shared_ptr<Lineas> lineas) { m_Prestaciones = std::move(lineas); }

    // Whether the request may be sent for operation `op`; shows one message per broken rule
    // and never refuses without one. Reads the entry window through `formulario`.
    bool Validar(qint16 op, const ValoresEmuladorPOS& formulario);
    // Logs the request into the request log as terminal 999. A deferred request keeps the
    // lines the user entered and no answer; otherwise the answer and the answered lines are
    // read first from the "download" folder below the working folder's `Carpeta`.
    void LogDB(bool Diferida, const QString& Carpeta);
    // Reads the answer ("_svl.3") and the answered lines ("_svl.2", which replace the
    // message's lines). Errors are raised with the source "CMsgRequerimientoPOS".
    void LeerArchivos(const QString& Carpeta);

    // An insurer's AUISOA as the request log keeps it, at least six digits zero-padded: the
    // local report compares the logged text with the insurer's by this same pattern.
    static QString AUISOARegistrado(qint64 auisoa);

private:
    bool ValidarReglas(qint16 op, const ValoresEmuladorPOS& formulario);
    std::shared_ptr<Lineas> m_Prestaciones;
};
