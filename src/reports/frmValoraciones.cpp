#include "reports/frmValoraciones.h"

#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsObraSocial.h"
#include "config/clsPrestacion.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/VbError.h"
#include "reports/modValoraciones.h"
#include "platform/ReglasEntrada.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
template <typename W>
W* Control(W* w, const char* nombre)
{
    w->setObjectName(QString::fromLatin1(nombre));
    return w;
}
}

frmValoraciones::frmValoraciones(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmValoraciones"));
    setWindowTitle(QStringLiteral("Valoraciones"));
    txtFechaHasta = Control(new QLineEdit(this), "txtFechaHasta");
    txtFechaDesde = Control(new QLineEdit(this), "txtFechaDesde");
    cmdCancelar = Control(new QPushButton(QStringLiteral("Cancelar"), this), "cmdCancelar");
    cmdCancelar->setAutoDefault(false);
    cmdAceptar = Control(new QPushButton(QStringLiteral("Aceptar"), this), "cmdAceptar");
    cmdAceptar->setAutoDefault(false);
    cboObraSocial = Control(new QComboBox(this), "cboObraSocial");
    cboObraSocial->setEditable(false);
    // The items carry their code after 100 blanks; the list shows only as wide as the names.
    cboObraSocial->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboObraSocial->setMinimumContentsLength(30);
    lblPath = Control(new QLabel(this), "lblPath");
    lblPath->setWordWrap(true);
    Label4 = Control(new QLabel(QStringLiteral("Fecha Hasta  (DD/MM/AAAA)"), this), "Label4");
    Label1 = Control(new QLabel(QStringLiteral("Fecha Desde  (DD/MM/AAAA)"), this), "Label1");
    lblOS = Control(new QLabel(QStringLiteral("Obra Social"), this), "lblOS");

    auto* grilla = new QGridLayout(this);
    grilla->addWidget(lblOS, 0, 0);
    grilla->addWidget(cboObraSocial, 0, 1);
    grilla->addWidget(Label1, 1, 0);
    grilla->addWidget(txtFechaDesde, 1, 1);
    grilla->addWidget(Label4, 2, 0);
    grilla->addWidget(txtFechaHasta, 2, 1);
    grilla->addWidget(lblPath, 3, 0, 1, 2);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdAceptar);
    botones->addWidget(cmdCancelar);
    grilla->addLayout(botones, 4, 0, 1, 2);

    connect(cmdAceptar, &QPushButton::clicked, this, &frmValoraciones::cmdAceptar_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmValoraciones::cmdCancelar_Click);
    ReglasEntrada::PrepararVentana(this);
}

void frmValoraciones::Mostrar(QWidget* parent)
{
    frmValoraciones form(parent);
    form.Form_Load();
    Dialogs::ExecModal(&form);
}

void frmValoraciones::Form_Load()
{
    try {
        cboObraSocial->clear();
        cboObraSocial->addItem(modValoraciones::ItemTodas());
        if (!General::gConfig || !General::gConfig->ObrasSociales())
            throw VbError(91, objectName(), QStringLiteral("No hay configuración cargada"));
        const auto& lista = *General::gConfig->ObrasSociales();
        for (int i = 1; i <= lista.Count(); ++i) {
            const auto& os = lista(i);
            if (modValoraciones::Ofrecida(os->Nombre))
                cboObraSocial->addItem(modValoraciones::ItemObraSocial(os->Nombre, os->Empresa));
        }
    } catch (const std::exception&) {
        Dialogs::MsgBox(QStringLiteral("Se produjo un error"), Vbc::vbCritical);
    }
    cboObraSocial->setCurrentIndex(-1);
}

void frmValoraciones::cmdAceptar_Click()
{
    try {
        const QString texto = clsPrestacion().BuscarValoracion(modValoraciones::CodigoElegido(cboObraSocial->currentText()));
        if (texto.isEmpty()) {
            Dialogs::MsgBox(QStringLiteral("No hay datos para generar el reporte"));
            return;
        }
        const QString ruta = modValoraciones::ArchivoReporte(Platform::Now().date());
        modValoraciones::EscribirReporte(ruta, texto);
        Dialogs::MsgBox(QStringLiteral("Reporte Generado Satisfactoriamente en ") + ruta);
        lblPath->setText(ruta);
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical);
    }
}

void frmValoraciones::cmdCancelar_Click() { reject(); }
