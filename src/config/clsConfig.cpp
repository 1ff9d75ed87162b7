#include "config/clsConfig.h"

#include "config/clsDelimitador.h"
#include "config/clsDiagnosticos.h"
#include "config/clsEfector.h"
#include "config/clsEspecialidad.h"
#include "config/clsMedico.h"
#include "config/clsObraSocial.h"
#include "config/clsOperacion.h"
#include "config/clsPrestacion.h"
#include "config/clsPrestaciones.h"
#include "config/clsPrestador.h"
#include "engine/CarpetaTerminal.h"
#include "engine/General.h"
#include "platform/Codec1252.h"
#include "platform/Database.h"
#include "platform/Dialogs.h"
#include "platform/Lineas.h"
#include "platform/Paths.h"
#include "platform/Printers.h"
#include "platform/Printing.h"
#include "platform/ValoresBD.h"
#include "platform/Vb.h"

#include <cmath>

using namespace ValoresBD;

namespace {

const QString kOrigen = QStringLiteral("QuorvanLog.clsConfig");

// The row and the lists are read and bound through ValoresBD; a null where a value is
// required is the runtime's "invalid use of Null".
// The cursor reader hands an empty text over as a null string, which would be stored back as
// NULL: a value that is there stays a text.
QString presente(const QVariant& v, QString t) { return t.isNull() && v.isValid() && !v.isNull() ? QStringLiteral("") : t; }
QString TextoLeido(const QVariant& v) { return presente(v, Texto(v)); }
QString NuloATextoLeido(const QVariant& v) { return presente(v, NuloATexto(v)); }
QString recortado(const QVariant& v) { return presente(v, Vb::Trim(Texto(v))); }

// DefaultActividad is a number column; an empty value stands for activity 1.
QVariant actividadNumerica(const QString& actividad)
{
    const QString t = Vb::Trim(actividad);
    if (t.isEmpty()) return QVariant(qint64(1));
    return ValorNumerico(Vb::Val(t));
}

template <typename T>
void vaciar(std::shared_ptr<Coleccion<T>>& col)
{
    if (!col || col->Count() > 0) col = std::make_shared<Coleccion<T>>();
}

// Bound values per statement kept below SQLite's historical limit of 999.
constexpr int kMaxParametros = 900;

// The statements of the load, in its order. Each names its columns, and a row is read by the
// position of a column in that list.
enum Sentencia {
    SOperaciones, SMedicos, SPrestadores, SObrasSociales, SPrestaciones, SEspecialidades, SEfectores,
    SDiagnosticos, SDelimitadores, SParametros, SDelimitador, Sentencias
};
const char* const kSentencias[Sentencias] = {
    "SELECT Identificacion, Nombre, Descripcion, Utiliza FROM Operaciones ORDER BY Identificacion",
    "SELECT ApellidoNombre, Matricula, TipoMatricula, Baja FROM Medicos WHERE Baja = 0 ORDER BY ApellidoNombre",
    "SELECT Cuit, idPrestador, codigoOSDE, Predeterminado, Nombre, Odontologo, RequierePrescripcion, Filial, "
    "Admisor, Licencia, RequiereMatPrescriptor FROM Prestadores WHERE Baja = 0 ORDER BY Nombre",
    "SELECT IdObraSocial, Nombre, OnLine, UtilizarCI, AUISOA, Empresa, Actividad, FilialOS, UtilizaCSC "
    "FROM ObrasSociales ORDER BY Nombre",
    "SELECT CodigoPrestacion, CodigoInterno, Descripcion, Observaciones, IdObraSocial, Valor1, Valor2 "
    "FROM Prestaciones ORDER BY Descripcion",
    "SELECT idEspecialidad, Especialidad FROM Especialidades",
    "SELECT Cuit, IdEfector, Nombre, TipoMatricula, Matricula, Efectores.idEspecialidad, "
    "Especialidades.Especialidad "
    "FROM Efectores LEFT JOIN Especialidades ON Especialidades.idEspecialidad = Efectores.IdEspecialidad "
    "WHERE BAJA = 0 ORDER BY Nombre",
    "SELECT Codigo, Diagnostico FROM Diagnosticos ORDER BY Diagnostico",
    "SELECT idDelimitador, Delimitador FROM Delimitadores",
    "SELECT IdTerminal, CheckApp, DefaultOS, DefaultActividad, Imprimir, Impresora, Copias, Largohoja, FontName, "
    "FontSize, Timer, WorkDir, DirTX, DefaultDirTX, DBConect, idDelimitador, DireccionTerminal, TelefonoTerminal, "
    "LatitudTerminal, LongitudTerminal FROM Parametros WHERE IdTerminal = ?",
    "SELECT Delimitador FROM Delimitadores WHERE IdDelimitador = ?",
};

// Streams the rows of one statement of the load into `fila`, which reads the columns by
// position; no row is kept once read.
template <class F>
void leer(Database& cn, Sentencia s, const QVariantList& valores, F&& fila)
{
    auto rs = cn.OpenCursor(QLatin1String(kSentencias[s]), valores);
    while (rs->Next()) fila(*rs);
}

}

