#include "shell/frmToolList.h"

#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsOperacion.h"
#include "engine/General.h"
#include "platform/VbError.h"
#include "platform/Dialogs.h"
#include "platform/Twips.h"
#include "shell/ManejadorOperaciones.h"

#include <QGroupBox>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

using namespace BarraOperaciones;

namespace {

constexpr int kAnchoBoton = 1095;
constexpr int kTopMedicamento = 240;

struct DisenoMarco {
    const char* nombre;
    const char* titulo;
    int left;
    int ancho;
    int izquierdaBotones;
};
const DisenoMarco kMarcos[kGrupos] = {
    {"fraVerificar", "Verificar", 30, 1230, 75},      {"fraInformar", "Informar", 30, 1230, 75},
    {"fraInternacion", "Internación", 0, 1230, 60},   {"fraOdontologia", "Odontología", 30, 1215, 60},
    {"fraCierre", "Cierres", 30, 1215, 60},           {"fraMedicamento", "Medicamento", 30, 1215, 60},
};
const char* const kArreglos[] = {"cmdVerificar", "cmdInformar", "cmdInternacion", "cmdOdontologia", "cmdCierre"};

// The captions are longer than a button is wide: they break between words and, where three
// lines would not fit, take a smaller type, as the bar was designed; the button keeps its
// caption as its text.
class BotonEnvuelto : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter p(this);
        QStyleOptionButton opcion;
        initStyleOption(&opcion);
        opcion.text.clear();
        p.drawControl(QStyle::CE_PushButton, opcion);
        const QRect area = rect().adjusted(2, 1, -2, -1);
        const int banderas = Qt::AlignCenter | Qt::TextWordWrap;
        QFont letra = font();
        for (qreal puntos = letra.pointSizeF(); puntos > 5.5; puntos -= 0.5) {
            letra.setPointSizeF(puntos);
            const QRect ocupa = QFontMetrics(letra).boundingRect(area, banderas, text());
            if (ocupa.height() <= area.height() && ocupa.width() <= area.width()) break;
        }
        p.setFont(letra);
        p.setPen(palette().color(isEnabled() ? QPalette::Normal : QPalette::Disabled, QPalette::ButtonText));
        p.drawText(area, banderas, text());
    }
};

int px(int twips) { return Twips::APixeles(twips); }
int tw(int pixeles) { return pixeles * Twips::kPorPixel; }

}

frmToolList::frmToolList(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmToolList"));
    setWindowTitle(QStringLiteral("Operaciones"));
    QGroupBox** marcos[kGrupos] = {&fraVerificar, &fraInformar, &fraInternacion, &fraOdontologia, &fraCierre,
                                   &fraMedicamento};
    for (int g = 0; g < kGrupos; ++g) {
        *marcos[g] = new QGroupBox(QString::fromUtf8(kMarcos[g].titulo), this);
        (*marcos[g])->setObjectName(QLatin1String(kMarcos[g].nombre));
    }
    for (const Boton& b : Botones()) {
        auto* boton = new BotonEnvuelto(QString::fromUtf8(b.titulo), Marcos()[b.grupo]);
        const DisenoMarco& diseno = kMarcos[b.grupo];
        if (b.grupo == Medicamento) {
            boton->setObjectName(QStringLiteral("cmdMedicamento"));
            boton->setGeometry(px(diseno.izquierdaBotones), px(kTopMedicamento), px(kAnchoBoton), px(b.alto));
            cmdMedicamento = boton;
            connect(boton, &QPushButton::clicked, this, &frmToolList::cmdMedicamento_Click);
            continue;
        }
        boton->setObjectName(QLatin1String(kArreglos[b.grupo]));
        boton->setProperty("Index", b.indice);
        boton->setGeometry(px(diseno.izquierdaBotones), 0, px(kAnchoBoton), px(b.alto));
        Arreglo(b.grupo).append(boton);
        const Grupo grupo = b.grupo;
        const int indice = b.indice;
        connect(boton, &QPushButton::clicked, this, [this, grupo, indice] {
            switch (grupo) {
            case Verificar: cmdVerificar_Click(indice); break;
            case Informar: cmdInformar_Click(indice); break;
            case Internacion: cmdInternacion_Click(indice); break;
            case Odontologia: cmdOdontologia_Click(indice); break;
            default: cmdCierre_Click(indice); break;
            }
        });
    }
    for (int g = 0; g < kGrupos; ++g)
        Marcos()[g]->setGeometry(px(kMarcos[g].left), g == Verificar ? px(60) : 0, px(kMarcos[g].ancho), 0);
    resize(px(kAncho), height());
    Reordenar();
}

