#include "shell/frmObraSocial.h"

#include "config/GeneralCombos.h"
#include "config/GeneralObrasSociales.h"
#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsObraSocial.h"
#include "engine/General.h"
#include "entry/EstadoEmuladorPOS.h"
#include "platform/VbError.h"
#include "platform/Dialogs.h"
#include "shell/VentanaPrincipalObraSocial.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

void mostrarError(const std::exception& e) { Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle); }

clsConfig& configuracion()
{
    if (!General::gConfig)
        throw VbError(91, QStringLiteral("frmObraSocial"), QStringLiteral("No hay configuración cargada"));
    return *General::gConfig;
}

}

frmObraSocial::frmObraSocial(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmObraSocial"));
    setWindowTitle(QStringLiteral("Obras Sociales"));
    lblObraSocial = new QLabel(QStringLiteral("Actividad y Obra Social Seleccionada"), this);
    lblObraSocial->setObjectName(QStringLiteral("lblObraSocial"));
    lblObraSocial->setWordWrap(true);
    txtObraSocialSeleccionada = new QLineEdit(this);
    txtObraSocialSeleccionada->setObjectName(QStringLiteral("txtObraSocialSeleccionada"));
    txtObraSocialSeleccionada->setReadOnly(true);
    lblObraSocial->setBuddy(txtObraSocialSeleccionada);
    lblEmpresa = new QLabel(this);
    lblEmpresa->setObjectName(QStringLiteral("lblEmpresa"));
    lstObraSocial = new QListWidget(this);
    lstObraSocial->setObjectName(QStringLiteral("lstObraSocial"));

    auto* capa = new QVBoxLayout(this);
    capa->addWidget(lblObraSocial);
    capa->addWidget(txtObraSocialSeleccionada);
    capa->addWidget(lblEmpresa);
    capa->addWidget(lstObraSocial, 1);

    // On the selection, not the current row: a mouse press makes the line current before it
    // selects it, and the arrow keys do both; either way the line is chosen once it is selected.
    connect(lstObraSocial, &QListWidget::itemSelectionChanged, this, [this] {
        if (!LineaSeleccionada().isEmpty()) lstObraSocial_Click();
    });
}

QString frmObraSocial::Linea(qint16 actividad, const QString& nombre)
{
    return QStringLiteral("(") + QString::number(actividad) + QStringLiteral(") ") + nombre;
}

bool frmObraSocial::Omitida(const QString& nombre)
{
    const QString n = nombre.toUpper();
    return n == QLatin1String("JWK") || n == QLatin1String("OSDE") || n == QLatin1String("OSDE NACIONAL");
}

QStringList frmObraSocial::FormulariosDeObraSocial()
{
    // The capture and the prescription would otherwise go on under the insurer chosen before.
    return {QStringLiteral("frmEmuladorPOS"), QStringLiteral("frmCierres"), QStringLiteral("frmInicio"),
            QStringLiteral("frmOSGenerica"), QStringLiteral("frmVademecum")};
}

QString frmObraSocial::LineaSeleccionada() const
{
    const QListWidgetItem* item = lstObraSocial->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void frmObraSocial::HabilitarSeleccion(bool habilitar) { lstObraSocial->setEnabled(habilitar); }

void frmObraSocial::RefrescarLista()
{
    try {
        int elegida = -1;
        {
            const QSignalBlocker bloqueo(lstObraSocial);
            lstObraSocial->clear();
            clsConfig& cfg = configuracion();
            if (const auto obras = cfg.ObrasSociales())
                for (const auto& os : *obras)
                    if (!Omitida(os->Nombre)) lstObraSocial->addItem(Linea(os->Actividad, os->Nombre));
            if (!cfg.DefaultOS().isEmpty()) {
                const QString buscada = QStringLiteral("(") + cfg.DefaultActividad() + QStringLiteral(") ") + cfg.DefaultOS();
                for (int i = 0; i < lstObraSocial->count() && elegida < 0; ++i)
                    if (lstObraSocial->item(i)->text() == buscada) elegida = i;
                if (elegida >= 0) lstObraSocial->setCurrentRow(elegida);
            }
        }
        if (elegida >= 0) lstObraSocial_Click();
    } catch (const std::exception& e) {
        mostrarError(e);
    }
}

void frmObraSocial::lstObraSocial_Click()
{
    try {
        const QString linea = LineaSeleccionada();
        if (linea.isEmpty()) return;
        QString nombre = linea;
        QString actividad;
        General::SepararCodigoParentesis(nombre, actividad);
        txtObraSocialSeleccionada->setText(linea);
        EstadoEmuladorPOS::Instancia().NombreObraSocial = nombre;
        if (const auto os = General::BuscarObraSocial(nombre, actividad)) {
            General::ObraSocialOnLine = os->OnLine;
            General::ObraSocialUtilizaCSC = os->BitMap ? os->UtilizaCSC : false;
            lblEmpresa->setText(QString::number(os->Empresa));
        }
        if (Principal) Principal->ActualizarTituloPrincipal();
        // A default that cannot be stored must not leave open windows addressed to the old insurer.
        try {
            clsConfig& cfg = configuracion();
            cfg.setDefaultOS(nombre);
            cfg.setDefaultActividad(actividad);
            cfg.UpdateOS();
        } catch (const std::exception& e) {
            mostrarError(e);
        }
        if (Principal) {
            Principal->HabilitarSoloEnLinea(General::ObraSocialOnLine);
            for (const QString& f : FormulariosDeObraSocial()) Principal->DescargarFormulario(f);
        }
    } catch (const std::exception& e) {
        mostrarError(e);
    }
}