QStringList clsConfig::SentenciasDeCarga()
{
    QStringList lista;
    for (const char* s : kSentencias) lista << QLatin1String(s);
    return lista;
}

clsConfig::clsConfig()
{
    m_Operaciones = std::make_shared<Coleccion<clsOperacion>>();
    m_Prestadores = std::make_shared<Coleccion<clsPrestador>>();
    m_Efectores = std::make_shared<Coleccion<clsEfector>>();
    m_ObrasSociales = std::make_shared<Coleccion<clsObraSocial>>();
    m_Delimitadores = std::make_shared<Coleccion<clsDelimitador>>();
    m_Medicos = std::make_shared<Coleccion<clsMedico>>();
    m_PrestacionesCol = std::make_shared<Coleccion<clsPrestacion>>();
    m_DiagnosticosCol = std::make_shared<Coleccion<clsDiagnosticos>>();
    m_Transacciones = std::make_shared<Coleccion<clsTransacciones>>();
    m_Especialidades = std::make_shared<Coleccion<clsEspecialidad>>();
    try {
        m_cn = std::make_shared<Database>();
        m_cn->Open();
    } catch (const std::exception& e) {
        Relanzar(e);
    }
    m_Prestaciones = std::make_shared<clsPrestaciones>();
    m_Prestaciones->cnQuorvan = m_cn;
}

clsConfig::~clsConfig()
{
    if (m_cn) m_cn->Close();
}

void clsConfig::Relanzar(const std::exception& e)
{
    if (const auto* db = dynamic_cast<const DbError*>(&e)) throw DbError(db->number, kOrigen, db->description,
        db->sqlState);
    if (const auto* vb = dynamic_cast<const VbError*>(&e)) throw VbError(vb->number, kOrigen, vb->description);
    throw VbError(5, kOrigen, QString::fromLocal8Bit(e.what()));
}

// ---------------------------------------------------------------- the row

