// Applying the table-update answers of the communications client to the local reference
// tables, one fixed-width line at a time.
#include "config/GeneralTablas.h"

#include "config/clsDiagnosticos.h"
#include "config/clsEfector.h"
#include "config/clsMedico.h"
#include "config/clsPrestacion.h"
#include "config/clsPrestador.h"
#include "engine/General.h"
#include "engine/clsTransaccion.h"
#include "platform/Database.h"
#include "platform/Dialogs.h"
#include "platform/ValoresBD.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

#include <QCoreApplication>
#include <QStringView>
#include <exception>

namespace General {

namespace {

using ValoresBD::ATexto;
using ValoresBD::EnteroDeTexto;
using ValoresBD::VerdadIgualUno;

const QString kCrLf = QStringLiteral("\r\n");
const QString kTituloError = QStringLiteral("Error al leer archivos");
const QString kTituloAviso = QStringLiteral("Actualización de tablas");

// Line widths, CR LF included.
constexpr qsizetype kLargoMedico = 51;
constexpr qsizetype kLargoEfector = 57;
constexpr qsizetype kLargoPrestador = 73;
constexpr qsizetype kLargoPrestadorSinLicencia = 64; // the 62 characters up to Baja, then CR LF
constexpr qsizetype kLargoPrestacion = 176;
constexpr qsizetype kLargoDiagnostico = 163;

// ---- Reading by position --------------------------------------------------------------------
//
// The answer lists can be several megabytes, so the readers never cut the text: they move a
// position through it. Each reader looks at one line, bounded by the first CR LF from the
// position, and reads its fields by counting characters. A line whose CR LF is not where its
// width puts it is malformed: it is skipped and reading goes on after that CR LF, so one bad
// line cannot shift the lines after it.

struct Linea {
    QStringView texto; // the line without its CR LF
    bool conFin = false; // it ended in CR LF (a text may end inside a line)
};

// The line at `pos`; `pos` moves past its CR LF, or to the end of the text.
Linea TomarLinea(const QString& t, qsizetype& pos)
{
    Linea l;
    const qsizetype fin = t.indexOf(kCrLf, pos);
    if (fin < 0) {
        l.texto = QStringView(t).mid(pos);
        pos = t.size();
    } else {
        l.texto = QStringView(t).mid(pos, fin - pos);
        l.conFin = true;
        pos = fin + 2;
    }
    return l;
}

// `ancho` characters of the line from `desde`, padded on the right with blanks.
QString Campo(QStringView linea, qsizetype desde, qsizetype ancho)
{
    QString c = desde < linea.size() ? linea.mid(desde, ancho).toString() : QString();
    if (c.size() < ancho)
        c += QString(ancho - c.size(), QLatin1Char(' '));
    return c;
}

bool LineaCompleta(const Linea& l, qsizetype largo)
{
    return l.conFin && l.texto.size() == largo - 2;
}

QString FinLinea(bool valida)
{
    return valida ? kCrLf : QString();
}

bool LeerMedico(const QString& t, qsizetype& pos, RegistroMedico& r)
{
    const Linea l = TomarLinea(t, pos);
    const bool ok = LineaCompleta(l, kLargoMedico);
    r.Matricula = Campo(l.texto, 0, 6);
    r.TipoMatricula = Campo(l.texto, 6, 2);
    r.ApellidoNombre = Campo(l.texto, 8, 40);
    r.Baja = Campo(l.texto, 48, 1);
    r.FinLinea = FinLinea(ok);
    return ok;
}

bool LeerEfector(const QString& t, qsizetype& pos, RegistroEfector& r)
{
    const Linea l = TomarLinea(t, pos);
    const bool ok = LineaCompleta(l, kLargoEfector);
    r.Nombre = Campo(l.texto, 0, 35);
    r.Cuit = Campo(l.texto, 35, 11);
    r.TipoMatricula = Campo(l.texto, 46, 2);
    r.Matricula = Campo(l.texto, 48, 6);
    r.Baja = Campo(l.texto, 54, 1);
    r.FinLinea = FinLinea(ok);
    return ok;
}

bool LeerPrestador(const QString& t, qsizetype& pos, RegistroPrestador& r)
{
    const Linea l = TomarLinea(t, pos);
    // The account code and the flag after it may be missing altogether: the line then ends
    // right after Baja, and both are blank.
    const bool sinLicencia = LineaCompleta(l, kLargoPrestadorSinLicencia);
    const bool ok = sinLicencia || LineaCompleta(l, kLargoPrestador);
    r.Nombre = Campo(l.texto, 0, 35);
    r.Cuit = Campo(l.texto, 35, 11);
    r.RequierePrescripcion = Campo(l.texto, 46, 1);
    r.Odontologo = Campo(l.texto, 47, 1);
    r.codigoOSDE = Campo(l.texto, 48, 9);
    r.Predeterminado = Campo(l.texto, 57, 1);
    r.Filial = Campo(l.texto, 58, 2);
    r.Admisor = Campo(l.texto, 60, 1);
    r.Baja = Campo(l.texto, 61, 1);
    r.Licencia = sinLicencia ? QString(8, QLatin1Char(' ')) : Campo(l.texto, 62, 8);
    r.RequiereMatPrescriptor = sinLicencia ? QStringLiteral(" ") : Campo(l.texto, 70, 1);
    r.FinLinea = FinLinea(ok);
    return ok;
}

bool LeerPrestacion(const QString& t, qsizetype& pos, RegistroPrestacion& r)
{
    const Linea l = TomarLinea(t, pos);
    const bool ok = LineaCompleta(l, kLargoPrestacion);
    // 2 characters before the code and 11 + 1 after the description are not used.
    r.CodigoPrestacion = Campo(l.texto, 2, 10);
    r.Descripcion = Campo(l.texto, 12, 150);
    r.FinLinea = FinLinea(ok);
    return ok;
}

qsizetype SaltarBlancos(QStringView s, qsizetype i)
{
    while (i < s.size() && s[i] == QLatin1Char(' '))
        ++i;
    return i;
}

bool LeerDiagnostico(const QString& t, qsizetype& pos, RegistroDiagnostico& r)
{
    const Linea l = TomarLinea(t, pos);
    const QStringView s = l.texto;
    r.Codigo = Campo(s, 0, 10);
    if (LineaCompleta(l, kLargoDiagnostico)) {
        // The full-width line is read by position, so a description that begins with blanks
        // or a blank flag stays in its place.
        r.Diagnostico = Vb::Trim(Campo(s, 10, 150));
        r.Marca = Vb::Trim(Campo(s, 160, 1));
        r.FinLinea = kCrLf;
        return true;
    }
    // Other widths: blanks between the fields are skipped, as the client may pad them; the
    // line is good when the description is whole, a flag follows it and nothing but blanks
    // follows the flag (a line one character short would otherwise pass its flag off as the
    // end of the description).
    qsizetype i = SaltarBlancos(s, 10);
    const bool descripcionEntera = i + 150 <= s.size();
    r.Diagnostico = Vb::Trim(Campo(s, i, 150));
    i = SaltarBlancos(s, i + 150);
    const bool conMarca = i < s.size();
    r.Marca = Vb::Trim(Campo(s, i, 1));
    i = SaltarBlancos(s, i + 1);
    const bool ok = l.conFin && s.size() >= 10 && descripcionEntera && conMarca && i >= s.size();
    r.FinLinea = FinLinea(ok);
    return ok;
}

// Runs a position reader on the front of `texto` and removes what it consumed.
template <class Registro>
bool Desarmar(QString& texto, Registro& r, bool (*leer)(const QString&, qsizetype&, Registro&))
{
    qsizetype pos = 0;
    const bool ok = leer(texto, pos, r);
    texto.remove(0, pos);
    return ok;
}

// ---- Values ---------------------------------------------------------------------------------

// Where the list ends: after its last character that is not a blank or a line end. Found once,
// so blank lines cost no more than any other line.
qsizetype FinDeLista(const QString& t)
{
    qsizetype fin = t.size();
    while (fin > 0) {
        const QChar c = t[fin - 1];
        if (c != QLatin1Char(' ') && c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            break;
        --fin;
    }
    return fin;
}

QString FlagTexto(const QString& campo)
{
    return VerdadIgualUno(campo) ? QStringLiteral("1") : QStringLiteral("0");
}

bool Hallado(const std::shared_ptr<DbResult>& rs)
{
    return rs && !rs->EOF_();
}

// ---- One list -------------------------------------------------------------------------------

struct Omitidas {
    int cantidad = 0;
    int primera = 0;
};

// Reads every line of `texto` and hands the good ones to `aplicar`; malformed lines are
// counted. Blanks and line ends left at the end close the list.
template <class Registro, class Aplicar>
Omitidas RecorrerLista(const QString& texto, bool (*leer)(const QString&, qsizetype&, Registro&),
                       Aplicar aplicar)
{
    Omitidas o;
    qsizetype pos = 0;
    int numero = 0;
    Registro r;
    const qsizetype fin = FinDeLista(texto);
    while (pos < fin) {
        ++numero;
        const qsizetype inicio = pos;
        bool ok = leer(texto, pos, r);
        // A NUL cannot be stored (PostgreSQL text holds none) and would cut the statement at
        // the driver: such a line is malformed.
        if (ok && QStringView(texto).mid(inicio, pos - inicio).contains(QChar(0)))
            ok = false;
        if (ok) {
            aplicar(r);
        } else if (o.cantidad++ == 0) {
            o.primera = numero;
        }
    }
    return o;
}

void AvisarOmitidas(const Omitidas& o, const QString& lista)
{
    if (o.cantidad == 0)
        return;
    const QString texto = o.cantidad == 1
        ? QStringLiteral("Se omitió 1 línea de la lista de %1 por tener un formato incorrecto: la línea %2.")
              .arg(lista)
              .arg(o.primera)
        : QStringLiteral("Se omitieron %1 líneas de la lista de %2 por tener un formato incorrecto; "
                         "la primera es la línea %3.")
              .arg(o.cantidad)
              .arg(lista)
              .arg(o.primera);
    Dialogs::MsgBox(texto, Vbc::vbExclamation, kTituloAviso);
}

void CederEventos()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

QString TextoRespuesta(QString (clsTransaccion::*get)() const)
{
    return TransaccionActual ? ((*TransaccionActual).*get)() : QString();
}

// ---- The five lists -------------------------------------------------------------------------

void AplicarMedicos(clsMedico& med, bool completo)
{
    const QString texto = TextoRespuesta(&clsTransaccion::GetMedicos);
    if (!texto.isEmpty() && completo)
        med.Procesar(2, QString(), QString(), QString(), false);
    const Omitidas o = RecorrerLista<RegistroMedico>(texto, &LeerMedico, [&med](const RegistroMedico& r) {
        // The column is numeric: search, store and condition all use the number.
        const qint64 matricula = EnteroDeTexto(r.Matricula);
        const QString numero = QString::number(matricula);
        const CondicionSQL clave{QStringLiteral("Matricula = ? AND TipoMatricula = ?"), {matricula, r.TipoMatricula}};
        med.ApellidoNombre.clear();
        const bool hallado = Hallado(med.Buscar(clave));
        const QString nombre = Vb::Trim(r.ApellidoNombre);
        if (!hallado)
            med.Procesar(1, nombre, numero, r.TipoMatricula, VerdadIgualUno(r.Baja));
        else
            med.Procesar(3, nombre, numero, r.TipoMatricula, VerdadIgualUno(r.Baja), clave);
    });
    AvisarOmitidas(o, QStringLiteral("médicos"));
    CederEventos();
}

void AplicarEfectores(clsEfector& ef, bool completo)
{
    const QString texto = TextoRespuesta(&clsTransaccion::GetEfectores);
    if (!texto.isEmpty() && completo)
        ef.Procesar(2, QString(), QString(), QString(), QString(), QVariant(false), QString(), 0);
    const Omitidas o = RecorrerLista<RegistroEfector>(texto, &LeerEfector, [&ef](const RegistroEfector& r) {
        // The column is text and the insert stores the registration as received ("000123"),
        // so the search and the condition use that same form.
        const CondicionSQL clave{QStringLiteral("Matricula = ? AND TipoMatricula = ?"), {r.Matricula, r.TipoMatricula}};
        ef.Nombre.clear();
        const bool hallado = Hallado(ef.Buscar(clave));
        const QString nombre = Vb::Trim(r.Nombre);
        const QString cuit = Vb::Trim(r.Cuit);
        const QVariant baja(VerdadIgualUno(r.Baja));
        if (!hallado) {
            ef.Procesar(1, nombre, cuit, r.Matricula, r.TipoMatricula, baja, QString(), 0);
        } else {
            // The speciality is not in the answer: the one the row has stays.
            ef.Procesar(3, nombre, cuit, r.Matricula, r.TipoMatricula, baja, clave, ef.idEspecialidad);
        }
    });
    AvisarOmitidas(o, QStringLiteral("efectores"));
    CederEventos();
}

void AplicarPrestadores(clsPrestador& pr, bool completo)
{
    const QString texto = TextoRespuesta(&clsTransaccion::GetPrestadores);
    if (!texto.isEmpty() && completo)
        pr.Procesar(2, QString(), QString(), QString(), QString(), QString(), QString(), QString(), QString(),
                    QString(),
                    QVariant(false), QVariant(QString()), QString(), QString());
    const Omitidas o = RecorrerLista<RegistroPrestador>(texto, &LeerPrestador, [&pr](const RegistroPrestador& r) {
        // One CUIT may have several accounts at the client: a provider is the pair, both in
        // the search and in the update. The CUIT is stored trimmed, so it is compared so.
        const QString cuit = Vb::Trim(r.Cuit);
        const CondicionSQL clave{QStringLiteral("Cuit = ? AND Licencia = ?"), {cuit, r.Licencia}};
        pr.Nombre.clear();
        const bool hallado = Hallado(pr.Buscar(clave));
        pr.Procesar(hallado ? 3 : 1, hallado ? QString() : QStringLiteral("0"), Vb::Trim(r.Nombre), cuit,
                    FlagTexto(r.RequierePrescripcion), r.Odontologo, r.codigoOSDE, FlagTexto(r.Predeterminado),
                    r.Filial, r.Admisor, QVariant(VerdadIgualUno(r.Baja)), QVariant(r.Licencia),
                    hallado ? clave : CondicionSQL{}, r.RequiereMatPrescriptor);
    });
    AvisarOmitidas(o, QStringLiteral("prestadores"));
    CederEventos();
}

void AplicarPrestaciones(clsPrestacion& pc, bool completo)
{
    const QString texto = TextoRespuesta(&clsTransaccion::GetPracticas);
    if (!texto.isEmpty() && completo)
        pc.Procesar(2, QString(), QString(), QString(), QString(), QString(), QString(), QString(), QString());
    const Omitidas o = RecorrerLista<RegistroPrestacion>(texto, &LeerPrestacion, [&pc](const RegistroPrestacion& r) {
        pc.CodigoPrestacion.clear();
        QString buscado = r.CodigoPrestacion;
        const std::shared_ptr<DbResult> rs = pc.Buscar(QString(), buscado);
        const QString codigo = Vb::Trim(r.CodigoPrestacion);
        QString descripcion = Vb::Trim(r.Descripcion);
        if (descripcion.size() > 30)
            descripcion = r.Descripcion.left(30);
        if (!Hallado(rs)) {
            pc.Procesar(1, QStringLiteral("0"), codigo, codigo, QString(), QString(), descripcion, QString(),
                        QString());
            return;
        }
        // The answer carries neither the values, the remarks nor the insurer of a service:
        // those of the row stay. A code may stand under several insurers; only the row that
        // was found is rewritten, so the others keep their own values.
        const qint64 idObraSocial = EnteroDeTexto(ATexto(rs->value(QStringLiteral("IdObraSocial"))));
        pc.IdObraSocial = static_cast<qint32>(idObraSocial);
        pc.Valor1 = ATexto(rs->value(QStringLiteral("Valor1")));
        pc.Valor2 = ATexto(rs->value(QStringLiteral("Valor2")));
        pc.Observaciones = ATexto(rs->value(QStringLiteral("Observaciones")));
        pc.Procesar(3, QString::number(idObraSocial), codigo, codigo, pc.Valor1, pc.Valor2, descripcion,
                    pc.Observaciones,
                    CondicionSQL{QStringLiteral("CodigoPrestacion = ? AND IdObraSocial = ?"), {codigo, idObraSocial}});
    });
    AvisarOmitidas(o, QStringLiteral("prácticas"));
    CederEventos();
}

void AplicarDiagnosticos(clsDiagnosticos& dg, bool completo)
{
    const QString texto = TextoRespuesta(&clsTransaccion::GetDiagnosticos);
    if (!texto.isEmpty() && completo)
        dg.Procesar(2, QString(), QString(), QString());
    const Omitidas o =
        RecorrerLista<RegistroDiagnostico>(texto, &LeerDiagnostico, [&dg](const RegistroDiagnostico& r) {
            dg.Diagnostico.clear();
            QString buscado = r.Codigo;
            const bool hallado = Hallado(dg.Buscar(QString(), buscado));
            const QString codigo = Vb::Trim(r.Codigo);
            const QString diagnostico = Vb::Trim(r.Diagnostico);
            if (!hallado) {
                dg.Procesar(1, codigo, diagnostico, QString());
            } else {
                dg.Procesar(3, codigo, diagnostico, CondicionSQL{QStringLiteral("Codigo = ?"), {codigo}});
            }
        });
    AvisarOmitidas(o, QStringLiteral("diagnósticos"));
    CederEventos();
}

} // namespace

bool DesarmarRegistroMedico(QString& texto, RegistroMedico& r)
{
    return Desarmar(texto, r, &LeerMedico);
}

bool DesarmarRegistroEfector(QString& texto, RegistroEfector& r)
{
    return Desarmar(texto, r, &LeerEfector);
}

bool DesarmarRegistroPrestador(QString& texto, RegistroPrestador& r)
{
    return Desarmar(texto, r, &LeerPrestador);
}

bool DesarmarRegistroPrestacion(QString& texto, RegistroPrestacion& r)
{
    return Desarmar(texto, r, &LeerPrestacion);
}

bool DesarmarRegistroDiagnostico(QString& texto, RegistroDiagnostico& r)
{
    return Desarmar(texto, r, &LeerDiagnostico);
}

bool ProcesarActualizacionTablas(bool pEfectores, bool pMedicos, bool pPrestadores, bool pPracticas,
                                 bool pDiagnosticos, bool pCompletoEfectores, bool pCompletoMedicos,
                                 bool pCompletoPrestadores, bool pCompletoPracticas, bool pCompletoDiagnosticos)
{
    // No enclosing transaction: each line is committed by its class, so a run that stops
    // keeps what it applied.
    QString error;
    try {
        clsMedico med;
        clsEfector ef;
        clsPrestador pr;
        clsPrestacion pc;
        clsDiagnosticos dg;
        if (pMedicos)
            AplicarMedicos(med, pCompletoMedicos);
        if (pEfectores)
            AplicarEfectores(ef, pCompletoEfectores);
        if (pPrestadores)
            AplicarPrestadores(pr, pCompletoPrestadores);
        if (pPracticas)
            AplicarPrestaciones(pc, pCompletoPracticas);
        if (pDiagnosticos)
            AplicarDiagnosticos(dg, pCompletoDiagnosticos);
        return true;
    } catch (const VbError& e) {
        error = e.description;
    } catch (const std::exception& e) {
        error = QString::fromLocal8Bit(e.what());
    } catch (...) {
        error = QStringLiteral("Error desconocido");
    }
    Dialogs::MsgBox(error, Vbc::vbCritical, kTituloError);
    return false;
}

}
