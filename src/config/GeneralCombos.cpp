#include "config/GeneralCombos.h"

#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsEfector.h"
#include "config/clsEspecialidad.h"
#include "config/clsMedico.h"
#include "config/clsPrestador.h"
#include "engine/General.h"
#include "platform/Dialogs.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QStyledItemDelegate>

namespace General {

namespace {

// The blanks that keep a speciality's id out of sight; the entry windows read the id back from
// the end of the entry text.
const QString kRelleno = QString(100, QLatin1Char(' '));

// Shows a padded entry by its visible part only, so the popup is as wide as the names.
class DelegadoSinRelleno : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& value, const QLocale& locale) const override
    {
        const QString t = value.toString();
        const int i = t.indexOf(kRelleno);
        if (i >= 0) return t.left(i);
        return QStyledItemDelegate::displayText(value, locale);
    }
};

const char* const kNombreDelegado = "DelegadoSinRelleno";

// The combo widens its popup to the full text of its entries; this brings it back to the
// visible names (never narrower than the closed list).
class AnchoPopup : public QObject {
public:
    explicit AnchoPopup(QComboBox* combo) : QObject(combo), m_combo(combo) {}

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override
    {
        if (ev->type() == QEvent::Show) {
            auto* contenedor = qobject_cast<QWidget*>(obj);
            QAbstractItemView* vista = m_combo->view();
            if (contenedor && vista) {
                const int margen = contenedor->width() - vista->viewport()->width();
                const int deseado =
                    qMax(m_combo->width(), vista->sizeHintForColumn(m_combo->modelColumn()) + margen);
                if (deseado < contenedor->width()) contenedor->resize(deseado, contenedor->height());
            }
        }
        return false;
    }

private:
    QComboBox* m_combo;
};

}

void OcultarRelleno(QComboBox* combo)
{
    QAbstractItemView* vista = combo->view();
    if (vista && !(vista->itemDelegate() && vista->itemDelegate()->objectName() == QLatin1String(kNombreDelegado))) {
        auto* d = new DelegadoSinRelleno(combo);
        d->setObjectName(QLatin1String(kNombreDelegado));
        vista->setItemDelegate(d);
        if (QWidget* contenedor = vista->window(); contenedor && contenedor != combo->window())
            contenedor->installEventFilter(new AnchoPopup(combo));
    }
    // The closed list must not grow to the padded width of its entries.
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    if (combo->minimumContentsLength() == 0) combo->setMinimumContentsLength(20);
}

namespace {

clsConfig& Configuracion()
{
    if (!gConfig)
        throw VbError(91, QStringLiteral("General"),
                      QStringLiteral("Variable de objeto o bloque With no establecido"));
    return *gConfig;
}

void MostrarError(const std::exception& e)
{
    const auto* vb = dynamic_cast<const VbError*>(&e);
    Dialogs::MsgBox(vb ? vb->description : QString::fromLocal8Bit(e.what()), Vbc::vbCritical, Dialogs::kAppTitle);
}

}

void CargarComboPrestadores(QComboBox* combo)
{
    if (!combo) return;
    try {
        combo->clear();
        int elegido = -1;
        const auto prestadores = Configuracion().Prestadores();
        if (prestadores) {
            for (const auto& p : *prestadores) {
                if (p->Admisor == 0) continue;
                combo->addItem(p->Nombre, QVariant(int(p->idPrestador)));
                const int indice = combo->count() - 1;
                // The entry added, not the first of that name: two providers may share one.
                if (PrestadorActual != 0) {
                    if (p->idPrestador == PrestadorActual) elegido = indice;
                } else if (p->Predeterminado) {
                    elegido = indice;
                }
            }
        }
        combo->setCurrentIndex(elegido);
    } catch (const std::exception& e) {
        MostrarError(e);
    }
}