bool clsConfig::LoadConfig(qint16 intIdTerminal, bool bArranque)
{
    try {
        LoadOperaciones();
        LoadMedicos();
        LoadPrestadores(false);
        LoadOS();
        LoadPrestaciones();
        LoadEspecialidades();
        LoadEfectores();
        LoadDiagnosticos();
        LoadDelimitadores();

        bool hayFila = false;
        leer(*m_cn, SParametros, {QVariant(int(intIdTerminal))}, [&](const DbCursor& rs) {
            if (hayFila) return;
            hayFila = true;
            const auto v = [&rs](int i) -> const QVariant& { return rs.Valor(i); };
            m_IdTerminal = EnteroDelNumero(v(0));
            m_CheckApp = VerdadNoCero(v(1));
            m_DefaultOS = NuloATextoLeido(v(2));
            m_DefaultActividad = NuloATextoLeido(v(3));
            m_Imprimir = VerdadNoCero(v(4));
            m_Impresora = NuloATextoLeido(v(5));
            m_Copias = Vb::CInt(Vb::Val(NuloATextoLeido(v(6))));
            m_Largohoja = Vb::CInt(Vb::Val(NuloATextoLeido(v(7))));
            m_FontName = NuloATextoLeido(v(8));
            m_FontSize = Vb::CInt(Vb::Val(NuloATextoLeido(v(9))));
            m_Timer = VerdadNoCero(v(10));
            General::DirectorioTrabajo = NuloATextoLeido(v(11));
            m_DirTX = NuloATextoLeido(v(12));
            m_DefaultDirTX = NuloATextoLeido(v(13));
            m_DBConect = NuloATextoLeido(v(14));
            m_idDelimitador = Vb::CInt(Vb::Val(NuloATextoLeido(v(15))));
            m_DireccionTerminal = NuloATextoLeido(v(16));
            m_TelefonoTerminal = NuloATextoLeido(v(17));
            m_LatitudTerminal = NuloATextoLeido(v(18));
            m_LongitudTerminal = NuloATextoLeido(v(19));
        });
        if (!hayFila) return false;

        if (bArranque) LeerArchivoParametros();

        if (Vb::Trim(m_Impresora).isEmpty()) {
            const QString predeterminada = Printers::DefaultName();
            const QStringList instaladas = Printers::Names();
            for (const QString& nombre : instaladas) {
                if (nombre.compare(predeterminada, Qt::CaseInsensitive) == 0) {
                    m_Impresora = nombre;
                    Printing::setImpresoraActiva(nombre);
                    break;
                }
            }
        }

        bool hayDelimitador = false;
        leer(*m_cn, SDelimitador, {QVariant(int(m_idDelimitador))}, [&](const DbCursor& rs) {
            if (!hayDelimitador) m_Delimitador = recortado(rs.Valor(0));
            hayDelimitador = true;
        });

        m_isLoaded = true;
        m_isNew = false;
        return true;
    } catch (const std::exception& e) {
        Relanzar(e);
    }
}

// Marks the insurers the client has enabled: lines "SVL1" of its parameter file whose company
// and activity match and whose flag at position 103 is "1".
void clsConfig::LeerArchivoParametros()
{
    if (General::DirectorioTrabajo.isEmpty() || !m_ObrasSociales) return;
    // Read through the folder's handle, bounded, never through a link or from a pipe.
    const std::optional<QByteArray> datos =
        CarpetaTerminal::LeerDeBase(General::DirectorioTrabajo, QStringLiteral("_druvex.prm"), kOrigen);
    if (!datos) return;
    QStringList lineas = Lineas::Separar(Codec1252::decode(*datos));
    if (!lineas.isEmpty() && lineas.last().isEmpty()) lineas.removeLast();

    for (const auto& os : *m_ObrasSociales) {
        const QString empresa = Vb::Right(QStringLiteral("00") + QString::number(os->Empresa), 2);
        const QString actividad = Vb::Right(QStringLiteral("00") + QString::number(os->Actividad), 2);
        for (const QString& linea : lineas) {
            if (Vb::Mid(linea, 1, 2) == empresa && Vb::Mid(linea, 3, 2) == actividad
                && Vb::Mid(linea, 7, 4) == QLatin1String("SVL1") && Vb::Mid(linea, 103, 1) == QLatin1String("1"))
                os->BitMap = true;
        }
    }
}

