#include "entry/frmHistoriaClinica.h"

#include "entry/ComboBloqueable.h"
#include "entry/VendraComboCardApi.h"
#include "platform/Dialogs.h"
#include "platform/Twips.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "platform/ReglasEntrada.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <exception>

namespace {

const QString kTituloGrabar = QStringLiteral("Grabar tarjeta");

QList<QRadioButton*> opciones(QGroupBox* marco, const QString& nombre, QWidget* owner)
{
    QList<QRadioButton*> lista;
    auto* grupo = new QButtonGroup(owner);
    for (const QString& texto : {QStringLiteral("No"), QStringLiteral("Si")}) {
        auto* o = new QRadioButton(texto, marco);
        o->setObjectName(nombre);
        o->setProperty("Index", lista.size());
        grupo->addButton(o, lista.size());
        lista.append(o);
    }
    return lista;
}


}

frmHistoriaClinica::frmHistoriaClinica(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmHistoriaClinica"));
    setWindowTitle(QStringLiteral("Historia Clínica"));

    lblGrupoSanguineo = new QLabel(QStringLiteral("Grupo sanguíneo:"), this);
    lblGrupoSanguineo->setObjectName(QStringLiteral("lblGrupoSanguineo"));
    cboGrupoSanguineo = new ComboBloqueable(this);
    cboGrupoSanguineo->setObjectName(QStringLiteral("cboGrupoSanguineo"));
    for (const char* g : {"O-", "O+", "A-", "A+", "B-", "B+", "AB-", "AB+"})
        cboGrupoSanguineo->addItem(QString::fromLatin1(g), 0);
    cboGrupoSanguineo->setCurrentIndex(-1);
    lblGrupoSanguineo->setBuddy(cboGrupoSanguineo);

    fraAlergia = new QGroupBox(QStringLiteral("Alérgico"), this);
    fraAlergia->setObjectName(QStringLiteral("fraAlergia"));
    optAlergia = opciones(fraAlergia, QStringLiteral("optAlergia"), this);
    txtAlergia = new QLineEdit(fraAlergia);
    txtAlergia->setObjectName(QStringLiteral("txtAlergia"));
    // The box has no label of its own: say what goes in it.
    txtAlergia->setPlaceholderText(QStringLiteral("Motivo de la alergia"));
    auto* capaAlergia = new QGridLayout(fraAlergia);
    capaAlergia->addWidget(optAlergia[0], 0, 0);
    capaAlergia->addWidget(optAlergia[1], 0, 1);
    capaAlergia->setColumnStretch(2, 1);
    capaAlergia->addWidget(txtAlergia, 1, 0, 1, 3);

    fraDiabetes = new QGroupBox(QStringLiteral("Diabético"), this);
    fraDiabetes->setObjectName(QStringLiteral("fraDiabetes"));
    optDiabetes = opciones(fraDiabetes, QStringLiteral("optDiabetes"), this);
    auto* capaDiabetes = new QHBoxLayout(fraDiabetes);
    capaDiabetes->addWidget(optDiabetes[0]);
    capaDiabetes->addWidget(optDiabetes[1]);
    capaDiabetes->addStretch();

    lblTelefono = new QLabel(QStringLiteral("Teléfono emergencia (completo y sin espacios)"), this);
    lblTelefono->setObjectName(QStringLiteral("lblTelefono"));
    lblTelefono->setWordWrap(true);
    txtTelefono = new QLineEdit(this);
    txtTelefono->setObjectName(QStringLiteral("txtTelefono"));
    lblTelefono->setBuddy(txtTelefono);
    lblOtros = new QLabel(QStringLiteral("Otros"), this);
    lblOtros->setObjectName(QStringLiteral("lblOtros"));
    txtOtros = new QPlainTextEdit(this);
    txtOtros->setObjectName(QStringLiteral("txtOtros"));
    txtOtros->setTabChangesFocus(true);
    lblOtros->setBuddy(txtOtros);

    cmdLeer = new QPushButton(QStringLiteral("Leer tarjeta"), this);
    cmdLeer->setObjectName(QStringLiteral("cmdLeer"));
    cmdGrabar = new QPushButton(QStringLiteral("Grabar en tarjeta"), this);
    cmdGrabar->setObjectName(QStringLiteral("cmdGrabar"));
    // The reader has no write command: offering the button would promise a write that never happens.
    cmdGrabar->setEnabled(false);
    cmdCerrar = new QPushButton(QStringLiteral("Cerrar"), this);
    cmdCerrar->setObjectName(QStringLiteral("cmdCerrar"));

    auto* botones = new QHBoxLayout;
    botones->addWidget(cmdLeer);
    botones->addWidget(cmdGrabar);
    botones->addWidget(cmdCerrar);
    auto* capa = new QVBoxLayout(this);
    capa->addWidget(lblGrupoSanguineo);
    capa->addWidget(cboGrupoSanguineo);
    capa->addWidget(fraAlergia);
    capa->addWidget(fraDiabetes);
    capa->addWidget(lblTelefono);
    capa->addWidget(txtTelefono);
    capa->addWidget(lblOtros);
    capa->addWidget(txtOtros, 1);
    capa->addLayout(botones);

    for (int i = 0; i < optAlergia.size(); ++i)
        connect(optAlergia[i], &QRadioButton::toggled, this, [this, i](bool marcado) {
            if (marcado) optAlergia_Click(i);
        });
    connect(cmdLeer, &QPushButton::clicked, this, &frmHistoriaClinica::cmdLeer_Click);
    connect(cmdGrabar, &QPushButton::clicked, this, &frmHistoriaClinica::cmdGrabar_Click);
    connect(cmdCerrar, &QPushButton::clicked, this, &frmHistoriaClinica::cmdCerrar_Click);
    ReglasEntrada::PrepararVentana(this);
}

