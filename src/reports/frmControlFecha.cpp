#include "reports/frmControlFecha.h"

#include "engine/General.h"
#include "platform/ChequeosAlSalir.h"
#include "platform/Database.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "reports/modPurga.h"
#include "platform/ReglasEntrada.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace {
QPointer<frmControlFecha> g_instancia;

template <typename W>
W* Control(W* w, const char* nombre)
{
    w->setObjectName(QString::fromLatin1(nombre));
    return w;
}
}

frmControlFecha::frmControlFecha(const QString& codigoEmpresa, QWidget* parent)
    : QDialog(parent), m_codigoEmpresa(Vb::Trim(codigoEmpresa))
{
    setObjectName(QStringLiteral("frmControlFecha"));
    cmdOK = Control(new QPushButton(QStringLiteral("Ok"), this), "cmdOK");
    cmdNo = Control(new QPushButton(QStringLiteral("No"), this), "cmdNo");
    cmdSi = Control(new QPushButton(QStringLiteral("Si"), this), "cmdSi");
    for (QPushButton* b : {cmdOK, cmdNo, cmdSi}) b->setAutoDefault(false);
    txtFechaActual = Control(new QLineEdit(this), "txtFechaActual");
    Label3 = Control(new QLabel(QStringLiteral("Para mentener la base de datos, se borrarán las transacciones "
                                               "realizadas tres meses antes de la fecha indicada."),
                                this),
                     "Label3");
    Label3->setWordWrap(true);
    Label2 = Control(new QLabel(QStringLiteral("Ingrese la fecha correcta (dd/mm/aaaa)"), this), "Label2");
    Label1 = Control(new QLabel(QStringLiteral("La fecha actual es"), this), "Label1");

    auto* grilla = new QGridLayout(this);
    grilla->addWidget(Label3, 0, 0, 1, 3);
    grilla->addWidget(Label1, 1, 0, 1, 3);
    grilla->addWidget(Label2, 2, 0, 1, 2);
    grilla->addWidget(txtFechaActual, 2, 2);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdSi);
    botones->addWidget(cmdNo);
    botones->addWidget(cmdOK);
    grilla->addLayout(botones, 3, 0, 1, 3);
    setFixedWidth(420);

    // A press on "Ok" runs this check first, as on the way to any other control.
    (new ChequeosAlSalir(this))->Agregar(txtFechaActual, [this] { txtFechaActual_LostFocus(); });
    connect(cmdOK, &QPushButton::clicked, this, &frmControlFecha::cmdOK_Click);
    connect(cmdNo, &QPushButton::clicked, this, &frmControlFecha::cmdNo_Click);
    connect(cmdSi, &QPushButton::clicked, this, &frmControlFecha::cmdSi_Click);
    ReglasEntrada::PrepararVentana(this);
}

frmControlFecha* frmControlFecha::Mostrar(const QString& codigoEmpresa, QWidget* parent)
{
    if (g_instancia) g_instancia->close();
    auto* f = new frmControlFecha(codigoEmpresa, parent);
    f->setAttribute(Qt::WA_DeleteOnClose);
    g_instancia = f;
    f->Form_Load();
    f->setModal(false);
    f->show();
    return f;
}

void frmControlFecha::Form_Load()
{
    Label2->hide();
    txtFechaActual->hide();
    cmdOK->hide();
    setWindowTitle(QStringLiteral("Mantenimiento de la base de datos"));
    Label1->setText(QStringLiteral("La fecha actual es correcta ") +
                    Platform::Now().date().toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral(" ?"));
    AjustarAlto();
}

void frmControlFecha::AjustarAlto()
{
    QLayout* capa = layout();
    capa->activate();
    const int alto = capa->hasHeightForWidth() ? capa->totalHeightForWidth(width()) : capa->totalSizeHint().height();
    setMinimumHeight(alto);
    resize(width(), alto);
}

void frmControlFecha::cmdSi_Click()
{
    PurgarTransacciones(Platform::Now());
    close();
}

void frmControlFecha::cmdNo_Click()
{
    cmdSi->setEnabled(false);
    Label2->show();
    txtFechaActual->show();
    cmdOK->show();
    AjustarAlto();
    txtFechaActual->setFocus();
}

bool frmControlFecha::txtFechaActual_LostFocus()
{
    if (Vb::ParseDate(Vb::Trim(txtFechaActual->text())).isValid()) return true;
    Dialogs::MsgBox(QStringLiteral("Fecha inválida"), Vbc::vbInformation, Dialogs::kAppTitle);
    txtFechaActual->setFocus();
    txtFechaActual->selectAll();
    return false;
}

void frmControlFecha::cmdOK_Click()
{
    if (!txtFechaActual_LostFocus()) return;
    const QDate fecha = Vb::ParseDate(Vb::Trim(txtFechaActual->text()));
    // A date after today is most often a typo that would delete the whole log: asked first. A
    // date up to today is the correction of a clock that runs ahead and goes as it stands.
    if (!PurgarTransacciones(QDateTime(fecha, QTime(0, 0)), fecha > Platform::Now().date())) {
        txtFechaActual->setFocus();
        txtFechaActual->selectAll();
        return;
    }
    close();
}

bool frmControlFecha::PurgarTransacciones(const QDateTime& fecha, bool preguntar)
{
    try {
        if (!General::ConexionBD || !General::ConexionBD->IsOpen())
            throw VbError(91, objectName(), QStringLiteral("Sin conexión a la base de datos"));
        const QString corte = modPurga::FechaCorte(fecha.date());
        if (preguntar) {
            const int respuesta = Dialogs::MsgBox(
                modPurga::Pregunta(modPurga::Contar(*General::ConexionBD, corte, m_codigoEmpresa), m_codigoEmpresa, corte),
                Vbc::vbYesNo | Vbc::vbQuestion | Vbc::vbDefaultButton2, Dialogs::kAppTitle);
            if (respuesta != Vbc::vbYes) return false;
        }
        modPurga::Purgar(*General::ConexionBD, corte, m_codigoEmpresa);
    } catch (const std::exception&) {
        Dialogs::MsgBox(QStringLiteral("No se pudo realizar limpieza de la base de datos"), Vbc::vbInformation,
                        QStringLiteral("Error de manteniento"));
    }
    return true;
}
