#include "shell/frmImpresoras.h"
#include "config/GeneralConfiguracion.h"

#include "config/clsConfig.h"
#include "platform/Dialogs.h"
#include "platform/Printers.h"
#include "platform/Twips.h"
#include "platform/VbError.h"
#include "shell/frmMain.h"
#include "shell/modImpresoras.h"
#include "platform/ReglasEntrada.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

namespace {
constexpr int kTeclaF5 = 116;
QPointer<frmImpresoras> g_ventana;

template <class W>
W* Control(QWidget* padre, const char* nombre)
{
    auto* w = new W(padre);
    w->setObjectName(QString::fromLatin1(nombre));
    return w;
}

bool HayImpresoras()
{
    try {
        return !Printers::Names().isEmpty();
    } catch (const std::exception&) {
        return false;
    }
}
}

frmImpresoras::frmImpresoras(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmImpresoras"));
    setWindowTitle(QStringLiteral("Definir impresora"));
    lblImpresora = Control<QLabel>(this, "lblImpresora");
    lblImpresora->setText(QStringLiteral("Impresora:"));
    lstImpresoras = Control<QListWidget>(this, "lstImpresoras");
    chkImprimir = Control<QCheckBox>(this, "chkImprimir");
    chkImprimir->setText(QStringLiteral("Imprimir Ticket"));
    cmdOK = Control<QPushButton>(this, "cmdOK");
    cmdOK->setText(QStringLiteral("&Aceptar"));
    cmdOK->setToolTip(QStringLiteral("Selecciona el registro marcado"));
    cmdOK->setDefault(true);
    cmdCancel = Control<QPushButton>(this, "cmdCancel");
    cmdCancel->setText(QStringLiteral("&Cancelar"));
    cmdCancel->setToolTip(QStringLiteral("Cancela la búsqueda"));

    const Disposicion d = CalcularDisposicion();
    setFixedSize(Twips::APixeles(d.ventana.size().width()), Twips::APixeles(d.ventana.size().height()));
    lblImpresora->setGeometry(Twips::APixeles(d.lblImpresora));
    lstImpresoras->setGeometry(Twips::APixeles(d.lstImpresoras));
    chkImprimir->setGeometry(Twips::APixeles(d.chkImprimir));
    cmdOK->setGeometry(Twips::APixeles(d.cmdOK));
    cmdCancel->setGeometry(Twips::APixeles(d.cmdCancel));

    lstImpresoras->installEventFilter(this);
    connect(lstImpresoras, &QListWidget::itemClicked, this, [this] { lstImpresoras_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, &frmImpresoras::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmImpresoras::cmdCancel_Click);
    ReglasEntrada::PrepararVentana(this);
}

frmImpresoras::Disposicion frmImpresoras::CalcularDisposicion()
{
    Disposicion d;
    d.ventana = QRect(0, 0, 5175, 3915);
    d.lblImpresora = QRect(120, 120, 2400, 255);
    d.lstImpresoras = QRect(120, 420, 4935, 2340);
    d.chkImprimir = QRect(120, 2880, 2400, 300);
    d.cmdOK = QRect(2340, 3360, 1260, 405);
    d.cmdCancel = QRect(3795, 3360, 1260, 405);
    return d;
}

frmImpresoras* frmImpresoras::Mostrar()
{
    if (g_ventana) {
        g_ventana->raise();
        g_ventana->activateWindow();
        return g_ventana;
    }
    g_ventana = new frmImpresoras(frmMain::Instancia());
    g_ventana->setAttribute(Qt::WA_DeleteOnClose);
    g_ventana->Form_Load();
    g_ventana->show();
    return g_ventana;
}

void frmImpresoras::CargarImpresoras() { modImpresoras::CargarImpresoras(lstImpresoras); }

void frmImpresoras::Form_Load()
{
    try {
        CargarImpresoras();
        chkImprimir->setHidden(lstImpresoras->count() == 0);
        chkImprimir->setChecked(General::gConfig && General::gConfig->Imprimir());
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle);
    }
}

void frmImpresoras::lstImpresoras_KeyDown(int KeyCode)
{
    if (KeyCode != kTeclaF5) return;
    try {
        CargarImpresoras();
        chkImprimir->setHidden(!HayImpresoras());
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle);
    }
}

void frmImpresoras::lstImpresoras_Click()
{
    const QListWidgetItem* item = lstImpresoras->currentItem();
    lstImpresoras->setToolTip(item ? item->text() : QString());
}

void frmImpresoras::cmdOK_Click()
{
    try {
        if (!General::gConfig) throw VbError(91, QStringLiteral("frmImpresoras"),
                                             QStringLiteral("No hay configuración cargada"));
        clsConfig& cfg = *General::gConfig;
        const bool imprimir = chkImprimir->isChecked();
        const QListWidgetItem* item = lstImpresoras->currentItem();
        const QString texto = item ? item->text() : QString();
        if (Printers::Names().isEmpty()) {
            cfg.setImprimir(imprimir);
            Dialogs::MsgBox(QStringLiteral("No existen impresoras configuradas"), Vbc::vbInformation,
                            Dialogs::kAppTitle);
            return;
        }
        const QString elegida = modImpresoras::BuscarImpresora(texto);
        // Only these two values: the lists of gConfig may be older than the tables. The choice
        // is applied once it is stored, so a terminal without its row keeps what it had.
        if (!modImpresoras::GuardarImpresora(cfg.IdTerminal(), imprimir,
                                             elegida.isEmpty() ? cfg.Impresora() : elegida)) {
            Dialogs::MsgBox(TextoSinTerminal(cfg.IdTerminal()), Vbc::vbCritical, Dialogs::kAppTitle);
            return;
        }
        cfg.setImprimir(imprimir);
        if (!modImpresoras::ActivarImpresora(texto).isEmpty()) cfg.setImpresora(elegida);
        close();
    } catch (const std::exception& e) {
        Dialogs::MsgBox(QStringLiteral("Error al intentar guardar la configuración\r\n") + DescripcionError(e),
                        Vbc::vbCritical, Dialogs::kAppTitle);
    }
}

QString frmImpresoras::TextoSinTerminal(qint16 terminal)
{
    return QStringLiteral("No existe la configuración de la terminal %1 en la base de datos.\r\n"
                          "La impresora no se guardó.")
        .arg(terminal);
}

void frmImpresoras::cmdCancel_Click() { close(); }

bool frmImpresoras::eventFilter(QObject* obj, QEvent* ev)
{
    if (obj == lstImpresoras && ev->type() == QEvent::KeyPress) {
        const auto* k = static_cast<QKeyEvent*>(ev);
        if (k->key() == Qt::Key_F5) {
            lstImpresoras_KeyDown(kTeclaF5);
            return true;
        }
    }
    return QDialog::eventFilter(obj, ev);
}