void clsConfig::ActualizarFila(qint16 idTerminal)
{
    m_cn->Execute(QStringLiteral(
                      "UPDATE Parametros SET CheckApp = ?, IdDelimitador = ?, Imprimir = ?, Impresora = ?, "
                      "Copias = ?, FontName = ?, FontSize = ?, Largohoja = ?, Timer = ?, WorkDir = ?, DirTX = ?, "
                      "DefaultDirTX = ?, DBConect = ?, DefaultOS = ?, DefaultActividad = ?, DireccionTerminal = ?, "
                      "TelefonoTerminal = ?, LatitudTerminal = ?, LongitudTerminal = ? WHERE IdTerminal = ?"),
                  {Bandera(m_CheckApp), int(m_idDelimitador), Bandera(m_Imprimir), m_Impresora, int(m_Copias),
                   m_FontName, int(m_FontSize), int(m_Largohoja), Bandera(m_Timer), General::DirectorioTrabajo,
                   m_DirTX, ValorNumerico(Vb::Val(m_DefaultDirTX)), Vb::Trim(m_DBConect), m_DefaultOS,
                   actividadNumerica(m_DefaultActividad), m_DireccionTerminal, m_TelefonoTerminal,
                   m_LatitudTerminal, m_LongitudTerminal, int(idTerminal)});
}

void clsConfig::InsertarFila(qint16 idTerminal, const QString& workDir, const QString& defaultOS)
{
    m_cn->Execute(QStringLiteral(
                      "INSERT INTO Parametros (IdTerminal, CheckApp, IdDelimitador, Imprimir, Impresora, Copias, "
                      "Largohoja, Timer, WorkDir, DirTX, DefaultDirTX, DBConect, FontName, FontSize, DefaultOS, "
                      "DefaultActividad, DireccionTerminal, TelefonoTerminal, LatitudTerminal, LongitudTerminal) "
                      "VALUES (?, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                  {int(idTerminal), int(m_idDelimitador), Bandera(m_Imprimir), m_Impresora, int(m_Copias),
                   int(m_Largohoja), Bandera(m_Timer), workDir, m_DirTX, ValorNumerico(Vb::Val(m_DefaultDirTX)),
                   m_DBConect, m_FontName, int(m_FontSize), defaultOS, actividadNumerica(m_DefaultActividad),
                   m_DireccionTerminal, m_TelefonoTerminal, m_LatitudTerminal, m_LongitudTerminal});
}

void clsConfig::UpdateConfig()
{
    try {
        m_cn->EnTransaccion([&] {
            SaveOperaciones();
            SavePrestadores();
            SavePrestaciones();
            SaveEfectores();
            SaveDiagnosticos();
            SaveObrasSociales();
            ActualizarFila(m_IdTerminal);
        });
    } catch (const std::exception& e) {
        Relanzar(e);
    }
}

void clsConfig::AddConfig(qint16 intIdTerminal)
{
    try {
        m_cn->EnTransaccion([&] {
            // The operations chosen at the first configuration are the terminal's too.
            if (m_Operaciones) SaveOperaciones();
            SavePrestadores();
            SaveEfectores();
            SaveObrasSociales();
            DbResult rs = m_cn->Query(QStringLiteral("SELECT * FROM Parametros WHERE IdTerminal = ?"),
                                      {QVariant(int(intIdTerminal))});
            if (rs.EOF_())
                InsertarFila(intIdTerminal, General::DirectorioTrabajo, m_DefaultOS);
            else
                ActualizarFila(intIdTerminal);
        });
    } catch (const std::exception& e) {
        Relanzar(e);
    }
}

qint16 clsConfig::getIdTerminal(const QString& strWorkDir)
{
    try {
        qint16 nuevo = 0;
        m_cn->EnTransaccion([&] {
            DbResult rs = m_cn->Query(QStringLiteral("SELECT MAX(IdTerminal) AS Terminal FROM Parametros"));
            const qint32 m = rs.EOF_() ? 0 : NuloANumero(rs["Terminal"]);
            nuevo = Vb::CInt(double(m) + 1);
            InsertarFila(nuevo, strWorkDir, m_DefaultOS.isEmpty() ? QStringLiteral("OSDE") : m_DefaultOS);
        });
        return nuevo;
    } catch (const std::exception& e) {
        Relanzar(e);
    }
}