QList<QPushButton*>& frmToolList::Arreglo(Grupo grupo)
{
    switch (grupo) {
    case Verificar: return cmdVerificar;
    case Informar: return cmdInformar;
    case Internacion: return cmdInternacion;
    case Odontologia: return cmdOdontologia;
    default: return cmdCierre;
    }
}

QList<QGroupBox*> frmToolList::Marcos() const
{
    return {fraVerificar, fraInformar, fraInternacion, fraOdontologia, fraCierre, fraMedicamento};
}

QPushButton* frmToolList::BotonDe(Grupo grupo, int indice) const
{
    if (grupo == Medicamento) return indice == 0 ? cmdMedicamento : nullptr;
    const QList<QPushButton*>& arreglo = const_cast<frmToolList*>(this)->Arreglo(grupo);
    return indice >= 0 && indice < arreglo.size() ? arreglo[indice] : nullptr;
}

void frmToolList::HabilitarSoloEnLinea(bool habilitar)
{
    for (const auto& [grupo, indice] : BotonesSoloEnLinea())
        if (QPushButton* b = BotonDe(grupo, indice)) b->setEnabled(habilitar);
}

QWidget* frmToolList::marco()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) return sub;
    return this;
}

void frmToolList::Habilitar_Operaciones()
{
    // A list that cannot be read leaves the buttons as they are; they are laid out all the same.
    try {
        QList<std::pair<QString, qint16>> operaciones;
        if (General::gConfig)
            if (const auto lista = General::gConfig->Operaciones())
                for (const auto& op : *lista)
                    if (op) operaciones.append({op->strIdentificacion, op->intUtiliza});
        QList<bool> visibles;
        for (const Boton& b : Botones()) visibles.append(!BotonDe(b.grupo, b.indice)->isHidden());
        visibles = Visibilidad(operaciones, visibles);
        for (int i = 0; i < Botones().size(); ++i)
            BotonDe(Botones()[i].grupo, Botones()[i].indice)->setHidden(!visibles[i]);
    } catch (const std::exception&) {
    }
    try {
        Reordenar();
    } catch (const std::exception&) {
    }
}

void frmToolList::Reordenar()
{
    Disposicion d;
    for (int g = Verificar; g < Medicamento; ++g) {
        QList<Control> controles;
        for (QPushButton* b : Arreglo(Grupo(g))) controles.append({!b->isHidden(), tw(b->y()), tw(b->height())});
        d.botones.append(controles);
    }
    d.medicamento = {!cmdMedicamento->isHidden(), tw(cmdMedicamento->y()), tw(cmdMedicamento->height())};
    for (QGroupBox* m : Marcos()) d.marcos.append({!m->isHidden(), tw(m->y()), tw(m->height())});

    BarraOperaciones::Reordenar(d);

    for (int g = Verificar; g < Medicamento; ++g) {
        const QList<QPushButton*>& arreglo = Arreglo(Grupo(g));
        for (int i = 0; i < arreglo.size(); ++i)
            if (d.botones[g][i].visible) arreglo[i]->move(arreglo[i]->x(), px(d.botones[g][i].top));
    }
    const QList<QGroupBox*> marcos = Marcos();
    for (int g = 0; g < kGrupos; ++g) {
        marcos[g]->setGeometry(px(kMarcos[g].left), px(d.marcos[g].top), marcos[g]->width(), px(d.marcos[g].alto));
        if (d.marcos[g].visible) marcos[g]->setVisible(true);
    }
    QWidget* ventana = marco();
    const int borde = ventana == this ? 0 : ventana->height() - height();
    ventana->resize(ventana->width(), px(d.alto) + borde);
}

void frmToolList::Llamar(Grupo grupo, int indice)
{
    try {
        const Boton* b = BuscarBoton(grupo, indice);
        if (b && Principal) (Principal->*(b->manejador))();
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle);
    }
}

void frmToolList::cmdVerificar_Click(int Index) { Llamar(Verificar, Index); }
void frmToolList::cmdInformar_Click(int Index) { Llamar(Informar, Index); }
void frmToolList::cmdInternacion_Click(int Index) { Llamar(Internacion, Index); }
void frmToolList::cmdOdontologia_Click(int Index) { Llamar(Odontologia, Index); }
void frmToolList::cmdCierre_Click(int Index) { Llamar(Cierre, Index == 0 ? 0 : 1); }
void frmToolList::cmdMedicamento_Click() { Llamar(Medicamento, 0); }