void CargarComboEspecialidades(QComboBox* combo)
{
    if (!combo) return;
    try {
        OcultarRelleno(combo);
        combo->clear();
        combo->addItem(kRelleno + QStringLiteral("00"), QVariant(0));
        const auto especialidades = Configuracion().Especialidades();
        if (especialidades && especialidades->Count() > 0) ListaIdsPrestadores.clear();
        if (especialidades) {
            for (const auto& e : *especialidades)
                combo->addItem(e->Especialidad + kRelleno + QString::number(e->idEspecialidad),
                               QVariant(int(e->idEspecialidad)));
        }
        combo->setCurrentIndex(0);
    } catch (const std::exception& e) {
        MostrarError(e);
    }
}

void CargarCombosMatricula(QComboBox* tipos, QComboBox* jurisdicciones)
{
    try {
        if (tipos) {
            tipos->clear();
            tipos->addItems({QString(), QStringLiteral("M.MEDICO"), QStringLiteral("O.ODONTOLOGO")});
            tipos->setCurrentIndex(0);
        }
        if (jurisdicciones) {
            jurisdicciones->clear();
            jurisdicciones->addItems({QString(),
                                      QStringLiteral("0.PROVINCIAL"),
                                      QStringLiteral("C.NACIONAL"),
                                      QStringLiteral("B.BUENOS AIRES"),
                                      QStringLiteral("K.CATAMARCA"),
                                      QStringLiteral("H.CHACO"),
                                      QStringLiteral("U.CHUBUT"),
                                      QStringLiteral("X.CORDOBA"),
                                      QStringLiteral("W.CORRIENTES"),
                                      QStringLiteral("E.ENTRE RIOS"),
                                      QStringLiteral("P.FORMOSA"),
                                      QStringLiteral("Y.JUJUY"),
                                      QStringLiteral("L.LA PAMPA"),
                                      QStringLiteral("F.LA RIOJA"),
                                      QStringLiteral("M.MENDOZA"),
                                      QStringLiteral("N.MISIONES"),
                                      QStringLiteral("Q.NEUQUEN"),
                                      QStringLiteral("R.RIO NEGRO"),
                                      QStringLiteral("A.SALTA"),
                                      QStringLiteral("J.SAN JUAN"),
                                      QStringLiteral("D.SAN LUIS"),
                                      QStringLiteral("Z.SANTA CRUZ"),
                                      QStringLiteral("S.SANTA FE"),
                                      QStringLiteral("G.SANTIAGO DEL ESTERO"),
                                      QStringLiteral("V.TIERRA DEL FUEGO"),
                                      QStringLiteral("T.TUCUMAN")});
            jurisdicciones->setCurrentIndex(0);
        }
    } catch (const std::exception& e) {
        MostrarError(e);
    }
}

void SepararCodigoParentesis(QString& texto, QString& codigo)
{
    if (Vb::Trim(texto).isEmpty()) return;
    const int cierre = texto.indexOf(QLatin1Char(')'));
    // No bracket, or one with no room for a code before it: not an entry of this form.
    if (cierre < 1) return;
    codigo = Vb::Trim(texto.mid(1, cierre - 1));
    texto = Vb::Trim(texto.mid(cierre + 1));
}

bool ValidarTecla(int keyAscii, int tipo, const QString& rechazados)
{
    if (keyAscii == 13 || keyAscii == 8)
        return true;
    if (keyAscii > 0 && rechazados.contains(QChar(keyAscii)))
        return false;
    if (tipo == 2)
        return (keyAscii >= '0' && keyAscii <= '9') || keyAscii == '-';
    return tipo == 1;
}


void CargarComboMedicos(QComboBox* combo, bool prestador)
{
    if (!combo) return;
    try {
        OcultarRelleno(combo);
        combo->clear();
        combo->addItem(QString());
        clsConfig& cfg = Configuracion();
        if ((prestador && OperacionActual == 5) || (!prestador && OperacionActual == 19)) {
            if (const auto prestadores = cfg.Prestadores())
                for (const auto& p : *prestadores)
                    combo->addItem(p->Nombre + kRelleno + Vb::Str(p->codigoOSDE));
        } else if (const auto medicos = cfg.Medicos()) {
            for (const auto& m : *medicos) combo->addItem(TextoItemMedico(*m));
        }
        combo->setCurrentIndex(-1);
    } catch (const std::exception& e) {
        MostrarError(e);
    }
}