void clsConfig::UpdateOS()
{
    m_cn->Execute(QStringLiteral("UPDATE Parametros SET DefaultOS = ?, DefaultActividad = ? WHERE IdTerminal = ?"),
                  {m_DefaultOS, actividadNumerica(m_DefaultActividad), int(m_IdTerminal)});
}

qint16 clsConfig::getCantTerminales()
{
    try {
        DbResult rs = m_cn->Query(QStringLiteral("SELECT COUNT(*) AS Cantidad FROM Parametros"));
        return Vb::CInt(double(rs.EOF_() ? 0 : NuloANumero(rs["Cantidad"])));
    } catch (const std::exception& e) {
        Relanzar(e);
    }
}

// ---------------------------------------------------------------- the lists

void clsConfig::LoadOperaciones()
{
    vaciar(m_Operaciones);
    leer(*m_cn, SOperaciones, {}, [this](const DbCursor& rs) {
        auto op = std::make_shared<clsOperacion>();
        op->strIdentificacion = TextoLeido(rs.Valor(0));
        op->strNombre = TextoLeido(rs.Valor(1));
        op->strDescripcion = TextoLeido(rs.Valor(2));
        op->intUtiliza = Entero(rs.Valor(3));
        m_Operaciones->Add(op, op->strIdentificacion);
    });
}

void clsConfig::LoadPrestadores(bool bConfiguracion)
{
    vaciar(m_Prestadores);
    bool hayPredeterminado = false;
    leer(*m_cn, SPrestadores, {}, [&](const DbCursor& rs) {
        auto p = std::make_shared<clsPrestador>();
        p->Cuit = recortado(rs.Valor(0));
        p->idPrestador = EnteroDelNumero(rs.Valor(1));
        p->codigoOSDE = Numero(rs.Valor(2));
        p->Predeterminado = VerdadNoCero(rs.Valor(3));
        p->Nombre = recortado(rs.Valor(4));
        p->Odontologo = Entero(rs.Valor(5));
        p->RequierePrescripcion = VerdadNoCero(rs.Valor(6));
        p->Filial = EnteroDelNumero(rs.Valor(7));
        p->Admisor = Vb::CInt(Vb::Val(NuloATextoLeido(rs.Valor(8))));
        p->Licencia = NuloATextoLeido(rs.Valor(9));
        p->RequiereMatPrescriptor = Entero(rs.Valor(10));
        if (p->Predeterminado) hayPredeterminado = true;
        m_Prestadores->Add(p, QString::number(p->idPrestador));
    });

    if (m_Prestadores->Count() > 0 && !bConfiguracion && !hayPredeterminado) {
        const auto& primero = m_Prestadores->Item_(1);
        primero->Predeterminado = true;
        clsPrestador escritor;
        escritor.setConeccion(m_cn);
        escritor.Procesar(3, QString::number(primero->idPrestador), primero->Nombre, primero->Cuit,
                          primero->RequierePrescripcion ? QStringLiteral("True") : QStringLiteral("False"),
                          QString::number(primero->Odontologo), Vb::Str(primero->codigoOSDE),
                          QStringLiteral("True"), QString::number(primero->Filial),
                          QString::number(primero->Admisor), QVariant(int(primero->Baja)),
                          QVariant(primero->Licencia),
                          CondicionSQL{QStringLiteral("idPrestador = ?"), {int(primero->idPrestador)}},
                          QString::number(primero->RequiereMatPrescriptor));
    }
}

