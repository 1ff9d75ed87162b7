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

#include <QFile>
#include <cmath>

using namespace ValoresBD;

namespace {

const QString kOrigen = QStringLiteral("QuorvanLog.clsConfig");

// The row and the lists are read and bound through ValoresBD; a null where a value is
// required is the runtime's "invalid use of Null".
QString recortado(const QVariant& v) { return Vb::Trim(Texto(v)); }

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

        DbResult rs = m_cn->Query(QStringLiteral("SELECT * FROM Parametros WHERE IdTerminal = ?"),
                                  {QVariant(int(intIdTerminal))});
        if (rs.EOF_()) return false;

        m_IdTerminal = EnteroDelNumero(rs["IdTerminal"]);
        m_CheckApp = VerdadNoCero(rs["CheckApp"]);
        m_DefaultOS = NuloATexto(rs["DefaultOS"]);
        m_DefaultActividad = NuloATexto(rs["DefaultActividad"]);
        m_Imprimir = VerdadNoCero(rs["Imprimir"]);
        m_Impresora = NuloATexto(rs["Impresora"]);
        m_Copias = Vb::CInt(Vb::Val(NuloATexto(rs["Copias"])));
        m_Largohoja = Vb::CInt(Vb::Val(NuloATexto(rs["Largohoja"])));
        m_FontName = NuloATexto(rs["FontName"]);
        m_FontSize = Vb::CInt(Vb::Val(NuloATexto(rs["FontSize"])));
        m_Timer = VerdadNoCero(rs["Timer"]);
        General::DirectorioTrabajo = NuloATexto(rs["WorkDir"]);
        m_DirTX = NuloATexto(rs["DirTX"]);
        m_DefaultDirTX = NuloATexto(rs["DefaultDirTX"]);
        m_DBConect = NuloATexto(rs["DBConect"]);
        m_idDelimitador = Vb::CInt(Vb::Val(NuloATexto(rs["idDelimitador"])));
        m_DireccionTerminal = NuloATexto(rs["DireccionTerminal"]);
        m_TelefonoTerminal = NuloATexto(rs["TelefonoTerminal"]);
        m_LatitudTerminal = NuloATexto(rs["LatitudTerminal"]);
        m_LongitudTerminal = NuloATexto(rs["LongitudTerminal"]);

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

        DbResult del = m_cn->Query(QStringLiteral("SELECT * FROM Delimitadores WHERE IdDelimitador = ?"),
                                   {QVariant(int(m_idDelimitador))});
        if (!del.EOF_()) m_Delimitador = recortado(del["Delimitador"]);

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
    const QString ruta = Paths::FindCaseInsensitive(General::DirectorioTrabajo, QStringLiteral("_druvex.prm"));
    if (ruta.isEmpty()) return;
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        throw VbError(VbError::FileNotFound, kOrigen, QStringLiteral("No se ha encontrado el archivo"));
    const QString contenido = Codec1252::decode(f.readAll());
    f.close();
    QStringList lineas = Lineas::Separar(contenido);
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
    DbResult rs = m_cn->Query(QStringLiteral("SELECT * FROM Operaciones ORDER BY Identificacion"));
    for (; !rs.EOF_(); rs.MoveNext()) {
        auto op = std::make_shared<clsOperacion>();
        op->strIdentificacion = Texto(rs["Identificacion"]);
        op->strNombre = Texto(rs["Nombre"]);
        op->strDescripcion = Texto(rs["Descripcion"]);
        op->intUtiliza = Entero(rs["Utiliza"]);
        m_Operaciones->Add(op, op->strIdentificacion);
    }
}

void clsConfig::LoadPrestadores(bool bConfiguracion)
{
    vaciar(m_Prestadores);
    bool hayPredeterminado = false;
    DbResult rs = m_cn->Query(QStringLiteral("SELECT * FROM Prestadores WHERE Baja = 0 ORDER BY Nombre"));
    for (; !rs.EOF_(); rs.MoveNext()) {
        auto p = std::make_shared<clsPrestador>();
        p->Cuit = recortado(rs["Cuit"]);
        p->idPrestador = EnteroDelNumero(rs["idPrestador"]);
        p->codigoOSDE = Numero(rs["codigoOSDE"]);
        p->Predeterminado = VerdadNoCero(rs["Predeterminado"]);
        p->Nombre = recortado(rs["Nombre"]);
        p->Odontologo = Entero(rs["Odontologo"]);
        p->RequierePrescripcion = VerdadNoCero(rs["RequierePrescripcion"]);
        p->Filial = EnteroDelNumero(rs["Filial"]);
        p->Admisor = Vb::CInt(Vb::Val(NuloATexto(rs["Admisor"])));
        p->Licencia = NuloATexto(rs["Licencia"]);
        p->RequiereMatPrescriptor = Entero(rs["RequiereMatPrescriptor"]);
        if (p->Predeterminado) hayPredeterminado = true;
        m_Prestadores->Add(p, QString::number(p->idPrestador));
    }

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
    DbResult rs = m_cn->Query(QStringLiteral(
        "SELECT IdEfector, Nombre, Cuit, Matricula, Tipomatricula, Baja, Efectores.idEspecialidad, "
        "Especialidades.Especialidad "
        "FROM Efectores LEFT JOIN Especialidades ON Especialidades.idEspecialidad = Efectores.IdEspecialidad "
        "WHERE BAJA = 0 ORDER BY Nombre"));
    for (; !rs.EOF_(); rs.MoveNext()) {
        auto e = std::make_shared<clsEfector>();
        e->Cuit = recortado(rs["Cuit"]);
        e->idEfector = EnteroDelNumero(rs["idEfector"]);
        e->Nombre = recortado(rs["Nombre"]);
        e->TipoMatricula = recortado(rs["TipoMatricula"]);
        e->Matricula = Texto(rs["Matricula"]);
        e->idEspecialidad = AEntero16(rs["idEspecialidad"]);
        e->Especialidad = NuloATexto(rs["Especialidad"]);
        m_Efectores->Add(e, QString::number(e->idEfector));
    }
}

