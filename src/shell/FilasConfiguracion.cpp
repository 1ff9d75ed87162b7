#include "shell/FilasConfiguracion.h"

#include "config/Coleccion.h"
#include "config/clsEfector.h"
#include "config/clsObraSocial.h"
#include "config/clsOperacion.h"
#include "config/clsPrestador.h"
#include "platform/Twips.h"
#include "platform/Vb.h"

#include <QFontMetrics>
#include <QRegularExpression>

namespace FilasConfiguracion {

const QString kTipoOtro = QStringLiteral("Otro");

namespace {
const QString kVerdadero = QStringLiteral("Si");
const QString kFalso = QStringLiteral("No");
const QString kPredeterminado = QStringLiteral("predeterminado");
// Stored codes of the `cmbTipo` items, in item order; 4 is not a type of its own.
constexpr qint16 kCodigosTipo[] = {0, 1, 2, 3, 5, 6};
// Pixels a list cell adds around its text (margins and the header's sort arrow room).
constexpr int kMargenCelda = 14;

QString Numero(double v) { return Vb::Str(v); }
}

QString TextoVerdad(bool valor) { return valor ? kVerdadero : kFalso; }

bool LeerVerdad(const QString& texto)
{
    const QString t = Vb::Trim(texto);
    if (t.compare(kVerdadero, Qt::CaseInsensitive) == 0 || t.compare(QStringLiteral("Sí"), Qt::CaseInsensitive) == 0 ||
        t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 ||
        t.compare(QLatin1String("Verdadero"), Qt::CaseInsensitive) == 0)
        return true;
    return Vb::IsNumeric(t) && Vb::Val(t) != 0;
}

QList<Columna> ColumnasPrestadores()
{
    return {{QStringLiteral("Nombre"), QString(60, QLatin1Char(' '))},
            {QStringLiteral("Cuit"), QStringLiteral("99-99999999-9")},
            {QStringLiteral("Código"), QStringLiteral("Código")},
            {QStringLiteral("Licencia"), QStringLiteral("Licencia    ")},
            {QStringLiteral("Req. Pres."), QStringLiteral("Req.Pres.")},
            {QStringLiteral("Espec."), QStringLiteral("Odont.")},
            {QStringLiteral("Filial"), QStringLiteral("Filial")},
            {QStringLiteral("Admisor"), QStringLiteral("Admisor")},
            {QStringLiteral("Req. Mat."), QStringLiteral("Requiere Mat.")}};
}

QList<Columna> ColumnasEfectores()
{
    return {{QStringLiteral("Nombre"), QString(60, QLatin1Char(' '))},
            {QStringLiteral("Cuit"), QStringLiteral("99-99999999-9")},
            {QStringLiteral("T.Mat."), QStringLiteral("Tipo.Mat.")},
            {QStringLiteral("Matrícula"), QStringLiteral("Matrícula")},
            {QStringLiteral("Especialidad"), QStringLiteral("Especialidad")},
            {QStringLiteral("Baja"), QStringLiteral("Baja")},
            {QStringLiteral("Id"), QString(), true},
            {QStringLiteral("IdEspecialidad"), QString(), true},
            {QStringLiteral("T.M."), QString(), true}};
}

QList<Columna> ColumnasObrasSociales()
{
    // Fixed in the layout: the header's own width, the name column wide.
    return {{QStringLiteral("Nombre"), QString(40, QLatin1Char(' '))},
            {QStringLiteral("Nro. Credencial"), QStringLiteral("Nro. Credencial")},
            {QStringLiteral("Filial"), QStringLiteral("Filial")},
            {QStringLiteral("On-Line"), QStringLiteral("On-Line")},
            {QStringLiteral("Empresa"), QStringLiteral("Empresa")},
            {QStringLiteral("Actividad"), QStringLiteral("Actividad")},
            {QStringLiteral("Usa CSC"), QStringLiteral("Usa CSC")}};
}

int AnchoColumna(const QFontMetrics& fuente, const Columna& columna)
{
    if (columna.oculta) return 0;
    // The header is never cut, and the cell's own margins come on top of the text.
    const int texto = qMax(fuente.horizontalAdvance(columna.muestra), fuente.horizontalAdvance(columna.titulo));
    return Twips::DePixeles(texto + kMargenCelda);
}

QStringList TiposPrestador()
{
    return {QStringLiteral("Médico"),    QStringLiteral("Odontólogo"),             QStringLiteral("Psicólogo"),
            QStringLiteral("Diagnóstico"), QStringLiteral("Prestadores por sesión"), QStringLiteral("Clínica")};
}

QString TextoTipoPrestador(qint16 codigo)
{
    const QStringList tipos = TiposPrestador();
    for (int i = 0; i < tipos.size(); ++i)
        if (kCodigosTipo[i] == codigo) return tipos.at(i);
    return QString();
}

int ItemTipoPrestador(const QString& texto) { return TiposPrestador().indexOf(texto); }

qint16 CodigoTipoPrestador(int item)
{
    return item >= 0 && item < int(std::size(kCodigosTipo)) ? kCodigosTipo[item] : 0;
}

Fila FilaPrestador(const clsPrestador& p)
{
    Fila f;
    f.columnas = {p.Nombre,
                  p.Cuit,
                  Numero(p.codigoOSDE),
                  p.Licencia,
                  TextoVerdad(p.RequierePrescripcion),
                  TextoTipoPrestador(p.Odontologo),
                  Numero(p.Filial),
                  Numero(p.Admisor),
                  p.RequiereMatPrescriptor == 0 ? QStringLiteral("No") : QStringLiteral("Si")};
    f.icono = p.Predeterminado ? kPredeterminado : QString();
    f.tipo = p.Odontologo;
    return f;
}

QString CuitConGuiones(const QString& cuit)
{
    return Vb::Mid(cuit, 1, 2) + QLatin1Char('-') + Vb::Mid(cuit, 3, 8) + QLatin1Char('-') + Vb::Mid(cuit, 11, 1);
}

Fila FilaEfector(const clsEfector& e)
{
    // A dental registration is stored ending in "2" (storing writes "1" for a medical one).
    const QString tipo = e.TipoMatricula.endsWith(QLatin1Char('2')) ? QStringLiteral("Odont.") : QStringLiteral("Médico");
    Fila f;
    f.columnas = {e.Nombre,
                  CuitConGuiones(e.Cuit),
                  tipo + QLatin1Char('-') + Vb::Left(e.TipoMatricula, 1),
                  e.Matricula,
                  e.Especialidad,
                  e.Baja == 0 ? QStringLiteral("NO") : QStringLiteral("SI"),
                  Numero(e.idEfector),
                  Numero(e.idEspecialidad),
                  e.TipoMatricula};
    return f;
}

Fila FilaObraSocial(const clsObraSocial& os, const QString& clave)
{
    Fila f;
    f.clave = clave;
    f.columnas = {os.Nombre,         Numero(os.AUISOA),   Numero(os.FilialOS),      TextoVerdad(os.OnLine),
                  Numero(os.Empresa), Numero(os.Actividad), TextoVerdad(os.UtilizaCSC)};
    return f;
}

std::optional<Fila> AgregarPrestador(const CamposPrestador& c)
{
    if (c.cuit.isEmpty() || c.nombre.isEmpty() || c.cuit.size() != 11) return std::nullopt;
    Fila f;
    QString tipo = kTipoOtro;
    f.tipo = 0;
    if (c.itemTipo >= 0) {
        tipo = TiposPrestador().value(c.itemTipo);
        f.tipo = CodigoTipoPrestador(c.itemTipo);
    } else if (c.tipoSinTexto) {
        // Shown as loading shows it, stored as it was.
        tipo.clear();
        f.tipo = *c.tipoSinTexto;
    }
    f.columnas = {c.nombre,
                  c.cuit,
                  Numero(Vb::Val(c.codigo)),
                  c.licencia,
                  TextoVerdad(c.prescripcion),
                  tipo,
                  Numero(Vb::Val(c.filial)),
                  c.admisor ? QStringLiteral("1") : QStringLiteral("0"),
                  c.requiereMat};
    return f;
}

CamposPrestador TomarPrestador(const Fila& fila, int itemActual)
{
    CamposPrestador c;
    c.nombre = fila.columna(0);
    c.cuit = fila.columna(1);
    c.codigo = fila.columna(2);
    c.licencia = fila.columna(3);
    c.prescripcion = LeerVerdad(fila.columna(4));
    const QString tipo = fila.columna(5);
    const int item = ItemTipoPrestador(tipo);
    c.itemTipo = item >= 0 ? item : itemActual;
    if (item < 0 && tipo != kTipoOtro && TextoTipoPrestador(fila.tipo).isEmpty()) {
        c.itemTipo = -1;
        c.tipoSinTexto = fila.tipo;
    }
    c.filial = fila.columna(6);
    c.admisor = Vb::Val(fila.columna(7)) != 0;
    c.requiereMat = fila.columna(8);
    return c;
}

bool CuitEfectorValido(const QString& cuit)
{
    static const QRegularExpression forma(QStringLiteral("^\\d{2}-\\d{8}-\\d$"));
    return forma.match(cuit).hasMatch();
}

std::optional<Fila> GuardarEfector(const CamposEfector& c)
{
    if (c.nombre.isEmpty() || c.cuit.isEmpty() || c.cuit.size() != 13 || !CuitEfectorValido(c.cuit))
        return std::nullopt;
    const bool medico = Vb::Left(c.tipo, 1) == QLatin1String("M");
    const QString letra = Vb::Left(c.jurisdiccion, 1);
    Fila f;
    f.columnas = {c.nombre,
                  c.cuit,
                  (medico ? QStringLiteral("Médico") : QStringLiteral("Odont.")) + QLatin1Char('-') + letra,
                  Vb::Trim(c.matricula),
                  Vb::Trim(Vb::Left(c.especialidad, c.especialidad.size() - 5)),
                  c.baja ? QStringLiteral("SI") : QStringLiteral("NO"),
                  c.id,
                  Vb::Trim(Vb::Right(c.especialidad, 4)),
                  letra + (medico ? QLatin1String("1") : QLatin1String("2"))};
    return f;
}

QString ReemplazarCaracter(const QString& texto, const QString& caracter)
{
    if (caracter.isEmpty()) return texto;
    QString r = texto;
    return r.replace(caracter, QStringLiteral("\u00B4"), Qt::CaseSensitive);
}

qint16 IdNuevaObraSocial(const Coleccion<clsObraSocial>& obras, std::optional<qint16> idAnterior)
{
    auto ocupado = [&obras](int id) {
        for (const auto& o : obras)
            if (o->IdObraSocial == id) return true;
        return false;
    };
    if (idAnterior && *idAnterior > 0 && !ocupado(*idAnterior)) return *idAnterior;
    int id = obras.Count() + 1;
    while (ocupado(id)) ++id;
    return Vb::CInt(double(id));
}

AltaObraSocial AgregarObraSocial(const CamposObraSocial& c, const QList<Fila>& filas,
                                 const Coleccion<clsObraSocial>& obras, std::optional<qint16> idAnterior)
{
    AltaObraSocial alta;
    if (Vb::Trim(c.nombre).isEmpty()) return alta;
    const QString nombre = ReemplazarCaracter(Vb::Trim(c.nombre).toUpper(), QStringLiteral("'"));
    auto os = std::make_shared<clsObraSocial>();
    try {
        os->FilialOS = Vb::CInt(Vb::Val(c.filial));
        os->Empresa = Vb::CInt(Vb::Val(c.empresa));
        os->Actividad = Vb::CInt(Vb::Val(c.actividad));
    } catch (const std::exception&) {
        alta.resultado = ResultadoObraSocial::Invalido;
        return alta;
    }
    for (const Fila& f : filas) {
        const bool mismaClave = f.clave.toUpper() == nombre;
        const bool mismoNombreYActividad =
            f.columna(0).toUpper() == nombre && Vb::Val(f.columna(5)) == double(os->Actividad);
        if (mismaClave || mismoNombreYActividad) {
            alta.resultado = ResultadoObraSocial::Existe;
            return alta;
        }
    }
    os->IdObraSocial = IdNuevaObraSocial(obras, idAnterior);
    os->Nombre = nombre;
    os->AUISOA = Vb::Val(c.auisoa);
    os->OnLine = c.onLine;
    os->UtilizaCI = c.utilizaCI;
    os->UtilizaCSC = c.utilizaCSC;
    alta.resultado = ResultadoObraSocial::Agregada;
    alta.fila = FilaObraSocial(*os, nombre);
    alta.obra = std::move(os);
    return alta;
}

CamposObraSocial TomarObraSocial(const Fila& fila)
{
    CamposObraSocial c;
    c.nombre = fila.columna(0);
    c.auisoa = fila.columna(1);
    c.filial = fila.columna(2);
    c.onLine = LeerVerdad(fila.columna(3));
    c.empresa = fila.columna(4);
    c.actividad = fila.columna(5);
    c.utilizaCSC = !fila.columna(6).isEmpty() && LeerVerdad(fila.columna(6));
    return c;
}

std::shared_ptr<clsOperacion> OperacionDeFila(const Fila& fila)
{
    auto op = std::make_shared<clsOperacion>();
    op->strIdentificacion = fila.columna(0);
    op->strNombre = fila.columna(1);
    op->strDescripcion = fila.columna(2);
    op->intUtiliza = fila.icono == QLatin1String("Si") ? 1 : 0;
    return op;
}

std::shared_ptr<clsPrestador> PrestadorDeFila(const Fila& fila)
{
    auto p = std::make_shared<clsPrestador>();
    p->Nombre = fila.columna(0);
    p->Cuit = fila.columna(1);
    p->codigoOSDE = Vb::CDbl(fila.columna(2));
    p->Licencia = fila.columna(3);
    p->RequierePrescripcion = LeerVerdad(fila.columna(4));
    p->RequiereMatPrescriptor = fila.columna(8) == QLatin1String("Si") ? 1 : 0;
    const int item = ItemTipoPrestador(fila.columna(5));
    p->Odontologo = item >= 0 ? CodigoTipoPrestador(item) : fila.tipo;
    p->Predeterminado = fila.icono == kPredeterminado;
    p->Filial = Vb::CInt(fila.columna(6));
    p->Admisor = Vb::CInt(fila.columna(7));
    return p;
}

std::shared_ptr<clsEfector> EfectorDeFila(const Fila& fila)
{
    auto e = std::make_shared<clsEfector>();
    e->Nombre = fila.columna(0);
    e->Cuit = fila.columna(1).remove(QLatin1Char('-'));
    e->TipoMatricula = fila.columna(8);
    e->Matricula = fila.columna(3);
    e->idEspecialidad = Vb::CInt(fila.columna(7));
    e->Baja = fila.columna(5) == QLatin1String("SI") ? 1 : 0;
    return e;
}

}