void clsConfig::LoadEfectores()
{
    vaciar(m_Efectores);
    leer(*m_cn, SEfectores, {}, [this](const DbCursor& rs) {
        auto e = std::make_shared<clsEfector>();
        e->Cuit = recortado(rs.Valor(0));
        e->idEfector = EnteroDelNumero(rs.Valor(1));
        e->Nombre = recortado(rs.Valor(2));
        e->TipoMatricula = recortado(rs.Valor(3));
        e->Matricula = TextoLeido(rs.Valor(4));
        e->idEspecialidad = AEntero16(rs.Valor(5));
        e->Especialidad = NuloATextoLeido(rs.Valor(6));
        m_Efectores->Add(e, QString::number(e->idEfector));
    });
}

void clsConfig::LoadDiagnosticos()
{
    vaciar(m_DiagnosticosCol);
    leer(*m_cn, SDiagnosticos, {}, [this](const DbCursor& rs) {
        auto d = std::make_shared<clsDiagnosticos>();
        d->Codigo = recortado(rs.Valor(0));
        d->Diagnostico = recortado(rs.Valor(1));
        m_DiagnosticosCol->Add(d, d->Codigo);
    });
}

void clsConfig::LoadPrestaciones()
{
    vaciar(m_PrestacionesCol);
    leer(*m_cn, SPrestaciones, {}, [this](const DbCursor& rs) {
        auto p = std::make_shared<clsPrestacion>();
        p->CodigoPrestacion = recortado(rs.Valor(0));
        p->CodigoInterno = recortado(rs.Valor(1));
        p->Descripcion = recortado(rs.Valor(2));
        p->Observaciones = recortado(rs.Valor(3));
        // Carried so that a rewrite of the table keeps them.
        p->IdObraSocial = NuloANumero(rs.Valor(4));
        p->Valor1 = NuloATextoLeido(rs.Valor(5));
        p->Valor2 = NuloATextoLeido(rs.Valor(6));
        // The catalogue holds one row per insurer; a code already listed for another insurer
        // stays in the list, reachable by position, so the first one answers the code.
        m_PrestacionesCol->AddConClaveLibre(p, p->CodigoPrestacion);
    });
}

void clsConfig::LoadOS()
{
    vaciar(m_ObrasSociales);
    leer(*m_cn, SObrasSociales, {}, [this](const DbCursor& rs) {
        auto o = std::make_shared<clsObraSocial>();
        o->IdObraSocial = EnteroDelNumero(rs.Valor(0));
        o->Nombre = recortado(rs.Valor(1));
        o->OnLine = VerdadNoCero(rs.Valor(2));
        o->UtilizaCI = VerdadNoCero(rs.Valor(3));
        o->AUISOA = Numero(rs.Valor(4));
        o->Empresa = EnteroDelNumero(rs.Valor(5));
        o->Actividad = EnteroDelNumero(rs.Valor(6));
        o->FilialOS = Vb::CInt(Vb::Val(NuloATextoLeido(rs.Valor(7))));
        o->UtilizaCSC = VerdadNoCero(rs.Valor(8));
        m_ObrasSociales->Add(o, o->Nombre + QLatin1Char(' ') + QString::number(o->Actividad));
    });
}

void clsConfig::LoadDelimitadores()
{
    vaciar(m_Delimitadores);
    leer(*m_cn, SDelimitadores, {}, [this](const DbCursor& rs) {
        auto d = std::make_shared<clsDelimitador>();
        d->idDelimitador = EnteroDelNumero(rs.Valor(0));
        d->Delimitador = recortado(rs.Valor(1));
        m_Delimitadores->Add(d);
    });
}

void clsConfig::LoadEspecialidades()
{
    vaciar(m_Especialidades);
    leer(*m_cn, SEspecialidades, {}, [this](const DbCursor& rs) {
        auto e = std::make_shared<clsEspecialidad>();
        e->idEspecialidad = EnteroDelNumero(rs.Valor(0));
        e->Especialidad = recortado(rs.Valor(1));
        m_Especialidades->Add(e);
    });
}