QString TextoItemMedico(const clsMedico& medico)
{
    return medico.ApellidoNombre + kRelleno + medico.Matricula + QStringLiteral("   ") + medico.TipoMatricula;
}

void CargarComboEfectores(QComboBox* combo, const QString& seleccion)
{
    if (!combo) return;
    try {
        combo->clear();
        if (const auto efectores = Configuracion().Efectores())
            for (const auto& e : *efectores) combo->addItem(e->Nombre, QVariant(int(e->idEfector)));
        // A list shows its first item as soon as it has one: with a provider named, no effector is
        // chosen for the user.
        combo->setCurrentIndex(seleccion.isEmpty() && combo->count() > 0 ? 0 : -1);
    } catch (const std::exception& e) {
        MostrarError(e);
    }
}

void CargarComboTipoInstitucion(QComboBox* combo)
{
    if (!combo) return;
    OcultarRelleno(combo);
    combo->addItem(QStringLiteral("Consultorio") + kRelleno + QStringLiteral("C"));
    combo->addItem(QStringLiteral("Inst. ambulatorio") + kRelleno + QStringLiteral("IA"));
    combo->addItem(QStringLiteral("Inst. con internación") + kRelleno + QStringLiteral("I"));
    combo->addItem(QStringLiteral("Inst. internación breve") + kRelleno + QStringLiteral("II"));
    combo->setCurrentIndex(0);
}

void CargarComboTipoEgreso(QComboBox* combo, bool internacion, qint16 operacion, qint16 tipoPrestador)
{
    if (!combo) return;
    try {
        OcultarRelleno(combo);
        // Text and code; the admission's first entry is left out of a discharge.
        QStringList tipos;
        if (internacion) {
            if (operacion != 12) tipos << QStringLiteral("Tratamiento sin finalizar|0");
            tipos << QStringLiteral("Egreso/Alta médica definitiva|1") << QStringLiteral("Internación domiciliaria|2")
                  << QStringLiteral("Alta voluntaria paciente/tutor|3") << QStringLiteral("Obito|4")
                  << QStringLiteral("Derivación a otro Sanatorio|5")
                  << QStringLiteral("Derivación a Centro de Rehabilitación|6");
        } else {
            tipos << QStringLiteral("Tratamiento sin finalizar|0") << QStringLiteral("Alta|1");
            if (tipoPrestador != 5)
                tipos << QStringLiteral("Abandono|4") << QStringLiteral("Entrevista Padres|8")
                      << QStringLiteral("Anula órden|9");
        }
        for (const QString& t : tipos) combo->addItem(t.section(QLatin1Char('|'), 0, 0) + kRelleno + t.section(QLatin1Char('|'), 1));
        if (combo->count() > 0) combo->setCurrentIndex(0);
    } catch (const std::exception& e) {
        MostrarError(e);
    }
}

void SepararDatosPrescriptor(const QString& texto, QString& nombre, QString& matricula, QString& tipo,
                             QString& jurisdiccion)
{
    QString s = Vb::Trim(texto);
    if (s.isEmpty()) return;
    tipo = s.right(1);
    s.chop(1);
    if (s.isEmpty()) return;
    jurisdiccion = s.right(1);
    s.chop(qMin(4, int(s.size())));
    if (s.isEmpty()) return;
    matricula = Vb::Trim(Vb::Right(s, 100));
    s.chop(qMin(100, int(s.size())));
    if (s.isEmpty()) return;
    nombre = Vb::Trim(s);
}

void SepararNombreCodigo(const QString& texto, QString& nombre, QString& codigo)
{
    QString s = Vb::Trim(texto);
    if (s.isEmpty()) return;
    codigo = Vb::Trim(Vb::Right(s, 20));
    s = Vb::Trim(s.left(qMax(0, int(s.size()) - 20)));
    if (!s.isEmpty()) nombre = s;
}

void SepararPorPunto(const QString& texto, QString& parte1, QString& parte2)
{
    const int punto = texto.indexOf(QLatin1Char('.'));
    if (punto < 0) return;
    parte1 = Vb::Trim(texto.left(punto));
    parte2 = texto.mid(punto + 1);
}

}