void clsConfig::LoadDiagnosticos()
{
    vaciar(m_DiagnosticosCol);
    DbResult rs = m_cn->Query(QStringLiteral("SELECT * FROM Diagnosticos ORDER BY Diagnostico"));
    for (; !rs.EOF_(); rs.MoveNext()) {
        auto d = std::make_shared<clsDiagnosticos>();
        d->Codigo = recortado(rs["Codigo"]);
        d->Diagnostico = recortado(rs["Diagnostico"]);
        m_DiagnosticosCol->Add(d, d->Codigo);
    }
}

void clsConfig::LoadPrestaciones()
{
    vaciar(m_PrestacionesCol);
    DbResult rs = m_cn->Query(QStringLiteral("SELECT * FROM Prestaciones ORDER BY Descripcion"));
    for (; !rs.EOF_(); rs.MoveNext()) {
        auto p = std::make_shared<clsPrestacion>();
        p->CodigoPrestacion = recortado(rs["CodigoPrestacion"]);
        p->CodigoInterno = recortado(rs["CodigoInterno"]);
        p->Descripcion = recortado(rs["Descripcion"]);
        p->Observaciones = recortado(rs["Observaciones"]);
        // Carried so that a rewrite of the table keeps them.
        p->IdObraSocial = NuloANumero(rs["IdObraSocial"]);
        p->Valor1 = NuloATexto(rs["Valor1"]);
        p->Valor2 = NuloATexto(rs["Valor2"]);
        // The catalogue holds one row per insurer; a code already listed for another insurer
        // stays in the list, reachable by position, so the first one answers the code.
        if (m_PrestacionesCol->Contains(p->CodigoPrestacion))
            m_PrestacionesCol->Add(p);
        else
            m_PrestacionesCol->Add(p, p->CodigoPrestacion);
    }
}

void clsConfig::LoadOS()
{
    vaciar(m_ObrasSociales);
    DbResult rs = m_cn->Query(QStringLiteral("SELECT * FROM ObrasSociales ORDER BY Nombre"));
    for (; !rs.EOF_(); rs.MoveNext()) {
        auto o = std::make_shared<clsObraSocial>();
        o->IdObraSocial = EnteroDelNumero(rs["IdObraSocial"]);
        o->Nombre = recortado(rs["Nombre"]);
        o->OnLine = VerdadNoCero(rs["OnLine"]);
        o->UtilizaCI = VerdadNoCero(rs["UtilizarCI"]);
        o->AUISOA = Numero(rs["AUISOA"]);
        o->Empresa = EnteroDelNumero(rs["Empresa"]);
        o->Actividad = EnteroDelNumero(rs["Actividad"]);
        o->FilialOS = Vb::CInt(Vb::Val(NuloATexto(rs["FilialOS"])));
        o->UtilizaCSC = VerdadNoCero(rs["UtilizaCSC"]);
        m_ObrasSociales->Add(o, o->Nombre + QLatin1Char(' ') + QString::number(o->Actividad));
    }
}

void clsConfig::LoadDelimitadores()
{
    vaciar(m_Delimitadores);
    DbResult rs = m_cn->Query(QStringLiteral("SELECT * FROM Delimitadores"));
    for (; !rs.EOF_(); rs.MoveNext()) {
        auto d = std::make_shared<clsDelimitador>();
        d->idDelimitador = EnteroDelNumero(rs["idDelimitador"]);
        d->Delimitador = recortado(rs["Delimitador"]);
        m_Delimitadores->Add(d);
    }
}

void clsConfig::LoadEspecialidades()
{
    vaciar(m_Especialidades);
    DbResult rs = m_cn->Query(QStringLiteral("SELECT * FROM Especialidades"));
    for (; !rs.EOF_(); rs.MoveNext()) {
        auto e = std::make_shared<clsEspecialidad>();
        e->idEspecialidad = EnteroDelNumero(rs["idEspecialidad"]);
        e->Especialidad = recortado(rs["Especialidad"]);
        m_Especialidades->Add(e);
    }
}

void clsConfig::LoadMedicos()
{
    vaciar(m_Medicos);
    DbResult rs = m_cn->Query(QStringLiteral("SELECT * FROM Medicos WHERE Baja = 0 ORDER BY ApellidoNombre"));
    try {
        for (; !rs.EOF_(); rs.MoveNext()) {
            auto m = std::make_shared<clsMedico>();
            m->ApellidoNombre = NuloATexto(rs["ApellidoNombre"]);
            m->Matricula = NuloATexto(rs["Matricula"]);
            m->TipoMatricula = NuloATexto(rs["TipoMatricula"]);
            const QVariant baja = rs["Baja"];
            m->Baja = baja.isNull() ? 0 : (VerdadNoCero(baja) ? -1 : 0);
            m_Medicos->Add(m);
        }
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