void clsConfig::LoadMedicos()
{
    vaciar(m_Medicos);
    auto rs = m_cn->OpenCursor(QLatin1String(kSentencias[SMedicos]));
    try {
        while (rs->Next()) {
            auto m = std::make_shared<clsMedico>();
            m->ApellidoNombre = NuloATextoLeido(rs->Valor(0));
            m->Matricula = NuloATextoLeido(rs->Valor(1));
            m->TipoMatricula = NuloATextoLeido(rs->Valor(2));
            const QVariant& baja = rs->Valor(3);
            m->Baja = baja.isNull() ? 0 : (VerdadNoCero(baja) ? -1 : 0);
            m_Medicos->Add(m);
        }
    } catch (const DbError&) {
        throw; // a failing read is the load's, not a doctor's
    } catch (const VbError& e) {
        Dialogs::MsgBox(QStringLiteral("error ") + e.description, Vbc::vbOKOnly, Dialogs::kAppTitle);
    }
}

void clsConfig::InsertarFilas(const QString& tabla, const QStringList& columnas, const QList<QVariantList>& filas)
{
    if (filas.isEmpty()) return;
    const int porSentencia = qMax(1, kMaxParametros / int(columnas.size()));
    QString marcas = QStringLiteral("(?");
    for (int c = 1; c < columnas.size(); ++c) marcas += QStringLiteral(", ?");
    marcas += QLatin1Char(')');
    const QString cabecera =
        QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(tabla, columnas.join(QStringLiteral(", ")));

    QString sqlLleno; // the text of a full batch, the same for every full batch
    for (int inicio = 0; inicio < filas.size(); inicio += porSentencia) {
        const int n = qMin(porSentencia, int(filas.size()) - inicio);
        QString sql;
        if (n == porSentencia && !sqlLleno.isEmpty()) {
            sql = sqlLleno;
        } else {
            QStringList grupos;
            grupos.reserve(n);
            for (int i = 0; i < n; ++i) grupos << marcas;
            sql = cabecera + grupos.join(QStringLiteral(", "));
            if (n == porSentencia) sqlLleno = sql;
        }
        QVariantList valores;
        valores.reserve(n * columnas.size());
        for (int i = 0; i < n; ++i) valores += filas[inicio + i];
        m_cn->Execute(sql, valores);
    }
}

void clsConfig::SaveOperaciones()
{
    for (const auto& op : *m_Operaciones)
        m_cn->Execute(QStringLiteral("UPDATE Operaciones SET  Utiliza = ? WHERE Identificacion = ?"),
                      {int(op->intUtiliza), op->strIdentificacion});
}

void clsConfig::SavePrestadores()
{
    m_cn->Execute(QStringLiteral("DELETE FROM Prestadores"));
    QList<QVariantList> filas;
    filas.reserve(m_Prestadores->Count());
    qint16 i = 0;
    for (const auto& p : *m_Prestadores) {
        // Providers are renumbered by their place in the list.
        i = Vb::CInt(double(i) + 1);
        filas.append({int(i), p->Nombre, p->Cuit, ValorNumerico(p->codigoOSDE), Bandera(p->Predeterminado),
                      Bandera(p->RequierePrescripcion), int(p->Filial), int(p->Admisor),
                      int(std::abs(int(p->Odontologo))), p->Licencia, int(p->RequiereMatPrescriptor)});
    }
    InsertarFilas(QStringLiteral("Prestadores"),
                  {QStringLiteral("IdPrestador"), QStringLiteral("Nombre"), QStringLiteral("Cuit"),
                   QStringLiteral("CodigoOSDE"), QStringLiteral("Predeterminado"),
                   QStringLiteral("RequierePrescripcion"), QStringLiteral("Filial"), QStringLiteral("Admisor"),
                   QStringLiteral("Odontologo"), QStringLiteral("Licencia"), QStringLiteral("RequiereMatPrescriptor")},
                  filas);
}