QRect frmHistoriaClinica::GeometriaCarga() { return QRect(0, 10, 5055, 8100); }

bool frmHistoriaClinica::HistoriaVacia(const QString& texto)
{
    for (const QChar c : texto)
        if (c != QChar(0) && c != QLatin1Char(' ')) return false;
    return true;
}

QWidget* frmHistoriaClinica::marco()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) return sub;
    return this;
}

void frmHistoriaClinica::Form_Load()
{
    bModifico = false;
    marco()->setGeometry(Twips::APixeles(GeometriaCarga()));
    HabilitarControles(false);
    txtAlergia->setEnabled(false);
}

void frmHistoriaClinica::HabilitarControles(bool habilitar)
{
    cboGrupoSanguineo->setEnabled(habilitar);
    cboGrupoSanguineo->setBloqueado(!habilitar);
    for (QRadioButton* o : optAlergia) o->setEnabled(habilitar);
    txtTelefono->setEnabled(habilitar);
    txtTelefono->setReadOnly(!habilitar);
    for (QRadioButton* o : optDiabetes) o->setEnabled(habilitar);
    txtOtros->setEnabled(habilitar);
    txtOtros->setReadOnly(!habilitar);
}

bool frmHistoriaClinica::ValidarDatos()
{
    if (optAlergia[1]->isChecked() && Vb::Trim(txtAlergia->text()).isEmpty()) {
        Dialogs::MsgBox(QStringLiteral("Debe cargar el motivo de la alergia"), Vbc::vbInformation,
                        QStringLiteral("Aviso"));
        return false;
    }
    return true;
}

void frmHistoriaClinica::CargarHistoria(const QString&)
{
    // The layout of the history on the card is not known: the controls are left as they are.
}

void frmHistoriaClinica::cmdLeer_Click()
{
    using VendraComboCardApi::EstadoLector;
    try {
        if (!ExisteTarjeta()) {
            Dialogs::MsgBox(QStringLiteral("Debe ingresar la tarjeta en el lector"), Vbc::vbInformation);
            return;
        }
        QString texto;
        // A read that did not happen must not pass for an empty card: the controls stay as they were.
        switch (VendraComboCardApi::LeerHistoriaClinicaTarjeta(texto)) {
        case EstadoLector::Correcto: break;
        case EstadoLector::SinLector:
            Dialogs::MsgBox(QStringLiteral("No se encontró el lector de tarjetas."), Vbc::vbInformation);
            return;
        case EstadoLector::NoAbierto:
        case EstadoLector::FalloIntercambio:
            Dialogs::MsgBox(QStringLiteral("No se pudo leer la tarjeta del afiliado."), Vbc::vbCritical);
            return;
        }
        HabilitarControles(true);
        if (!HistoriaVacia(texto)) {
            CargarHistoria(texto);
            return;
        }
        Dialogs::MsgBox(QStringLiteral("La tarjeta no contiene historial clínico"), Vbc::vbInformation);
        cboGrupoSanguineo->setCurrentIndex(0);
        optAlergia[0]->setChecked(true);
        txtAlergia->setEnabled(false);
        optDiabetes[0]->setChecked(true);
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical);
    }
}

void frmHistoriaClinica::optAlergia_Click(int)
{
    if (optAlergia[1]->isChecked()) {
        txtAlergia->setEnabled(true);
        return;
    }
    txtAlergia->clear();
    txtAlergia->setEnabled(false);
}

void frmHistoriaClinica::cmdGrabar_Click()
{
    try {
        if (!ValidarDatos()) return;
        if (Dialogs::MsgBox(QStringLiteral("Esta acción modifica los datos de la tarjeta, está seguro que desea "
                                           "continuar?"),
                            Vbc::vbYesNo, kTituloGrabar)
            != Vbc::vbYes)
            return;
        // The reader has no write command: say so rather than report a write that never happened.
        Dialogs::MsgBox(QStringLiteral("La tarjeta no fue grabada: el lector no permite escribir."), Vbc::vbCritical,
                        kTituloGrabar);
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical);
    }
}

void frmHistoriaClinica::cmdCerrar_Click()
{
    try {
        if (bModifico
            && Dialogs::MsgBox(QStringLiteral("Perderá los cambios realizados en la historia clínica. Seguro que "
                                              "desea salir?"),
                               Vbc::vbYesNo, QStringLiteral("Atención"))
                   != Vbc::vbYes)
            return;
        marco()->close();
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical);
    }
}