void clsConfig::SavePrestaciones()
{
    m_cn->Execute(QStringLiteral("DELETE FROM Prestaciones"));
    QList<QVariantList> filas;
    filas.reserve(m_PrestacionesCol->Count());
    for (const auto& p : *m_PrestacionesCol)
        filas.append({int(p->IdObraSocial), p->CodigoPrestacion, p->CodigoInterno, p->Valor1, p->Valor2,
                      p->Descripcion, p->Observaciones});
    InsertarFilas(QStringLiteral("Prestaciones"),
                  {QStringLiteral("IdObraSocial"), QStringLiteral("CodigoPrestacion"), QStringLiteral("CodigoInterno"),
                   QStringLiteral("Valor1"), QStringLiteral("Valor2"), QStringLiteral("Descripcion"),
                   QStringLiteral("Observaciones")},
                  filas);
}

void clsConfig::SaveDiagnosticos()
{
    m_cn->Execute(QStringLiteral("DELETE FROM Diagnosticos"));
    QList<QVariantList> filas;
    filas.reserve(m_DiagnosticosCol->Count());
    for (const auto& d : *m_DiagnosticosCol) filas.append({d->Codigo, d->Diagnostico});
    InsertarFilas(QStringLiteral("Diagnosticos"), {QStringLiteral("Codigo"), QStringLiteral("Diagnostico")}, filas);
}

void clsConfig::SaveEfectores()
{
    m_cn->Execute(QStringLiteral("DELETE FROM Efectores"));
    QList<QVariantList> filas;
    filas.reserve(m_Efectores->Count());
    qint16 i = 0;
    for (const auto& e : *m_Efectores) {
        // Effectors are renumbered by their place in the list.
        i = Vb::CInt(double(i) + 1);
        filas.append({int(i), e->Nombre, e->Cuit, e->TipoMatricula, e->Matricula, int(e->idEspecialidad),
                      Bandera(e->Baja != 0)});
    }
    InsertarFilas(QStringLiteral("Efectores"),
                  {QStringLiteral("IdEfector"), QStringLiteral("Nombre"), QStringLiteral("Cuit"),
                   QStringLiteral("tipomatricula"), QStringLiteral("matricula"), QStringLiteral("idEspecialidad"),
                   QStringLiteral("Baja")},
                  filas);
}

void clsConfig::SaveObrasSociales()
{
    m_cn->Execute(QStringLiteral("DELETE FROM ObrasSociales"));
    QList<QVariantList> filas;
    filas.reserve(m_ObrasSociales->Count());
    for (const auto& o : *m_ObrasSociales)
        filas.append({int(o->IdObraSocial), o->Nombre, int(o->FilialOS), Bandera(o->OnLine), Bandera(o->UtilizaCI),
                      ValorNumerico(o->AUISOA), int(o->Empresa), int(o->Actividad), Bandera(o->UtilizaCSC)});
    InsertarFilas(QStringLiteral("ObrasSociales"),
                  {QStringLiteral("IdObraSocial"), QStringLiteral("Nombre"), QStringLiteral("FilialOS"),
                   QStringLiteral("OnLine"), QStringLiteral("UtilizarCI"), QStringLiteral("AUISOA"),
                   QStringLiteral("Empresa"), QStringLiteral("Actividad"), QStringLiteral("UtilizaCSC")},
                  filas);
}

void clsConfig::SaveMedicos()
{
    m_cn->Execute(QStringLiteral("DELETE FROM Medicos"));
    QList<QVariantList> filas;
    filas.reserve(m_Medicos->Count());
    for (const auto& m : *m_Medicos)
        filas.append({m->ApellidoNombre, m->Matricula, m->TipoMatricula, Bandera(m->Baja != 0)});
    InsertarFilas(QStringLiteral("Medicos"),
                  {QStringLiteral("ApellidoNombre"), QStringLiteral("Matricula"), QStringLiteral("TipoMatricula"),
                   QStringLiteral("Baja")},
                  filas);
}
